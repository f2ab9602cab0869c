#include "update/update_job.h"

#include "lang/text_table.h"
#include "test_support.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace swz;

namespace {

const QString kSep = QDir::separator();

// One Operation element as the updater expects it, field by field.
QString operation(const QString &file, const char *start, const char *bank, bool readBack,
                  const char *writeCss, const char *writeInternal, const char *goToApp)
{
    return QStringLiteral("        <Operation>\n"
                          "            <Ope_Protection_Enabled></Ope_Protection_Enabled>\n"
                          "            <Ope_GoToBoot_Before>0</Ope_GoToBoot_Before>\n"
                          "            <Ope_GoToApp_Before>0</Ope_GoToApp_Before>\n"
                          "            <Ope_IP_Address></Ope_IP_Address>\n"
                          "            <Ope_Port>2008</Ope_Port>\n"
                          "            <Ope_Port_Sec>2007</Ope_Port_Sec>\n"
                          "            <Ope_Erase_Memory>0</Ope_Erase_Memory>\n"
                          "            <Ope_FileName>%1</Ope_FileName>\n"
                          "            <Ope_Start_Address>%2</Ope_Start_Address>\n"
                          "            <Ope_Memory_Type>0</Ope_Memory_Type>\n"
                          "            <Ope_Bank_Type>%3</Ope_Bank_Type>\n"
                          "            <Ope_Read_Back>%4</Ope_Read_Back>\n"
                          "            <Ope_Write_CSS>%5</Ope_Write_CSS>\n"
                          "            <Ope_Address_CSS>0x07A00</Ope_Address_CSS>\n"
                          "            <Ope_Command_CSS>0x02</Ope_Command_CSS>\n"
                          "            <Ope_Write_Internal_Data>%6</Ope_Write_Internal_Data>\n"
                          "            <Ope_WID_Address>0x07810</Ope_WID_Address>\n"
                          "            <Ope_WID_Command>0x02</Ope_WID_Command>\n"
                          "            <Ope_WID_Data>0x00, 0x00, 0x00, 0x01</Ope_WID_Data>\n"
                          "            <Ope_GoToApp_After>%7</Ope_GoToApp_After>\n"
                          "        </Operation>\n")
        .arg(file, start, bank, readBack ? "1" : "0", writeCss, writeInternal, goToApp);
}

QString document(const QString &address, const QString &operations)
{
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                          "<Ethernet_Update>\n"
                          "    <Version>1000</Version>\n"
                          "    <Title>www.corvane.example - SWZ8K20 Ethernet Update</Title>\n"
                          "    <IP_Address_Dev>%1</IP_Address_Dev>\n"
                          "    <Application_Port>10000</Application_Port>\n"
                          "    <Boot_Port>2008</Boot_Port>\n"
                          "    <Boot_Port_Sec>2007</Boot_Port_Sec>\n"
                          "    <Address_Protection>0x07800</Address_Protection>\n"
                          "    <Protections>\n"
                          "        <Protection>0x5E3</Protection>\n"
                          "    </Protections>\n"
                          "    <Operations>\n"
                          "%2"
                          "    </Operations>\n"
                          "</Ethernet_Update>\n")
        .arg(address, operations);
}

const QString kMaster = kSep + "cfg" + kSep + "MASTER";
const QString kProject = kSep + "cfg" + kSep + "PROJECTS" + kSep + "Plant A";

QString firmware(bool readBack, const char *goToApp)
{
    return operation(kMaster + kSep + "SimZ8K20.sim", "0x8000", "1", readBack, "1", "0", goToApp);
}

QString banks(bool readBack)
{
    return operation(kProject + kSep + "bin" + kSep + "bank1.bin", "0x07000", "2", readBack, "0",
                     "1", "0")
           + operation(kProject + kSep + "bin" + kSep + "bank2.bin", "0x80000", "2", readBack, "0",
                       "0", "1");
}

} // namespace

class TestUpdateJob : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { uiTexts().loadBuiltin(); }
    void document_data();
    void document();
    void addressFieldsAreWrittenAsTyped_data();
    void addressFieldsAreWrittenAsTyped();
    void savedBesideTheExecutable();
    void saveFailureNamesTheFile();
};

void TestUpdateJob::document_data()
{
    QTest::addColumn<int>("option");
    QTest::addColumn<bool>("readBack");
    QTest::addColumn<QString>("operations");

    for (const bool readBack : {true, false}) {
        const char *rb = readBack ? " read back" : " no read back";
        QTest::newRow(QByteArray("firmware + configuration").append(rb))
            << 0 << readBack << firmware(readBack, "0") + banks(readBack);
        QTest::newRow(QByteArray("firmware").append(rb)) << 1 << readBack << firmware(readBack, "1");
        QTest::newRow(QByteArray("configuration").append(rb)) << 2 << readBack << banks(readBack);
    }
}

void TestUpdateJob::document()
{
    QFETCH(int, option);
    QFETCH(bool, readBack);
    QFETCH(QString, operations);

    UpdateRequest request;
    request.addressFields = {"192", "168", "2", "205"};
    request.option = UpdateOption(option);
    request.readBack = readBack;
    QCOMPARE(QString::fromUtf8(Compile_XML_Parameter_New_Boot(request, kMaster, kProject)),
             ::document("192.168.2.205", operations));
}

void TestUpdateJob::addressFieldsAreWrittenAsTyped_data()
{
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QString>("written");

    QTest::newRow("plain") << QStringList{"10", "0", "0", "7"} << "10.0.0.7";
    QTest::newRow("leading zeros and blanks")
        << QStringList{"010", " 1", "2 ", "003"} << "010. 1.2 .003";
    QTest::newRow("markup characters") << QStringList{"<a>", "&", "\"", "4"}
                                       << "&lt;a&gt;.&amp;.&quot;.4";
}

void TestUpdateJob::addressFieldsAreWrittenAsTyped()
{
    QFETCH(QStringList, fields);
    QFETCH(QString, written);

    UpdateRequest request;
    request.addressFields = {fields[0], fields[1], fields[2], fields[3]};
    const QString text = QString::fromUtf8(Compile_XML_Parameter_New_Boot(request, kMaster, kProject));
    QVERIFY2(text.contains("<IP_Address_Dev>" + written + "</IP_Address_Dev>"), qPrintable(text));
}

void TestUpdateJob::savedBesideTheExecutable()
{
    QTemporaryDir dir;
    const QString folder = QDir::toNativeSeparators(dir.path());
    const QString path = updateJobPath(folder);
    QCOMPARE(path, folder + kSep + "Ethernet_Update.xml");
#ifdef Q_OS_WIN
    QCOMPARE(updaterPath(folder), folder + "\\Ethernet_Update.exe");
#else
    QCOMPARE(updaterPath(folder), folder + "/Ethernet_Update");
#endif

    QVERIFY(testing_support::writeFile(path, "old job, longer than the new one? no: replaced"));
    UpdateRequest request;
    const QByteArray job = Compile_XML_Parameter_New_Boot(request, kMaster, kProject);
    QCOMPARE(saveUpdateJob(path, job), std::nullopt);
    QCOMPARE(testing_support::readFile(path), job);
}

void TestUpdateJob::saveFailureNamesTheFile()
{
    QTemporaryDir dir;
    // A folder where the job file should be: nothing can replace it.
    const QString path = updateJobPath(QDir::toNativeSeparators(dir.path()));
    QVERIFY(QDir().mkpath(path));
    const std::optional<QString> failure = saveUpdateJob(path, "<Ethernet_Update/>");
    QVERIFY(failure);
    QVERIFY2(failure->startsWith("Error! Cannot write the file " + path + "\n"),
             qPrintable(*failure));
    QVERIFY(failure->size() > QString("Error! Cannot write the file \n").size() + path.size());
    QVERIFY(QFileInfo(path).isDir());
}

QTEST_APPLESS_MAIN(TestUpdateJob)
#include "test_update_job.moc"
