#include "cli_run.h"

#include "image/device_update_build.h"
#include "image/image_layout.h"
#include "image/image_support.h"
#include "lang/text_table.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using namespace swz;
using image_support::makeProject;
using testing_support::readFile;
using testing_support::writeFile;

class TestImageCommands : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void decodeNamesEveryFieldOnce();
    void damagedImagesAreStillDecoded_data();
    void damagedImagesAreStillDecoded();
    void diffShowsExactlyTheChangedFields_data();
    void diffShowsExactlyTheChangedFields();
    void wrongArguments_data();
    void wrongArguments();

private:
    // Compiles a copy of the image fixture, with one text replaced in one of its files.
    QString compiled(const QString &name, const QString &file = {}, const QByteArray &from = {},
                     const QByteArray &to = {});

    QTemporaryDir m_dir;
    QString m_bank1;
    QString m_bank2;
};

QString TestImageCommands::compiled(const QString &name, const QString &file,
                                    const QByteArray &from, const QByteArray &to)
{
    const QString folder = makeProject(m_dir, name, "image/full");
    if (!file.isEmpty()) {
        QByteArray content = readFile(folder + '/' + file);
        if (!content.contains(from))
            return {};
        writeFile(folder + '/' + file, content.replace(from, to));
    }
    image::DeviceImageCompiler compiler;
    if (!image::buildDeviceImage(compiler, ProjectFiles::of(folder)).written())
        return {};
    return folder + "/bin/";
}

void TestImageCommands::initTestCase()
{
    uiTexts().loadBuiltin();
    const QString bin = compiled("Base");
    QVERIFY(!bin.isEmpty());
    m_bank1 = bin + "bank1.bin";
    m_bank2 = bin + "bank2.bin";
}

void TestImageCommands::decodeNamesEveryFieldOnce()
{
    const CliRun json = cli({"decode", m_bank1, m_bank2, "--json"});
    QCOMPARE(json.code, 0);
    QVERIFY2(json.err.isEmpty(), json.err.constData());
    const QJsonObject document = QJsonDocument::fromJson(json.out).object();
    QCOMPARE(document["problems"].toArray().size(), 0);

    QHash<QString, QString> values;
    const QJsonArray fields = document["fields"].toArray();
    for (const QJsonValue &value : fields) {
        const QString name = value["name"].toString();
        QVERIFY2(!values.contains(name), qPrintable(name));
        values.insert(name, value["value"].toString());
    }
    // Every field of the single blocks, and of the first entry of every used table.
    auto expectAll = [&](image::ImageBlock block, const QString &prefix) {
        for (const image::ImageField &field : image::fieldsOf(block)) {
            const QString name = prefix + QString::fromLatin1(field.name.data(), field.name.size());
            QVERIFY2(values.contains(name), qPrintable(name));
        }
    };
    expectAll(image::ImageBlock::General, "General parameter block.");
    expectAll(image::ImageBlock::LoRaWanHeader, "LoRaWAN header.");
    for (const char *table : {"SDO server read", "SDO server write", "SDO client read",
                              "SDO client write"})
        expectAll(image::ImageBlock::SdoRuleEntry, QString(table) + "[0].");
    for (const char *table : {"Receive PDO", "Transmit PDO"})
        expectAll(image::ImageBlock::PdoRuleEntry, QString(table) + "[0].");
    expectAll(image::ImageBlock::LoRaWanRuleItem, "LoRaWAN uplink list[1].");
    expectAll(image::ImageBlock::LoRaWanRuleItem, "LoRaWAN downlink list[0].");
    // Unused entries are left out: one rule per CANopen table, one downlink rule.
    QVERIFY(!values.contains("SDO server read[1].Index"));
    QVERIFY(!values.contains("LoRaWAN downlink list[1].NumByte"));

    // Values from the fixture's files.
    QCOMPARE(values["General parameter block.Ethernet_IP"], QString("192.168.10.20"));
    QCOMPARE(values["General parameter block.CANopen_IDDev"], QString("5"));
    QCOMPARE(values["General parameter block.Eth_Conn_Device_Name"], QString("\"GW-Hall3\""));
    QCOMPARE(values["SDO server write[0].Index"], QString::number(0x2001));
    QCOMPARE(values["LoRaWAN downlink list[0].StartByte"], QString("200"));

    // The text form: one line per field, in the same order.
    const CliRun text = cli({"decode", m_bank1, m_bank2});
    QCOMPARE(text.code, 0);
    const QList<QByteArray> lines = text.out.trimmed().split('\n');
    QCOMPARE(lines.size(), fields.size());
    QCOMPARE(lines.first(), QByteArray("bank1 0x00000 General parameter block.CANopen_BitRate = 500000"));
    QVERIFY(lines.contains("bank2 0x08004 SDO client read[0].Index = 24576"));
}

void TestImageCommands::damagedImagesAreStillDecoded_data()
{
    QTest::addColumn<int>("bank");
    QTest::addColumn<int>("size");  // -1: unchanged
    QTest::addColumn<int>("flip");  // offset of a byte to change, -1: none
    QTest::addColumn<QString>("problem");
    QTest::addColumn<QString>("present");
    QTest::addColumn<QString>("absent");

    QTest::newRow("short bank 1") << 1 << 2000 << -1 << "bank1.bin has 2000 bytes instead of 2048"
                                  << "General parameter block.Address_LoRaWAN_Block"
                                  << "General parameter block.Checksum";
    QTest::newRow("long bank 1") << 1 << 2100 << -1 << "bank1.bin has 2100 bytes instead of 2048"
                                 << "General parameter block.Checksum" << "";
    QTest::newRow("bad checksum") << 1 << -1 << 160 << "bank1.bin: the checksum is"
                                  << "LoRaWAN downlink list[0].StartByte" << "";
    QTest::newRow("short bank 2") << 2 << 60000 << -1 << "bank2.bin has 60000 bytes instead of 65536"
                                  << "LoRaWAN uplink list[0].NumByte"
                                  << "LoRaWAN downlink list[0].StartByte";
    QTest::newRow("empty bank 2") << 2 << 0 << -1 << "bank2.bin has 0 bytes instead of 65536"
                                  << "General parameter block.Checksum" << "LoRaWAN header.Band";
}

void TestImageCommands::damagedImagesAreStillDecoded()
{
    QFETCH(int, bank);
    QFETCH(int, size);
    QFETCH(int, flip);
    QFETCH(QString, problem);
    QFETCH(QString, present);
    QFETCH(QString, absent);

    QByteArray damaged = readFile(bank == 1 ? m_bank1 : m_bank2);
    if (size >= 0)
        damaged.resize(size, '\0');
    if (flip >= 0)
        damaged[flip] = char(damaged[flip] ^ 0x01);
    const QString path = m_dir.filePath("damaged.bin");
    QVERIFY(writeFile(path, damaged));

    const QStringList files = bank == 1 ? QStringList{path, m_bank2} : QStringList{m_bank1, path};
    const CliRun run = cli(QStringList{"decode"} + files + QStringList{"--json"});
    QCOMPARE(run.code, 1);
    QVERIFY2(run.err.contains(problem.toUtf8()), run.err.constData());
    const QJsonObject document = QJsonDocument::fromJson(run.out).object();
    QCOMPARE(document["problems"].toArray().size(), 1);
    QVERIFY(document["problems"].toArray().first().toString().startsWith(problem));
    QStringList names;
    for (const QJsonValue &field : document["fields"].toArray())
        names.append(field["name"].toString());
    QVERIFY2(names.contains(present), qPrintable(present));
    if (!absent.isEmpty())
        QVERIFY2(!names.contains(absent), qPrintable(absent));
}

void TestImageCommands::diffShowsExactlyTheChangedFields_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("from");
    QTest::addColumn<QByteArray>("to");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("same project") << "" << QByteArray() << QByteArray() << QStringList{};
    QTest::newRow("uplink rule size")
        << "LoRaWAN_SetAccess.xml" << QByteArray("NumByte=\"10\"") << QByteArray("NumByte=\"12\"")
        << QStringList{"LoRaWAN uplink list[0].NumByte: 10 -> 12"};
    QTest::newRow("SDO server index")
        << "SDO_Server_CANopen.xml" << QByteArray("Index=\"8192\"") << QByteArray("Index=\"8193\"")
        << QStringList{"SDO server read[0].Index: 8192 -> 8193"};
    QTest::newRow("downlink rule removed")
        << "LoRaWAN_SetAccess.xml" << QByteArray("Enable=\"Y\" StartByte=\"200\"")
        << QByteArray("Enable=\"N\" StartByte=\"200\"")
        << QStringList{"LoRaWAN header.Count_Downlink: 1 -> 0",
                       "LoRaWAN downlink list[0].StartByte: 200 -> (none)",
                       "LoRaWAN downlink list[0].NumByte: 4 -> (none)",
                       "LoRaWAN downlink list[0].Trigger_Flags: 0 -> (none)",
                       "LoRaWAN downlink list[0].FPort: 7 -> (none)",
                       "LoRaWAN downlink list[0].Time: 0 -> (none)"};
}

void TestImageCommands::diffShowsExactlyTheChangedFields()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, from);
    QFETCH(QByteArray, to);
    QFETCH(QStringList, lines);

    const QString bin = compiled(QTest::currentDataTag(), file, from, to);
    QVERIFY(!bin.isEmpty());
    const CliRun run = cli({"diff", m_bank1, m_bank2, bin + "bank1.bin", bin + "bank2.bin"});
    QCOMPARE(run.code, lines.isEmpty() ? 0 : 1);
    QVERIFY2(run.err.isEmpty(), run.err.constData());
    const QString out = QString::fromUtf8(run.out);
    QCOMPARE(out.split('\n', Qt::SkipEmptyParts), lines);
}

void TestImageCommands::wrongArguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("errContains");

    QTest::newRow("decode missing file") << QStringList{"decode", "nowhere/bank1.bin", "nowhere/bank2.bin"}
                                         << 2 << "cannot read nowhere/bank1.bin";
    QTest::newRow("decode one file") << QStringList{"decode", "bank1.bin"} << 2 << "usage:";
    QTest::newRow("diff three files") << QStringList{"diff", "a", "b", "c"} << 2 << "usage:";
    QTest::newRow("diff missing file") << QStringList{"diff", "@1", "@2", "@1", "nowhere.bin"} << 2
                                       << "cannot read nowhere.bin";
    QTest::newRow("decode help") << QStringList{"decode", "--help"} << 0 << "";
    QTest::newRow("diff help") << QStringList{"diff", "--help"} << 0 << "";
}

void TestImageCommands::wrongArguments()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, code);
    QFETCH(QString, errContains);
    arguments.replaceInStrings("@1", m_bank1);
    arguments.replaceInStrings("@2", m_bank2);
    const CliRun run = cli(arguments);
    QCOMPARE(run.code, code);
    QVERIFY2(run.err.contains(errContains.toUtf8()), run.err.constData());
    if (code == 0)
        QVERIFY(run.out.startsWith("usage: swz8k20-cli " + arguments.first().toUtf8()));
}

QTEST_GUILESS_MAIN(TestImageCommands)
#include "test_image_commands.moc"
