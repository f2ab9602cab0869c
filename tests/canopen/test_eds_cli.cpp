#include "canopen/eds_file.h"
#include "cli/commands.h"
#include "cli/eds_command.h"
#include "test_support.h"

#include <QBuffer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace swz;
using testing_support::readFile;
using testing_support::writeFile;

class TestEdsCli : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void writesTheSameFileAsTheConfigurator();
    void failuresGoToStandardError_data();
    void failuresGoToStandardError();
    void wrongArgumentsShowUsage_data();
    void wrongArgumentsShowUsage();
    void runsAsAProgram();

private:
    int run(const QStringList &arguments, const EdsClock &clock = systemEdsClock());
    std::unique_ptr<QTemporaryDir> m_dir;
    QBuffer m_out;
    QBuffer m_err;
};

void TestEdsCli::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
}

int TestEdsCli::run(const QStringList &arguments, const EdsClock &clock)
{
    m_out.close();
    m_err.close();
    m_out.setData({});
    m_err.setData({});
    m_out.open(QIODevice::WriteOnly);
    m_err.open(QIODevice::WriteOnly);
    return runEdsCommand(arguments, m_out, m_err, clock);
}

void TestEdsCli::writesTheSameFileAsTheConfigurator()
{
    const QString project = qEnvironmentVariable("SWZ_TEST_DATA") + "/eds/one_rpdo";
    const QDateTime moment(QDate(2026, 12, 31), QTime(12, 30));
    const QString out = m_dir->filePath("one_rpdo.eds");
    QCOMPARE(run({project, out}, [moment] { return moment; }), 0);
    QCOMPARE(m_err.data(), QByteArray());

    QByteArray expected;
    EdsGenerator generator(ProjectFiles::of(project), [moment] { return moment; });
    QCOMPARE(generator.buildText(out, expected), std::nullopt);
    QCOMPARE(readFile(out), expected);
    QVERIFY(expected.contains("NrOfRXPDO=1\r\n"));
}

void TestEdsCli::failuresGoToStandardError_data()
{
    QTest::addColumn<QString>("sdo");    // content of SDO_Server_CANopen.xml; null: no project
    QTest::addColumn<QString>("output"); // relative to the temporary folder
    QTest::addColumn<QString>("message");

    QTest::newRow("no such project") << QString() << "out.eds" << "does not exist";
    QTest::newRow("malformed SDO file")
        << "<SDO_Server_CANopen><SDO_Read>" << "out.eds"
        << "Error! Cannot read the file ";
    QTest::newRow("unwritable output") << "" << "Plant/bin.eds/x.eds"
                                       << "Error! Cannot write the file ";
}

void TestEdsCli::failuresGoToStandardError()
{
    QFETCH(QString, sdo);
    QFETCH(QString, output);
    QFETCH(QString, message);

    const QString project = m_dir->filePath("Plant");
    if (!sdo.isNull()) {
        QVERIFY(QDir().mkpath(project));
        if (!sdo.isEmpty())
            QVERIFY(writeFile(project + "/SDO_Server_CANopen.xml", sdo.toUtf8()));
    }
    const QString out = m_dir->filePath(output);
    QCOMPARE(run({project, out}), 1);
    QVERIFY2(m_err.data().startsWith("swz8k20-cli: "), m_err.data());
    QVERIFY2(m_err.data().contains(message.toUtf8()), m_err.data());
    QCOMPARE(m_err.data().count('\n'), 1); // one line, ending the message
    QVERIFY(!QFileInfo::exists(out));
}

void TestEdsCli::wrongArgumentsShowUsage_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("none") << QStringList({"eds"});
    QTest::newRow("folder only") << QStringList({"eds", "PROJECTS/Plant"});
    QTest::newRow("one too many") << QStringList({"eds", "a", "b.eds", "c"});
}

void TestEdsCli::wrongArgumentsShowUsage()
{
    QFETCH(QStringList, arguments);
    QBuffer out;
    QBuffer err;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    QCOMPARE(runCli(arguments, out, err), 2);
    QVERIFY2(err.data().contains("usage: swz8k20-cli eds PROJECT_FOLDER OUT.eds"), err.data());
    QVERIFY(QDir(m_dir->path()).isEmpty());
}

void TestEdsCli::runsAsAProgram()
{
    const QString project = qEnvironmentVariable("SWZ_TEST_DATA") + "/eds/sdo_objects";
    const QString out = m_dir->filePath("sdo.eds");
    QProcess process;
    process.start(SWZ_CLI_PATH, {"eds", project, out});
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitCode(), 0);
    QCOMPARE(process.readAllStandardError(), QByteArray());
    const QByteArray text = readFile(out);
    QVERIFY(text.startsWith("[FileInfo]\r\nFileName=sdo.eds\r\n"));
    QVERIFY(text.contains("[ManufacturerObjects]\r\nSupportedObjects=5\r\n"));
    QVERIFY(text.endsWith("PDOMapping=0\r\n\r\n\r\n"));

    process.start(SWZ_CLI_PATH, {"eds", m_dir->filePath("missing"), out + "2"});
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitCode(), 1);
    QVERIFY(process.readAllStandardError().contains("does not exist"));
}

QTEST_GUILESS_MAIN(TestEdsCli)
#include "test_eds_cli.moc"
