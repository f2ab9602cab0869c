#pragma once

#include "update/device_check.h"
#include "update/update_job.h"
#include "update/updater_launch.h"
#include "update/wait_clock.h"

#include <QDir>
#include <QFile>
#include <QList>
#include <QStringList>

#include <functional>

namespace testing_support {

// Time passes only when someone sleeps or a fake says so.
class FakeClock final : public swz::WaitClock
{
public:
    qint64 nowMs() override { return now; }
    void sleepMs(int ms) override { now += ms; }
    qint64 now = 1000;
};

// Answers echo requests from a script; the last entry repeats. Each answer advances the clock
// by the time the echo took.
class FakeEchoClient final : public swz::EchoClient
{
public:
    struct Answer
    {
        swz::EchoReply reply;
        int takesMs = 0;
    };

    explicit FakeEchoClient(FakeClock &clock) : m_clock(clock) {}

    static Answer data(int bytes = 13, int takesMs = 1)
    {
        return {{swz::EchoReply::Kind::Reply, bytes, {}}, takesMs};
    }
    static Answer timeout(int takesMs = 400) { return {{swz::EchoReply::Kind::Reply, 0, {}}, takesMs}; }
    static Answer noEvent() { return {{swz::EchoReply::Kind::NoEvent, 0, {}}, 0}; }
    static Answer error(const QString &why) { return {{swz::EchoReply::Kind::Error, 0, why}, 0}; }
    static Answer cannotRun(const QString &why)
    {
        return {{swz::EchoReply::Kind::CannotRun, 0, why}, 0};
    }

    swz::EchoReply Ping(const QString &target, const QByteArray &data, int timeoutMs) override
    {
        targets.append(target);
        payloads.append(data);
        timeouts.append(timeoutMs);
        const Answer answer = script.isEmpty() ? timeout()
                                               : script.at(qMin(targets.size() - 1,
                                                                script.size() - 1));
        m_clock.now += answer.takesMs;
        return answer.reply;
    }

    QList<Answer> script;
    QStringList targets;
    QList<QByteArray> payloads;
    QList<int> timeouts;

private:
    FakeClock &m_clock;
};

// Records the programs it was asked to start.
class FakeLauncher final : public swz::ProgramLauncher
{
public:
    swz::LaunchResult Start_Program(const QString &NomeSW, const QString &Parameter,
                                    int tipo) override
    {
        calls.append({NomeSW, Parameter, tipo});
        if (onStart)
            onStart();
        return result;
    }

    struct Call
    {
        QString program;
        QString parameter;
        int tipo;
    };
    QList<Call> calls;
    swz::LaunchResult result{swz::LaunchResult::Status::Ended, {}, 1};
    std::function<void()> onStart;
};

#ifdef SWZ_STANDIN_UPDATER
// Puts the stand-in updater into folder under the updater's name.
inline bool installStandInUpdater(const QString &folder)
{
    const QString target = swz::updaterPath(QDir::toNativeSeparators(folder));
    QFile::remove(target);
    return QFile::copy(QStringLiteral(SWZ_STANDIN_UPDATER), target);
}
#endif

} // namespace testing_support

Q_DECLARE_METATYPE(testing_support::FakeEchoClient::Answer)
