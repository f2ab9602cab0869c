#include "update/updater_launch.h"

#include <QFileInfo>
#include <QProcess>

#ifdef Q_OS_WIN
#  include <qt_windows.h>
#  include <shellapi.h>
#else
#  include <cerrno>
#  include <csignal>
#  include <spawn.h>
#  include <sys/wait.h>
#  include <thread>
#  include <vector>
extern char **environ;
#endif

namespace swz {

ProcessLauncher::ProcessLauncher(WaitClock &clock, qint64 limitMs)
    : m_clock(clock)
    , m_limitMs(limitMs)
{
}

#ifdef Q_OS_WIN

LaunchResult ProcessLauncher::Start_Program(const QString &NomeSW, const QString &Parameter,
                                            int tipo)
{
    LaunchResult result;
    const std::wstring file = NomeSW.toStdWString();
    const std::wstring parameters = Parameter.toStdWString();
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = L"open";
    info.lpFile = file.c_str();
    info.lpParameters = parameters.empty() ? nullptr : parameters.c_str();
    info.nShow = tipo == 0 ? SW_SHOWNORMAL : SW_HIDE;
    if (!ShellExecuteExW(&info) || !info.hProcess) {
        result.error = qt_error_string(int(GetLastError()));
        return result;
    }
    result.pid = qint64(GetProcessId(info.hProcess));
    result.status = LaunchResult::Status::Ended;
    const qint64 start = m_clock.nowMs();
    while (WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT) {
        if (m_clock.nowMs() - start > m_limitMs - 1) {
            result.status = LaunchResult::Status::StillRunning;
            break;
        }
        m_clock.sleepMs(10);
        if (m_idle)
            m_idle();
    }
    // Closing the handle leaves a program that is still running alone.
    CloseHandle(info.hProcess);
    return result;
}

#else

LaunchResult ProcessLauncher::Start_Program(const QString &NomeSW, const QString &Parameter,
                                            int tipo)
{
    Q_UNUSED(tipo); // showing or hiding a window is the desktop's business here
    LaunchResult result;

    const QByteArray program = QFileInfo(NomeSW).absoluteFilePath().toLocal8Bit();
    QList<QByteArray> arguments{program};
    for (const QString &argument : QProcess::splitCommand(Parameter))
        arguments.append(argument.toLocal8Bit());
    std::vector<char *> argv;
    for (QByteArray &argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    pid_t pid = 0;
    const int failure = posix_spawn(&pid, program.constData(), nullptr, nullptr, argv.data(),
                                    environ);
    if (failure != 0) {
        result.error = qt_error_string(failure);
        return result;
    }
    result.pid = pid;
    result.status = LaunchResult::Status::Ended;

    const qint64 start = m_clock.nowMs();
    for (;;) {
        int status = 0;
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid || (done < 0 && errno != EINTR))
            return result; // ended and reaped; the exit code is not looked at
        if (m_clock.nowMs() - start > m_limitMs - 1)
            break;
        m_clock.sleepMs(10);
        if (m_idle)
            m_idle();
    }

    // The updater goes on without us. Someone has to collect it when it ends, or it would stay
    // a zombie for as long as the configurator runs; a thread that does nothing else waits for
    // it. If the configurator ends first, the system adopts the updater.
    result.status = LaunchResult::Status::StillRunning;
    std::thread([pid] {
        while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
        }
    }).detach();
    return result;
}

#endif

} // namespace swz
