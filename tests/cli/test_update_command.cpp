// The update command runs only against 127.0.0.1: a scripted echo client or the local ICMP
// echo, and the stand-in updater. Limits are injected so that nothing waits out 5 s or 150 s.
#include "cli_run.h"

#include "app/app_state.h"
#include "cli/update_command.h"
#include "image/image_support.h"
#include "lang/text_table.h"
#include "update/update_test_support.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

using namespace swz;
using image_support::makeProject;
using testing_support::FakeClock;
using testing_support::FakeEchoClient;
using testing_support::readFile;
using testing_support::writeFile;

Q_DECLARE_METATYPE(UpdateOption)

class TestUpdateCommand : public QObject
{
    Q_OBJECT

private slots:
    void updatesThroughTheStandIn_data();
    void updatesThroughTheStandIn();
    void failuresStopWithAMessage_data();
    void failuresStopWithAMessage();
    void updaterLimitIsInjected();
    void realEchoOfTheLoopback();
};

namespace {

struct Fixture
{
    Fixture()
    {
        executable = dir.filePath("exe");
        QDir().mkpath(executable);
        project = makeProject(dir, "Plant", "image/full");
        seams.echo = &echo;
        seams.clock = &clock;
        seams.launcher = &launcher;
        seams.executableFolder = executable;
        echo.script = {FakeEchoClient::data()};
    }

    CliRun run(const QStringList &arguments)
    {
        return runCommand([&](QIODevice &out, QIODevice &err) {
            return runUpdateCommand(arguments, out, err, seams);
        });
    }
    QString ran() const { return executable + "/updater-ran.txt"; }
    QString job() const { return updateJobPath(QDir::toNativeSeparators(executable)); }

    QTemporaryDir dir;
    QString executable;
    QString project;
    FakeClock clock;
    FakeEchoClient echo{clock};
    ProcessLauncher launcher{steadyClock(), 10000};
    UpdateSeams seams;
};

} // namespace

void TestUpdateCommand::updatesThroughTheStandIn_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<UpdateOption>("option");
    QTest::addColumn<bool>("readBack");

    QTest::newRow("defaults") << QStringList{} << UpdateOption::FirmwareAndConfiguration << true;
    QTest::newRow("firmware") << QStringList{"--option", "firmware"} << UpdateOption::Firmware << true;
    QTest::newRow("configuration, no read back")
        << QStringList{"--no-read-back", "--option", "configuration"} << UpdateOption::Configuration
        << false;
}

void TestUpdateCommand::updatesThroughTheStandIn()
{
    QFETCH(QStringList, options);
    QFETCH(UpdateOption, option);
    QFETCH(bool, readBack);

    Fixture f;
    QVERIFY(testing_support::installStandInUpdater(f.executable));
    qunsetenv("SWZ_STANDIN_SLEEP_MS");
    const CliRun run = f.run(QStringList{f.project, "127.0.0.1"} + options);
    QVERIFY2(run.code == 0, run.err.constData());
    QVERIFY2(run.err.isEmpty(), run.err.constData());

    QCOMPARE(f.echo.targets, (QStringList{"127.0.0.1", "127.0.0.1"}));
    QCOMPARE(QFileInfo(f.project + "/bin/bank1.bin").size(), 2048);
    QCOMPARE(QFileInfo(f.project + "/bin/bank2.bin").size(), 65536);

    UpdateRequest request{{"127", "0", "0", "1"}, option, readBack};
    const QByteArray job = Compile_XML_Parameter_New_Boot(
        request, Workspace::beside(f.executable).masterFolder, QDir::toNativeSeparators(f.project));
    QCOMPARE(readFile(f.job()), job);
    const QByteArray record = readFile(f.ran());
    QVERIFY2(record.endsWith(job), record.constData());
    QVERIFY(readFile(f.executable + "/Corvane.xml").contains("<ipaddress>127.0.0.1</ipaddress>"));
}

void TestUpdateCommand::failuresStopWithAMessage_data()
{
    QTest::addColumn<QStringList>("arguments"); // @ is the project folder
    QTest::addColumn<QList<FakeEchoClient::Answer>>("echo");
    QTest::addColumn<QString>("breakFile"); // malformed XML, or "NumByte" too large in it
    QTest::addColumn<bool>("installUpdater");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("pinged");

    const QList<FakeEchoClient::Answer> replies{FakeEchoClient::data()};
    QTest::newRow("device not found") << QStringList{"@", "127.0.0.1"}
                                      << QList{FakeEchoClient::timeout()} << "" << true << 1
                                      << "Device Not Found!" << true;
    QTest::newRow("echo fails") << QStringList{"@", "127.0.0.1"}
                                << QList{FakeEchoClient::error("no route")} << "" << true << 1
                                << "Error!!! Check the Ip Address" << true;
    QTest::newRow("no ICMP") << QStringList{"@", "127.0.0.1"}
                             << QList{FakeEchoClient::cannotRun("no socket")} << "" << true << 1
                             << "Error! The device check cannot run: no socket" << true;
    QTest::newRow("no updater") << QStringList{"@", "127.0.0.1"} << replies << "" << false << 1
                                << "Error! Cannot start the program " << true;
    QTest::newRow("malformed section file") << QStringList{"@", "127.0.0.1"} << replies
                                            << "PDO_CANopen.xml" << true << 1
                                            << "Error! Cannot read the file " << false;
    QTest::newRow("payload too large") << QStringList{"@", "127.0.0.1"} << replies
                                       << "LoRaWAN_SetAccess.xml:NumByte"
                                       << true << 1 << "Num. Byte not conformed" << false;
    QTest::newRow("missing folder") << QStringList{"@/nowhere", "127.0.0.1"} << replies << ""
                                    << true << 1 << "not a project folder" << false;
    QTest::newRow("name instead of address") << QStringList{"@", "localhost"} << replies << ""
                                             << true << 2 << "not an IPv4 address" << false;
    QTest::newRow("three octets") << QStringList{"@", "127.0.1"} << replies << "" << true << 2
                                  << "not an IPv4 address" << false;
    QTest::newRow("unknown option") << QStringList{"@", "127.0.0.1", "--option", "all"} << replies
                                    << "" << true << 2 << "usage:" << false;
    QTest::newRow("no address") << QStringList{"@"} << replies << "" << true << 2 << "usage:"
                                << false;
}

void TestUpdateCommand::failuresStopWithAMessage()
{
    QFETCH(QStringList, arguments);
    QFETCH(QList<FakeEchoClient::Answer>, echo);
    QFETCH(QString, breakFile);
    QFETCH(bool, installUpdater);
    QFETCH(int, code);
    QFETCH(QString, message);
    QFETCH(bool, pinged);

    Fixture f;
    if (installUpdater)
        QVERIFY(testing_support::installStandInUpdater(f.executable));
    f.echo.script = echo;
    if (!breakFile.isEmpty()) {
        const QString path = f.project + '/' + breakFile.section(':', 0, 0);
        if (!breakFile.contains(':')) {
            QVERIFY(writeFile(path, "<Root><open></Root>"));
        } else {
            QByteArray content = readFile(path);
            QVERIFY(content.contains("NumByte=\"10\""));
            QVERIFY(writeFile(path, content.replace("NumByte=\"10\"", "NumByte=\"999\"")));
        }
    }
    arguments.replaceInStrings("@", f.project);
    QElapsedTimer timer;
    timer.start();
    const CliRun run = f.run(arguments);
    QCOMPARE(run.code, code);
    QVERIFY2(run.err.contains(message.toUtf8()), run.err.constData());
    QCOMPARE(!f.echo.targets.isEmpty(), pinged);
    QVERIFY(!QFile::exists(f.ran()));
    if (!pinged)
        QVERIFY(!QFile::exists(f.job()));
    QVERIFY(timer.elapsed() < 3000); // the 5 s check ran on the fake clock
}

void TestUpdateCommand::updaterLimitIsInjected()
{
    Fixture f;
    QVERIFY(testing_support::installStandInUpdater(f.executable));
    qputenv("SWZ_STANDIN_SLEEP_MS", "3000");
    ProcessLauncher shortWait(steadyClock(), 200);
    f.seams.launcher = &shortWait;
    QElapsedTimer timer;
    timer.start();
    const CliRun run = f.run({f.project, "127.0.0.1"});
    qunsetenv("SWZ_STANDIN_SLEEP_MS");
    QCOMPARE(run.code, 0);
    QVERIFY2(run.err.contains("the updater is still running"), run.err.constData());
    QVERIFY(timer.elapsed() < 2500);
    QTRY_VERIFY(QFile::exists(f.ran()));
}

void TestUpdateCommand::realEchoOfTheLoopback()
{
    IcmpEchoClient icmp;
    const EchoReply probe = icmp.Ping("127.0.0.1", "probe", 400);
    if (probe.kind == EchoReply::Kind::CannotRun || probe.kind == EchoReply::Kind::Error)
        QSKIP(qPrintable("cannot send to 127.0.0.1 here: " + probe.error));

    Fixture f;
    QVERIFY(testing_support::installStandInUpdater(f.executable));
    qunsetenv("SWZ_STANDIN_SLEEP_MS");
    f.seams.echo = nullptr; // the real echo, to the loopback address only
    f.seams.clock = nullptr;
    f.seams.limits.totalMs = 2000;
    const CliRun run = f.run({f.project, "127.0.0.1"});
    QVERIFY2(run.code == 0, run.err.constData());
    QVERIFY(readFile(f.ran()).contains("<IP_Address_Dev>127.0.0.1</IP_Address_Dev>"));
}

QTEST_GUILESS_MAIN(TestUpdateCommand)
#include "test_update_command.moc"
