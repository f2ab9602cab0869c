#include "update/wait_clock.h"

#include <QElapsedTimer>
#include <QThread>

namespace swz {

namespace {

class SteadyClock final : public WaitClock
{
public:
    SteadyClock() { m_timer.start(); }
    qint64 nowMs() override { return m_timer.elapsed(); }
    void sleepMs(int ms) override { QThread::msleep(ulong(ms)); }

private:
    QElapsedTimer m_timer;
};

} // namespace

WaitClock &steadyClock()
{
    static SteadyClock clock;
    return clock;
}

} // namespace swz
