#include "update/updater_launch.h"

#include "test_support.h"
#include "update/update_test_support.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#ifndef Q_OS_WIN
#  include <csignal>
#  include <sys/wait.h>
#endif

using namespace swz;
using testing_support::installStandInUpdater;
using testing_support::readFile;

namespace {

#ifndef Q_OS_WIN
// The state letter of /proc/<pid>/stat ('Z' for a zombie), or 0 when the process is gone.
char processState(qint64 pid)
{
    const QByteArray stat = readFile(QStringLiteral("/proc/%1/stat").arg(pid));
    const qsizetype close = stat.lastIndexOf(')');
    return close < 0 || close + 2 >= stat.size() ? 0 : stat.at(close + 2);
}

// Waits until the process is gone for good, reaped and not merely dead.
bool goneWithin(qint64 pid, int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (processState(pid) != 0) {
        if (timer.elapsed() > ms)
            return false;
        QTest::qSleep(10);
    }
    return true;
}
#endif

} // namespace

class TestUpdaterLaunch : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void endsAtOnce();
    void runsPastTheLimitAndIsLeftRunning();
    void notStarted_data();
    void notStarted();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_updater;
    qint64 m_leftRunning = 0;
};

void TestUpdaterLaunch::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(installStandInUpdater(m_dir->path()));
    m_updater = updaterPath(QDir::toNativeSeparators(m_dir->path()));
    qunsetenv("SWZ_STANDIN_SLEEP_MS");
}

void TestUpdaterLaunch::cleanup()
{
#ifndef Q_OS_WIN
    // Never leave a stand-in behind, whatever a test did.
    if (m_leftRunning > 0 && processState(m_leftRunning) != 0)
        ::kill(pid_t(m_leftRunning), SIGKILL);
#endif
    m_leftRunning = 0;
}

void TestUpdaterLaunch::endsAtOnce()
{
    ProcessLauncher launcher;
    QElapsedTimer timer;
    timer.start();
    const LaunchResult result = launcher.Start_Program(m_updater, QString(), 0);
    const qint64 took = timer.elapsed();

    QCOMPARE(result.status, LaunchResult::Status::Ended);
    QVERIFY(result.error.isEmpty());
    QVERIFY2(took < 3000, qPrintable(QString::number(took)));
    // It ran, without arguments; its exit code 3 is not taken for a failure.
    const QByteArray record = readFile(m_dir->filePath("updater-ran.txt"));
    QVERIFY2(record.startsWith(QString("pid %1\nargs 0\n").arg(result.pid).toLatin1()),
             record.constData());
#ifndef Q_OS_WIN
    // Already collected: no zombie is left.
    QCOMPARE(processState(result.pid), char(0));
#endif
}

void TestUpdaterLaunch::runsPastTheLimitAndIsLeftRunning()
{
#ifdef Q_OS_WIN
    QSKIP("process states are read from /proc");
#else
    qputenv("SWZ_STANDIN_SLEEP_MS", "30000");
    ProcessLauncher launcher(steadyClock(), 300);
    int idleCalls = 0;
    launcher.setIdle([&idleCalls] { ++idleCalls; });
    QElapsedTimer timer;
    timer.start();
    const LaunchResult result = launcher.Start_Program(m_updater, QString(), 0);
    const qint64 took = timer.elapsed();
    m_leftRunning = result.pid;

    QCOMPARE(result.status, LaunchResult::Status::StillRunning);
    QVERIFY2(took >= 300 && took < 3000, qPrintable(QString::number(took)));
    QVERIFY(idleCalls >= 5);
    // Not stopped: still running after the wait.
    QVERIFY(processState(result.pid) != 0);
    QVERIFY(processState(result.pid) != 'Z');

    // When it ends later it is collected, not left a zombie.
    QCOMPARE(::kill(pid_t(result.pid), SIGTERM), 0);
    QVERIFY(goneWithin(result.pid, 5000));
#endif
}

void TestUpdaterLaunch::notStarted_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content"); // empty: the file does not exist

    QTest::newRow("missing") << "Missing_Update" << QByteArray();
    QTest::newRow("not a program") << "Not_A_Program" << QByteArray("just text\n");
}

void TestUpdaterLaunch::notStarted()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);

    const QString path = m_dir->filePath(name);
    if (!content.isEmpty())
        QVERIFY(testing_support::writeFile(path, content));
    ProcessLauncher launcher;
    QElapsedTimer timer;
    timer.start();
    const LaunchResult result = launcher.Start_Program(path, QString(), 0);
    QCOMPARE(result.status, LaunchResult::Status::NotStarted);
    QVERIFY(!result.started());
    QVERIFY2(!result.error.isEmpty(), "the system's reason is reported");
    QVERIFY(timer.elapsed() < 2000);
}

QTEST_GUILESS_MAIN(TestUpdaterLaunch)
#include "test_updater_launch.moc"
