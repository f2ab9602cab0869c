#include "cli/commands.h"
#include "image/device_update_build.h"
#include "image_support.h"
#include "lang/text_table.h"

#include <QBuffer>
#include <QProcess>
#include <QTest>

using namespace swz;
using namespace swz::image;
using namespace image_support;
using testing_support::readFile;
using testing_support::writeFile;

namespace {

struct CliRun
{
    int code = -1;
    QString err;
};

CliRun runCompile(const QString &folder)
{
    QBuffer out;
    QBuffer err;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    CliRun run;
    run.code = runCli({"compile", folder}, out, err);
    run.err = QString::fromUtf8(err.data());
    return run;
}

} // namespace

class TestImageFiles : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { uiTexts().loadBuiltin(); }
    void writesBothBankFiles();
    void failedSecondFileRestoresTheFirst();
    void failedSecondFileLeavesNoNewFirst();
    void missingBinFolderIsReported();
    void compileFailureKeepsEarlierFiles_data();
    void compileFailureKeepsEarlierFiles();
    void gateRefusesBeforeCompiling();
    void cliCompile_data();
    void cliCompile();
    void cliWarnsAboutRowsLeftOut();
    void cliRunsAsAProgram();

private:
    QTemporaryDir m_dir;
};

void TestImageFiles::writesBothBankFiles()
{
    const QString folder = makeProject(m_dir, "ok", "image/full");
    QVERIFY(writeFile(folder + "/bin/bank1.bin", "old"));
    DeviceImageCompiler compiler;
    const ImageBuildResult built = buildDeviceImage(compiler, ProjectFiles::of(folder));
    QVERIFY2(built.written(), qPrintable(built.message));
    const QByteArray bank1 = readFile(folder + "/bin/bank1.bin");
    const QByteArray bank2 = readFile(folder + "/bin/bank2.bin");
    QCOMPARE(bank1.size(), 2048);
    QCOMPARE(bank2.size(), 65536);
    QCOMPARE(bank1, compiler.bank1().used());
    QCOMPARE(bank2, compiler.bank2().used());
    QCOMPARE(bank1.mid(1644, 5), QByteArray("1.000"));
    // No temporary files are left beside them.
    QCOMPARE(QDir(folder + "/bin").entryList(QDir::Files), QStringList({"bank1.bin", "bank2.bin"}));
}

void TestImageFiles::failedSecondFileRestoresTheFirst()
{
    const QString folder = makeProject(m_dir, "blocked2", "image/full");
    QVERIFY(writeFile(folder + "/bin/bank1.bin", "earlier bank 1"));
    QVERIFY(QDir().mkpath(folder + "/bin/bank2.bin")); // a folder in the way of the file
    DeviceImageCompiler compiler;
    const ImageBuildResult built = buildDeviceImage(compiler, ProjectFiles::of(folder));
    QCOMPARE(built.outcome, ImageBuildResult::Outcome::SaveFailed);
    QVERIFY2(built.message.startsWith("Error! Cannot write the file "), qPrintable(built.message));
    QVERIFY(built.message.contains(QDir::toNativeSeparators(folder + "/bin/bank2.bin"))
            || built.message.contains(folder + QDir::separator() + "bin" + QDir::separator() + "bank2.bin"));
    // After "file: " comes the system's reason.
    QVERIFY(built.message.section("bank2.bin: ", 1).size() > 0);
    QCOMPARE(readFile(folder + "/bin/bank1.bin"), QByteArray("earlier bank 1"));
    QCOMPARE(QDir(folder + "/bin").entryList(QDir::Files), QStringList({"bank1.bin"}));
}

void TestImageFiles::failedSecondFileLeavesNoNewFirst()
{
    const QString folder = makeProject(m_dir, "blocked2new");
    QVERIFY(QDir().mkpath(folder + "/bin/bank2.bin"));
    DeviceImageCompiler compiler;
    QCOMPARE(buildDeviceImage(compiler, ProjectFiles::of(folder)).outcome,
             ImageBuildResult::Outcome::SaveFailed);
    QVERIFY(QDir(folder + "/bin").entryList(QDir::Files).isEmpty());
}

void TestImageFiles::missingBinFolderIsReported()
{
    const QString folder = makeProject(m_dir, "nobin");
    QVERIFY(QDir(folder + "/bin").removeRecursively());
    DeviceImageCompiler compiler;
    const ImageBuildResult built = buildDeviceImage(compiler, ProjectFiles::of(folder));
    QCOMPARE(built.outcome, ImageBuildResult::Outcome::SaveFailed);
    QVERIFY(built.message.contains("bank1.bin: "));
    QVERIFY(!QFileInfo::exists(folder + "/bin"));
}

void TestImageFiles::compileFailureKeepsEarlierFiles_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("malformed ParGen") << QByteArray("ParGen.xml") << QByteArray("<Par_Gen>");
    QTest::newRow("malformed SDO client") << QByteArray("SDO_Client_CANopen.xml") << QByteArray("<a><b></a>");
    QTest::newRow("attribute no number") << QByteArray("PDO_CANopen.xml")
        << QByteArray("<P><Receive_PDO><row COB-ID=\"abc\"/></Receive_PDO></P>");
}

void TestImageFiles::compileFailureKeepsEarlierFiles()
{
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, content);
    const QString folder = makeProject(m_dir, QString("bad-") + QTest::currentDataTag(), "image/full");
    DeviceImageCompiler compiler;
    QVERIFY(buildDeviceImage(compiler, ProjectFiles::of(folder)).written());
    const QByteArray bank1 = readFile(folder + "/bin/bank1.bin");
    const QByteArray bank2 = readFile(folder + "/bin/bank2.bin");

    QVERIFY(writeFile(folder + "/" + file, content));
    const ImageBuildResult built = buildDeviceImage(compiler, ProjectFiles::of(folder));
    QVERIFY(!built.written());
    QVERIFY2(built.message.contains(QString::fromLatin1(file)), qPrintable(built.message));
    QCOMPARE(readFile(folder + "/bin/bank1.bin"), bank1);
    QCOMPARE(readFile(folder + "/bin/bank2.bin"), bank2);
}

void TestImageFiles::gateRefusesBeforeCompiling()
{
    const QString folder = makeProject(m_dir, "gate", "image/full");
    QVERIFY(writeFile(folder + "/LoRaWAN_SetAccess.xml",
                      "<A><LoRaWAN_Uplink><row Enable=\"Y\" NumByte=\"221\"/></LoRaWAN_Uplink></A>"));
    DeviceImageCompiler compiler;
    const ImageBuildResult built = buildDeviceImage(compiler, ProjectFiles::of(folder));
    QCOMPARE(built.outcome, ImageBuildResult::Outcome::GateRefused);
    QCOMPARE(built.message, QString("Error in configuration, Num. Byte not conformed with Max Payload Size"));
    QVERIFY(QDir(folder + "/bin").entryList(QDir::Files).isEmpty());
}

void TestImageFiles::cliCompile_data()
{
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<QByteArray>("file"); // written over the fixture; empty: none
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("blockBank2");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");

    QTest::newRow("full project") << "image/full" << QByteArray() << QByteArray() << false << 0 << QString();
    QTest::newRow("empty project") << "" << QByteArray() << QByteArray() << false << 0 << QString();
    QTest::newRow("malformed XML") << "image/full" << QByteArray("SDO_Server_CANopen.xml") << QByteArray("<S><SDO_Read>")
                                   << false << 1 << QString("Error! Cannot read the file ");
    QTest::newRow("attribute no number") << "image/full" << QByteArray("SDO_Server_CANopen.xml")
        << QByteArray("<S><SDO_Read><row Index=\"1\" SubIndex=\"one\"/></SDO_Read></S>") << false << 1
        << QString("list SDO_Read, row 1, attribute SubIndex");
    QTest::newRow("unwritable bank file") << "image/full" << QByteArray() << QByteArray() << true << 1
                                          << QString("Error! Cannot write the file ");
    QTest::newRow("payload gate") << "image/full" << QByteArray("LoRaWAN_SetAccess.xml")
        << QByteArray("<A><LoRaWAN_Uplink><row Enable=\"Y\" NumByte=\"x\"/></LoRaWAN_Uplink></A>") << false << 1
        << QString("Error in configuration, Num. Byte not conformed with Max Payload Size");
}

void TestImageFiles::cliCompile()
{
    QFETCH(QString, fixture);
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, content);
    QFETCH(bool, blockBank2);
    QFETCH(int, code);
    QFETCH(QString, message);

    const QString folder = makeProject(m_dir, QString("cli-") + QTest::currentDataTag(), fixture);
    if (!file.isEmpty())
        QVERIFY(writeFile(folder + "/" + file, content));
    if (blockBank2)
        QVERIFY(QDir().mkpath(folder + "/bin/bank2.bin"));
    const CliRun run = runCompile(folder);
    QCOMPARE(run.code, code);
    if (code == 0) {
        QCOMPARE(run.err, QString());
        QCOMPARE(readFile(folder + "/bin/bank1.bin").size(), 2048);
        QCOMPARE(readFile(folder + "/bin/bank2.bin").size(), 65536);
    } else {
        QVERIFY2(run.err.contains(message), qPrintable(run.err));
        QVERIFY(!QFileInfo::exists(folder + "/bin/bank1.bin"));
    }
}

void TestImageFiles::cliWarnsAboutRowsLeftOut()
{
    const QString folder = makeProject(m_dir, "cli-many");
    QByteArray rows;
    for (int i = 0; i < 515; ++i)
        rows += "<row Index=\"1\" SubIndex=\"1\" NByte=\"1\" Address_B1=\"1\"/>";
    QVERIFY(writeFile(folder + "/SDO_Server_CANopen.xml", "<S><SDO_Write>" + rows + "</SDO_Write></S>"));
    const CliRun run = runCompile(folder);
    QCOMPARE(run.code, 0);
    QVERIFY2(run.err.contains("Warning! Only the first 512 rows of the list SDO_Write")
                 && run.err.contains("3 more are left out"),
             qPrintable(run.err));
    QCOMPARE(run.err.count('\n'), 1);
}

void TestImageFiles::cliRunsAsAProgram()
{
    const QString folder = makeProject(m_dir, "cli-process", "image/full");
    QProcess process;
    process.start(QStringLiteral(SWZ_CLI_PATH), {"compile", folder});
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitCode(), 0);
    QCOMPARE(readFile(folder + "/bin/bank1.bin").size(), 2048);

    QProcess missing;
    missing.start(QStringLiteral(SWZ_CLI_PATH), {"compile", m_dir.filePath("no-such-project")});
    QVERIFY(missing.waitForFinished(30000));
    QCOMPARE(missing.exitCode(), 1);
    QVERIFY(missing.readAllStandardError().contains("not a project folder"));
}

QTEST_GUILESS_MAIN(TestImageFiles)
#include "test_image_files.moc"
