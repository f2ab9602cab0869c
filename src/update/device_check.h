#pragma once

#include "update/wait_clock.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace swz {

// What the update says about a failed check: a time-out, any other failure, no ICMP at all.
inline constexpr int kTextDeviceNotFound = 1036; // "Device Not Found!" (a warning)
inline constexpr int kTextCheckAddress = 1037;   // "Error!!! Check the Ip Address"
inline constexpr int kTextCheckCannotRun = 1091; // "Error! The device check cannot run: "

// What one echo request came to.
struct EchoReply
{
    enum class Kind {
        Reply,     // a reply event: bytes > 0 when the reply carried data, 0 for a time-out
        NoEvent,   // the client reported nothing
        Error,     // the request failed (bad address, send error)
        CannotRun, // no ICMP socket or service could be opened on this machine
    };

    Kind kind = Kind::NoEvent;
    int bytes = 0;
    QString error;
};

// Sends one ICMP echo request and waits up to timeoutMs for its reply. Behind an interface so
// that tests never depend on the network.
class EchoClient
{
public:
    virtual ~EchoClient() = default;
    virtual EchoReply Ping(const QString &target, const QByteArray &data, int timeoutMs) = 0;
};

// The system's ICMP echo over IPv4. On Linux an unprivileged ICMP datagram socket, else a raw
// socket when the process may open one; on Windows the system's echo service. Only dotted
// IPv4 texts are accepted: nothing is ever looked up by name.
class IcmpEchoClient final : public EchoClient
{
public:
    EchoReply Ping(const QString &target, const QByteArray &data, int timeoutMs) override;

    // Called every few milliseconds while a reply is awaited; the windows use it to repaint.
    void setIdle(WaitIdle idle) { m_idle = std::move(idle); }

private:
    quint16 m_sequence = 0;
    WaitIdle m_idle;
};

// The four decimal octets of a strict dotted IPv4 text (digits only, no blanks), or nothing.
std::optional<quint32> parseDottedIPv4(const QString &text);

struct CheckLimits
{
    int replyTimeoutMs = 400;  // receive time-out of one echo
    qint64 totalMs = 5000;     // the check ends after this
    int successesNeeded = 2;
};

struct DeviceCheck
{
    bool reachable = false;
    // The status of the last echo: 0 no reply event yet, 1 a reply with data, 2 a reply
    // without data (time-out).
    int ping_res = 0;
    QString error;     // why the check ended with an error
    QString cannotRun; // set when the machine cannot send ICMP echo requests at all
};

// The reachability check: echoes carrying the target text until two replies with data came,
// or the time is over. The status is not reset between attempts, so a device that answered
// once and then stopped counts as unreachable.
DeviceCheck Send_Ping(EchoClient &client, const QString &target, WaitClock &clock,
                      const CheckLimits &limits = {}, const WaitIdle &idle = {});

} // namespace swz
