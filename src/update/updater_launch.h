#pragma once

#include "update/wait_clock.h"

#include <QString>

namespace swz {

// How long the configurator waits for the external updater before it goes on without it.
inline constexpr qint64 kUpdaterWaitMs = 150000;

inline constexpr int kTextCannotStartProgram = 1090; // "Error! Cannot start the program "

struct LaunchResult
{
    enum class Status {
        Ended,        // the program ended within the waiting time
        StillRunning, // the waiting time is over; the program goes on and is not stopped
        NotStarted,   // the program is missing or could not be started
    };

    Status status = Status::NotStarted;
    QString error; // the system's reason when NotStarted
    qint64 pid = 0;

    bool started() const { return status != Status::NotStarted; }
};

// Starts a program and waits for it. Behind an interface so that the update window can be
// tested without starting anything.
class ProgramLauncher
{
public:
    virtual ~ProgramLauncher() = default;
    // NomeSW: full path of the program; Parameter: its command-line text; tipo: 0 shows its
    // window normally, any other value starts it hidden. The exit code is never examined.
    virtual LaunchResult Start_Program(const QString &NomeSW, const QString &Parameter,
                                       int tipo) = 0;
};

// Starts a real process and polls it every 10 ms until it ends or the limit is over. A
// program left running is still reaped when it ends later, so it never stays a zombie.
class ProcessLauncher final : public ProgramLauncher
{
public:
    explicit ProcessLauncher(WaitClock &clock = steadyClock(), qint64 limitMs = kUpdaterWaitMs);

    // Called between the polls; the windows use it to repaint.
    void setIdle(WaitIdle idle) { m_idle = std::move(idle); }
    void setLimit(qint64 limitMs) { m_limitMs = limitMs; }

    LaunchResult Start_Program(const QString &NomeSW, const QString &Parameter, int tipo) override;

private:
    WaitClock &m_clock;
    qint64 m_limitMs;
    WaitIdle m_idle;
};

} // namespace swz
