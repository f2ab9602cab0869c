#include "update/device_check.h"

#include <QStringList>

namespace swz {

std::optional<quint32> parseDottedIPv4(const QString &text)
{
    const QStringList parts = text.split(u'.');
    if (parts.size() != 4)
        return std::nullopt;
    quint32 address = 0;
    for (const QString &part : parts) {
        if (part.isEmpty() || part.size() > 3)
            return std::nullopt;
        int value = 0;
        for (const QChar c : part) {
            if (c < u'0' || c > u'9')
                return std::nullopt;
            value = value * 10 + (c.unicode() - u'0');
        }
        if (value > 255)
            return std::nullopt;
        address = (address << 8) | quint32(value);
    }
    return address;
}

DeviceCheck Send_Ping(EchoClient &client, const QString &target, WaitClock &clock,
                      const CheckLimits &limits, const WaitIdle &idle)
{
    DeviceCheck check;
    // A text that is no dotted address is refused before anything is sent, so that a typing
    // error can never turn into a name lookup or a request to some other host.
    if (!parseDottedIPv4(target)) {
        check.error = QStringLiteral("not a valid IPv4 address: ") + target;
        return check;
    }
    const QByteArray data = target.toLatin1();
    const qint64 start = clock.nowMs();
    int successes = 0;
    for (;;) {
        const qint64 attempt = clock.nowMs();
        const EchoReply reply = client.Ping(target, data, limits.replyTimeoutMs);
        switch (reply.kind) {
        case EchoReply::Kind::Reply:
            check.ping_res = reply.bytes > 0 ? 1 : 2;
            break;
        case EchoReply::Kind::NoEvent:
            break;
        case EchoReply::Kind::Error:
            check.error = reply.error;
            return check;
        case EchoReply::Kind::CannotRun:
            check.cannotRun = reply.error;
            return check;
        }
        while (check.ping_res == 0 && clock.nowMs() - attempt <= limits.replyTimeoutMs) {
            clock.sleepMs(10);
            if (idle)
                idle();
        }
        // A reply without data that came back early (an unreachable host, say) must not turn
        // the check into a burst of requests: pace the attempts by the receive time-out.
        if (reply.kind != EchoReply::Kind::Reply || reply.bytes == 0) {
            while (clock.nowMs() - attempt < limits.replyTimeoutMs) {
                clock.sleepMs(10);
                if (idle)
                    idle();
            }
        }
        if (check.ping_res == 1)
            ++successes;
        if (successes >= limits.successesNeeded || clock.nowMs() - start > limits.totalMs)
            break;
    }
    check.reachable = check.ping_res == 1;
    return check;
}

} // namespace swz
