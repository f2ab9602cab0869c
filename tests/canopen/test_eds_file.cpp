#include "canopen/eds_file.h"
#include "canopen/eds_reader.h"
#include "lang/text_table.h"
#include "test_support.h"

#include <QTemporaryDir>
#include <QTest>

using namespace swz;
using testing_support::readFile;
using testing_support::writeFile;

namespace {

QString dataPath(const QString &name)
{
    return qEnvironmentVariable("SWZ_TEST_DATA") + QStringLiteral("/eds/") + name;
}

EdsClock fixedClock(const QDateTime &moment)
{
    return [moment] { return moment; };
}

QDateTime at(int year, int month, int day, int hour, int minute)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute));
}

// Expected documents are kept with plain line ends in the repository.
QByteArray expectedDocument(const QString &name)
{
    QByteArray text = readFile(dataPath(name));
    return text.replace("\n", "\r\n");
}

QString pdoFile(const QString &receiveRows, const QString &transmitRows)
{
    return QStringLiteral("<PDO_CANopen><Receive_PDO>%1</Receive_PDO><Transmit_PDO>%2"
                          "</Transmit_PDO></PDO_CANopen>\n<!--SW_VERSION = 1.000-->\n")
        .arg(receiveRows, transmitRows);
}

QString sdoRow(const QString &index, const QString &sub, const QString &size)
{
    return QStringLiteral("<row Index=\"%1\" SubIndex=\"%2\" NByte=\"%3\" Address_B1=\"0\" "
                          "Address_B2=\"\" Address_B3=\"\" Address_B4=\"\" Mnemonic=\"\"/>")
        .arg(index, sub, size);
}

QString sdoFile(const QString &readRows, const QString &writeRows)
{
    return QStringLiteral("<SDO_Server_CANopen><SDO_Read>%1</SDO_Read><SDO_Write>%2</SDO_Write>"
                          "</SDO_Server_CANopen>\n")
        .arg(readRows, writeRows);
}

QStringList sectionLines(const QByteArray &text, const QString &name)
{
    const QList<eds_reader::Section> sections = eds_reader::parse(text);
    const eds_reader::Section *section = eds_reader::find(sections, name);
    QStringList lines;
    if (!section)
        return {QStringLiteral("<no section %1>").arg(name)};
    for (const auto &[key, value] : section->keys)
        lines << key + QLatin1Char('=') + value;
    return lines;
}

} // namespace

class TestEdsFile : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void wholeDocuments_data();
    void wholeDocuments();
    void dateAndTime_data();
    void dateAndTime();
    void maximalProjectIsStructurallySound();
    void dataObjectPrefixes_data();
    void dataObjectPrefixes();
    void pdoDefaultsAndTransmitNames();
    void readOrderAndStableSort();
    void nothingSurvivesBetweenCalls();
    void badSectionFilesWriteNothing_data();
    void badSectionFilesWriteNothing();
    void unwritableOutputIsReported();
    void fileNameKeepsNonAsciiCharacters();

private:
    ProjectFiles projectWith(const QString &pdo, const QString &sdo);
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestEdsFile::initTestCase()
{
    uiTexts().loadBuiltin();
}

void TestEdsFile::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
}

ProjectFiles TestEdsFile::projectWith(const QString &pdo, const QString &sdo)
{
    const QString folder = m_dir->filePath(QStringLiteral("Plant"));
    QDir().mkpath(folder);
    const ProjectFiles files = ProjectFiles::of(folder);
    if (!pdo.isNull())
        writeFile(files.pdo, pdo.toUtf8());
    if (!sdo.isNull())
        writeFile(files.sdoServer, sdo.toUtf8());
    return files;
}

void TestEdsFile::wholeDocuments_data()
{
    QTest::addColumn<QString>("project"); // fixture folder; empty: a project without files
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QDateTime>("moment");

    QTest::newRow("empty project, midnight") << QString() << "empty.eds" << at(2026, 3, 7, 0, 5);
    QTest::newRow("one RPDO, noon") << "one_rpdo" << "one_rpdo.eds" << at(2026, 12, 31, 12, 30);
    QTest::newRow("SDO objects, afternoon")
        << "sdo_objects" << "sdo_objects.eds" << at(2026, 1, 2, 13, 7);
}

void TestEdsFile::wholeDocuments()
{
    QFETCH(QString, project);
    QFETCH(QString, expected);
    QFETCH(QDateTime, moment);

    const QString folder = project.isEmpty() ? m_dir->filePath("Empty") : dataPath(project);
    const QString out = m_dir->filePath(expected);
    EdsGenerator generator(ProjectFiles::of(folder), fixedClock(moment));
    QCOMPARE(generator.Write_EDS_File(out), std::nullopt);

    const QByteArray written = readFile(out);
    QCOMPARE(QString::fromLatin1(written), QString::fromLatin1(expectedDocument(expected)));
    QCOMPARE(eds_reader::structuralFaults(written), QStringList());
}

void TestEdsFile::dateAndTime_data()
{
    QTest::addColumn<QDateTime>("moment");
    QTest::addColumn<QString>("time");
    QTest::addColumn<QString>("date");

    QTest::newRow("midnight") << at(2026, 1, 9, 0, 0) << "12:00AM" << "01-09-2026";
    QTest::newRow("one in the night") << at(2026, 1, 9, 1, 2) << "01:02AM" << "01-09-2026";
    QTest::newRow("before noon") << at(2026, 10, 31, 11, 59) << "11:59AM" << "10-31-2026";
    QTest::newRow("noon") << at(2026, 7, 4, 12, 0) << "12:00PM" << "07-04-2026";
    QTest::newRow("after noon") << at(2026, 7, 4, 13, 45) << "01:45PM" << "07-04-2026";
    QTest::newRow("late") << at(2030, 12, 1, 23, 9) << "11:09PM" << "12-01-2030";
}

void TestEdsFile::dateAndTime()
{
    QFETCH(QDateTime, moment);
    QFETCH(QString, time);
    QFETCH(QString, date);

    EdsGenerator generator(ProjectFiles::of(m_dir->filePath("Empty")), fixedClock(moment));
    QByteArray text;
    QCOMPARE(generator.buildText(m_dir->filePath("a.eds"), text), std::nullopt);
    const QStringList info = sectionLines(text, "FileInfo");
    QCOMPARE(info.filter("Time="), QStringList({"CreationTime=" + time, "ModificationTime=" + time}));
    QCOMPARE(info.filter("Date="), QStringList({"CreationDate=" + date, "ModificationDate=" + date}));
}

void TestEdsFile::maximalProjectIsStructurallySound()
{
    // 35 frames per list (only 30 fit the tables), every length, one without Dimension.
    QString receive;
    QString transmit;
    for (int i = 0; i < 35; ++i) {
        const QString dim = i == 4 ? QString() : QStringLiteral(" Dimension=\"%1\"").arg(i % 8 + 1);
        receive += QStringLiteral("<row COB-ID=\"0x%1\"%2/>").arg(0x200 + i, 0, 16).arg(dim);
        transmit += QStringLiteral("<row COB-ID=\"%1\"%2/>").arg(0x180 + i).arg(dim);
    }
    // Many objects, sub-indexes up to 255, duplicates within and across the lists.
    QString reads;
    QString writes;
    for (int i = 0; i < 300; ++i) {
        const int index = 0x2000 + (i * 37) % 0x4000;
        reads += sdoRow(QStringLiteral("0x%1").arg(index, 0, 16), QString::number(i % 256),
                        QString::number(1 << (i % 3)));
        writes += sdoRow(QStringLiteral("0x%1").arg(index, 0, 16), QString::number((i * 7) % 256),
                         "4");
    }
    writes += sdoRow("0x5FFF", "255", "1") + sdoRow("0x5FFF", "255", "2");
    const ProjectFiles files = projectWith(pdoFile(receive, transmit), sdoFile(reads, writes));

    EdsGenerator generator(files, fixedClock(at(2026, 5, 5, 5, 5)));
    QByteArray text;
    QCOMPARE(generator.buildText(m_dir->filePath("max.eds"), text), std::nullopt);
    QCOMPARE(generator.rpdoCount(), 30);
    QCOMPARE(generator.tpdoCount(), 30);
    QCOMPARE(eds_reader::structuralFaults(text), QStringList());

    const QList<eds_reader::Section> sections = eds_reader::parse(text);
    QCOMPARE(eds_reader::find(sections, "OptionalObjects")->value("SupportedObjects"),
             QString("188"));
    QCOMPARE(eds_reader::find(sections, "OptionalObjects")->value("188"), QString("0x706D"));
    QCOMPARE(eds_reader::find(sections, "DeviceInfo")->value("NrOfRXPDO"), QString("30"));
    QVERIFY(!eds_reader::find(sections, "141E")); // the 31st frame is not described
    // The frame without Dimension maps 8 bytes.
    QCOMPARE(eds_reader::find(sections, "1604")->value("SubNumber"), QString("9"));
    QCOMPARE(eds_reader::find(sections, "7054")->value("SubNumber"), QString("9"));
    // Sub-index 255 twice in the write list: one section, the last rule's size.
    QCOMPARE(sectionLines(text, "5FFFsubFF").filter("DataType"), QStringList("DataType=0x0006"));
    QCOMPARE(sectionLines(text, "5FFFsub0").filter("DefaultValue"),
             QStringList("DefaultValue=0xFF"));
}

void TestEdsFile::dataObjectPrefixes_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("name");

    QTest::newRow("RPDO 1") << "7000sub1" << "b1";
    QTest::newRow("RPDO 7") << "7006sub2" << "h2";
    QTest::newRow("RPDO 8 is j") << "7007sub1" << "j1";
    QTest::newRow("RPDO 9 is k") << "7008sub1" << "k1";
    QTest::newRow("RPDO 10 is i") << "7009sub1" << "i1";
    QTest::newRow("RPDO 11") << "700Asub1" << "aa1";
    QTest::newRow("RPDO 19") << "7012sub1" << "ai1";
    QTest::newRow("RPDO 20 skips aj, ak") << "7013sub1" << "al1";
    QTest::newRow("RPDO 30") << "701Dsub8" << "av8";
    QTest::newRow("TPDO 1") << "7050sub1" << "l1";
    QTest::newRow("TPDO 2 byte 3") << "7051sub3" << "m3";
    QTest::newRow("TPDO 10") << "7059sub1" << "u1";
    QTest::newRow("TPDO 11") << "705Asub1" << "ca1";
    QTest::newRow("TPDO 20") << "7063sub1" << "cl1";
    QTest::newRow("TPDO 30") << "706Dsub8" << "cv8";
}

void TestEdsFile::dataObjectPrefixes()
{
    QFETCH(QString, section);
    QFETCH(QString, name);

    QString rows;
    for (int i = 0; i < 30; ++i)
        rows += QStringLiteral("<row COB-ID=\"%1\" Dimension=\"8\"/>").arg(i + 1);
    EdsGenerator generator(projectWith(pdoFile(rows, rows), QString()));
    QByteArray text;
    QCOMPARE(generator.buildText(m_dir->filePath("p.eds"), text), std::nullopt);
    QCOMPARE(sectionLines(text, section).value(0), "ParameterName=" + name);
}

void TestEdsFile::pdoDefaultsAndTransmitNames()
{
    // No Dimension, a COB-ID that is no integer, and a COB-ID with the top bit set.
    const ProjectFiles files = projectWith(
        pdoFile("<row COB-ID=\"abc\" Dimension=\"x\"/>",
                "<row COB-ID=\"0x181\"/><row COB-ID=\"-2147483263\" Dimension=\"1\"/>"),
        QString());
    EdsGenerator generator(files);
    QByteArray text;
    QCOMPARE(generator.buildText(m_dir->filePath("p.eds"), text), std::nullopt);
    QCOMPARE(eds_reader::structuralFaults(text), QStringList());

    QCOMPARE(sectionLines(text, "1400sub1").filter("DefaultValue"),
             QStringList("DefaultValue=0x00000000"));
    QCOMPARE(sectionLines(text, "1600").value(0), QString("SubNumber=9"));
    QCOMPARE(sectionLines(text, "1600sub8").filter("DefaultValue"),
             QStringList("DefaultValue=0x70000808"));
    QCOMPARE(sectionLines(text, "1800"),
             QStringList({"SubNumber=4", "ParameterName=Transmit PDO Communication Parameter 1",
                          "ObjectType=0x09"}));
    QCOMPARE(sectionLines(text, "1801sub1").filter("DefaultValue"),
             QStringList("DefaultValue=0x80000181"));
    QCOMPARE(sectionLines(text, "1A01"),
             QStringList({"SubNumber=2", "ParameterName=Transmit PDO Mapping Parameter 2",
                          "ObjectType=0x09"}));
    QCOMPARE(sectionLines(text, "1A01sub1"),
             QStringList({"ParameterName=Mapping Entry 1", "ObjectType=0x07", "DataType=0x0007",
                          "AccessType=ro", "DefaultValue=0x70510108", "PDOMapping=0"}));
    QCOMPARE(sectionLines(text, "7050"),
             QStringList({"SubNumber=9", "ParameterName=TPDO1", "ObjectType=0x08"}));
    QCOMPARE(sectionLines(text, "7050sub0"),
             QStringList({"ParameterName=Number of Entries", "ObjectType=0x07", "DataType=0x0005",
                          "AccessType=rw", "DefaultValue=0x08", "PDOMapping=0"}));
    QCOMPARE(sectionLines(text, "7051sub1"),
             QStringList({"ParameterName=m1", "ObjectType=0x07", "DataType=0x0005",
                          "AccessType=rwr", "DefaultValue=0x00", "PDOMapping=1"}));

    // Communication objects of both directions, then mapping objects, then data objects.
    QStringList order;
    for (const eds_reader::Section &s : eds_reader::parse(text))
        if (!s.name.contains("sub") && s.name.size() == 4 && s.name >= "1400")
            order << s.name;
    QCOMPARE(order, QStringList({"1400", "1600", "1800", "1801", "1A00", "1A01", "7000", "7050",
                                 "7051"}));
}

void TestEdsFile::readOrderAndStableSort()
{
    // Objects in order of first occurrence, read list first; equal sub-indexes keep their order.
    const ProjectFiles files =
        projectWith(QString(), sdoFile(sdoRow("0x3000", "4", "1") + sdoRow("0x2000", "2", "2"),
                                       sdoRow("0x4000", "1", "1") + sdoRow("0x3000", "4", "2")
                                           + sdoRow("0x3000", "1", "4")));
    EdsGenerator generator(files);
    QByteArray text;
    QCOMPARE(generator.buildText(m_dir->filePath("s.eds"), text), std::nullopt);
    const QList<SDO_Index> &objects = generator.sdoObjects();
    QCOMPARE(objects.size(), 3);
    QCOMPARE(objects[0].Index, quint16(0x3000));
    QCOMPARE(objects[1].Index, quint16(0x2000));
    QCOMPARE(objects[2].Index, quint16(0x4000));
    QCOMPARE(generator.Find_SDO_Index(0x4000), 2);
    QCOMPARE(generator.Find_SDO_Index(0x5000), -1);
    const QList<SDO_Sub_Type> &subs = objects[0].Sub_Indexs;
    QCOMPARE(subs.size(), 3);
    QCOMPARE(subs[0].Sub, quint8(1));
    QCOMPARE(subs[1].Sub, quint8(4));
    QVERIFY(subs[1].Readonly);
    QCOMPARE(subs[2].Sub, quint8(4));
    QVERIFY(!subs[2].Readonly);

    QCOMPARE(sectionLines(text, "ManufacturerObjects"),
             QStringList({"SupportedObjects=3", "1=0x3000", "2=0x2000", "3=0x4000"}));
    // Merged sub-index 4: writable, the size of the write rule that came last.
    QCOMPARE(sectionLines(text, "3000sub4").filter(QRegularExpression("DataType|AccessType")),
             QStringList({"DataType=0x0006", "AccessType=rw"}));
    QCOMPARE(sectionLines(text, "3000").value(0), QString("SubNumber=3"));
}

void TestEdsFile::nothingSurvivesBetweenCalls()
{
    const ProjectFiles files = projectWith(pdoFile("<row COB-ID=\"1\" Dimension=\"1\"/>", ""),
                                           sdoFile(sdoRow("0x2000", "1", "1"), ""));
    EdsGenerator generator(files, fixedClock(at(2026, 1, 1, 8, 0)));
    const QString out = m_dir->filePath("again.eds");
    QCOMPARE(generator.Write_EDS_File(out), std::nullopt);
    const QByteArray first = readFile(out);
    QCOMPARE(generator.Write_EDS_File(out), std::nullopt);
    QCOMPARE(readFile(out), first);

    QVERIFY(QFile::remove(files.pdo));
    QVERIFY(QFile::remove(files.sdoServer));
    QCOMPARE(generator.Write_EDS_File(out), std::nullopt);
    QCOMPARE(generator.rpdoCount(), 0);
    QVERIFY(generator.sdoObjects().isEmpty());
    QCOMPARE(sectionLines(readFile(out), "ManufacturerObjects"), QStringList("SupportedObjects=0"));
}

void TestEdsFile::badSectionFilesWriteNothing_data()
{
    QTest::addColumn<QString>("pdo");
    QTest::addColumn<QString>("sdo");
    QTest::addColumn<QString>("file");   // the section file the message names
    QTest::addColumn<QString>("detail"); // what the message says about it

    const QString ok = sdoRow("0x2000", "0", "1");
    QTest::newRow("SDO file malformed") << QString() << "<SDO_Server_CANopen><SDO_Read>"
                                        << "SDO_Server_CANopen.xml" << "line ";
    QTest::newRow("PDO file malformed") << "<PDO_CANopen><Receive_PDO><row" << sdoFile(ok, "")
                                        << "PDO_CANopen.xml" << "line ";
    QTest::newRow("Index missing")
        << QString() << sdoFile(ok + "<row SubIndex=\"1\" NByte=\"1\"/>", "")
        << "SDO_Server_CANopen.xml" << "row 2 of SDO_Read, attribute Index: missing";
    QTest::newRow("SubIndex no integer")
        << QString() << sdoFile(ok, ok + ok + sdoRow("0x2001", "1x", "1"))
        << "SDO_Server_CANopen.xml"
        << "row 3 of SDO_Write, attribute SubIndex: \"1x\" is not an integer";
    QTest::newRow("NByte missing")
        << QString() << sdoFile("<row Index=\"0x2000\" SubIndex=\"1\"/>", "")
        << "SDO_Server_CANopen.xml" << "row 1 of SDO_Read, attribute NByte: missing";
    QTest::newRow("NByte empty") << QString() << sdoFile(sdoRow("0x2000", "1", ""), "")
                                 << "SDO_Server_CANopen.xml"
                                 << "row 1 of SDO_Read, attribute NByte: \"\" is not an integer";
    QTest::newRow("Index below the range")
        << QString() << sdoFile(sdoRow("0x1018", "1", "1"), "") << "SDO_Server_CANopen.xml"
        << "row 1 of SDO_Read, attribute Index: \"0x1018\" is not between 0x2000 and 0x5FFF";
    QTest::newRow("Index above the range")
        << QString() << sdoFile("", sdoRow("0x12000", "1", "1")) << "SDO_Server_CANopen.xml"
        << "row 1 of SDO_Write, attribute Index: \"0x12000\" is not between 0x2000 and 0x5FFF";
    QTest::newRow("SubIndex 256")
        << QString() << sdoFile(sdoRow("0x2000", "256", "1"), "") << "SDO_Server_CANopen.xml"
        << "row 1 of SDO_Read, attribute SubIndex: \"256\" is not between 0x00 and 0xFF";
    QTest::newRow("negative SubIndex")
        << QString() << sdoFile(sdoRow("0x2000", "-1", "1"), "") << "SDO_Server_CANopen.xml"
        << "row 1 of SDO_Read, attribute SubIndex: \"-1\" is not between 0x00 and 0xFF";
    QTest::newRow("Dimension 300")
        << pdoFile("<row COB-ID=\"1\" Dimension=\"300\"/>", "") << QString() << "PDO_CANopen.xml"
        << "row 1 of Receive_PDO, attribute Dimension: \"300\" is not between 1 and 8";
    QTest::newRow("Dimension 0")
        << pdoFile("", "<row COB-ID=\"1\"/><row COB-ID=\"2\" Dimension=\"0\"/>") << QString()
        << "PDO_CANopen.xml"
        << "row 2 of Transmit_PDO, attribute Dimension: \"0\" is not between 1 and 8";
}

void TestEdsFile::badSectionFilesWriteNothing()
{
    QFETCH(QString, pdo);
    QFETCH(QString, sdo);
    QFETCH(QString, file);
    QFETCH(QString, detail);

    const ProjectFiles files = projectWith(pdo, sdo);
    const QString out = m_dir->filePath("kept.eds");
    QVERIFY(writeFile(out, "the old data sheet"));
    EdsGenerator generator(files);
    const std::optional<QString> failure = generator.Write_EDS_File(out);
    QVERIFY(failure);
    const QString path = file == "PDO_CANopen.xml" ? files.pdo : files.sdoServer;
    QVERIFY2(failure->startsWith("Error! Cannot read the file " + path + ": "), qPrintable(*failure));
    QVERIFY2(failure->contains(detail), qPrintable(*failure));
    QCOMPARE(readFile(out), QByteArray("the old data sheet"));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList("kept.eds"));
}

void TestEdsFile::unwritableOutputIsReported()
{
    QVERIFY(writeFile(m_dir->filePath("plain"), "a file, not a folder"));
    const QString out = m_dir->filePath("plain/out.eds");
    EdsGenerator generator(projectWith(QString(), QString()));
    const std::optional<QString> failure = generator.Write_EDS_File(out);
    QVERIFY(failure);
    const QString head = "Error! Cannot write the file " + out + "\n";
    QVERIFY2(failure->startsWith(head) && failure->size() > head.size(), qPrintable(*failure));
    QCOMPARE(readFile(m_dir->filePath("plain")), QByteArray("a file, not a folder"));

    // A folder of the chosen name is not replaced either.
    QVERIFY(QDir(m_dir->path()).mkdir("taken.eds"));
    QVERIFY(generator.Write_EDS_File(m_dir->filePath("taken.eds")));
    QVERIFY(QFileInfo(m_dir->filePath("taken.eds")).isDir());
}

void TestEdsFile::fileNameKeepsNonAsciiCharacters()
{
    const QString name = QString::fromUtf8("Anlage \xc3\x9c" "bersicht.eds");
    EdsGenerator generator(projectWith(QString(), QString()));
    const QString out = m_dir->filePath(name);
    QCOMPARE(generator.Write_EDS_File(out), std::nullopt);
    const QByteArray text = readFile(out);
    QVERIFY(text.startsWith("[FileInfo]\r\nFileName=" + name.toLocal8Bit() + "\r\n"));
}

QTEST_GUILESS_MAIN(TestEdsFile)
#include "test_eds_file.moc"
