#pragma once

#include <QtGlobal>

#include <functional>

namespace swz {

// The clock of the update's waits (the device check and the updater wait). Behind an interface
// so that tests run the time limits on a fake clock instead of waiting them out.
class WaitClock
{
public:
    virtual ~WaitClock() = default;
    // Milliseconds on a monotonic scale; only differences mean anything.
    virtual qint64 nowMs() = 0;
    virtual void sleepMs(int ms) = 0;
};

// The real monotonic clock.
WaitClock &steadyClock();

// Called between the short sleeps of a wait: the windows use it to stay painted.
using WaitIdle = std::function<void()>;

} // namespace swz
