// The system's ICMP echo client.
#include "update/device_check.h"

#include <QElapsedTimer>

#ifdef Q_OS_WIN
#  include <winsock2.h>
#  include <ws2tcpip.h>
#  include <iphlpapi.h>
#  include <icmpapi.h>
#else
#  include <arpa/inet.h>
#  include <cerrno>
#  include <netinet/in.h>
#  include <poll.h>
#  include <sys/socket.h>
#  include <unistd.h>
#endif

namespace swz {

#ifdef Q_OS_WIN

EchoReply IcmpEchoClient::Ping(const QString &target, const QByteArray &data, int timeoutMs)
{
    EchoReply reply;
    const std::optional<quint32> address = parseDottedIPv4(target);
    if (!address) {
        reply.kind = EchoReply::Kind::Error;
        reply.error = QStringLiteral("not a valid IPv4 address: ") + target;
        return reply;
    }
    HANDLE icmp = IcmpCreateFile();
    if (icmp == INVALID_HANDLE_VALUE) {
        reply.kind = EchoReply::Kind::CannotRun;
        reply.error = QStringLiteral("the system's ICMP echo service: ")
                      + qt_error_string(int(GetLastError()));
        return reply;
    }
    QByteArray buffer(int(sizeof(ICMP_ECHO_REPLY)) + data.size() + 8 + 64, '\0');
    const DWORD count = IcmpSendEcho(icmp, htonl(*address), const_cast<char *>(data.constData()),
                                     WORD(data.size()), nullptr, buffer.data(),
                                     DWORD(buffer.size()), DWORD(timeoutMs));
    const DWORD lastError = GetLastError();
    IcmpCloseHandle(icmp);
    reply.kind = EchoReply::Kind::Reply;
    if (count > 0) {
        const auto *echo = reinterpret_cast<const ICMP_ECHO_REPLY *>(buffer.constData());
        reply.bytes = echo->Status == IP_SUCCESS ? int(echo->DataSize) : 0;
    } else if (lastError != IP_REQ_TIMED_OUT && lastError != IP_DEST_HOST_UNREACHABLE
               && lastError != IP_DEST_NET_UNREACHABLE) {
        reply.kind = EchoReply::Kind::Error;
        reply.error = qt_error_string(int(lastError));
    }
    return reply;
}

#else

namespace {

quint16 checksum(const QByteArray &packet)
{
    quint32 sum = 0;
    for (qsizetype i = 0; i + 1 < packet.size(); i += 2)
        sum += quint32(quint8(packet[i]) << 8 | quint8(packet[i + 1]));
    if (packet.size() % 2)
        sum += quint32(quint8(packet.back()) << 8);
    while (sum >> 16)
        sum = (sum & 0xFFFF) + (sum >> 16);
    return quint16(~sum);
}

struct Socket
{
    int fd = -1;
    bool raw = false;
    ~Socket()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

constexpr quint8 kEchoRequest = 8;
constexpr quint8 kEchoReply = 0;
constexpr int kIcmpHeader = 8;
constexpr int kIdleSliceMs = 20;

} // namespace

EchoReply IcmpEchoClient::Ping(const QString &target, const QByteArray &data, int timeoutMs)
{
    EchoReply reply;
    const std::optional<quint32> address = parseDottedIPv4(target);
    if (!address) {
        reply.kind = EchoReply::Kind::Error;
        reply.error = QStringLiteral("not a valid IPv4 address: ") + target;
        return reply;
    }

    // The datagram socket needs no privilege where net.ipv4.ping_group_range admits our group;
    // a raw socket needs CAP_NET_RAW.
    Socket sock;
    sock.fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_ICMP);
    if (sock.fd < 0) {
        const int datagramError = errno;
        sock.fd = ::socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP);
        sock.raw = true;
        if (sock.fd < 0) {
            const int rawError = errno;
            reply.kind = EchoReply::Kind::CannotRun;
            reply.error = QStringLiteral("no ICMP socket can be opened (datagram socket: %1, "
                                         "see net.ipv4.ping_group_range; raw socket: %2)")
                              .arg(qt_error_string(datagramError), qt_error_string(rawError));
            return reply;
        }
    }

    // On a datagram socket the kernel puts its own identifier in and matches replies by it.
    const quint16 identifier = quint16(::getpid());
    const quint16 sequence = ++m_sequence;
    QByteArray packet(kIcmpHeader, '\0');
    packet[0] = char(kEchoRequest);
    packet[4] = char(identifier >> 8);
    packet[5] = char(identifier & 0xFF);
    packet[6] = char(sequence >> 8);
    packet[7] = char(sequence & 0xFF);
    packet += data;
    const quint16 sum = checksum(packet);
    packet[2] = char(sum >> 8);
    packet[3] = char(sum & 0xFF);

    sockaddr_in to = {};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = htonl(*address);
    if (::sendto(sock.fd, packet.constData(), size_t(packet.size()), 0,
                 reinterpret_cast<const sockaddr *>(&to), sizeof(to))
        < 0) {
        reply.kind = EchoReply::Kind::Error;
        reply.error = qt_error_string(errno);
        return reply;
    }

    // Other ICMP traffic (our own request on the loopback, other programs' echoes on a raw
    // socket) is skipped until our reply comes or the time is over.
    QElapsedTimer timer;
    timer.start();
    reply.kind = EchoReply::Kind::Reply;
    QByteArray buffer(65536, '\0');
    for (;;) {
        const qint64 left = timeoutMs - timer.elapsed();
        if (left <= 0)
            return reply; // a time-out: a reply event without data
        pollfd waitFor = {sock.fd, POLLIN, 0};
        const int ready = ::poll(&waitFor, 1, int(qMin<qint64>(left, kIdleSliceMs)));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0)
            return reply;
        if (ready == 0) {
            if (m_idle)
                m_idle();
            continue;
        }
        sockaddr_in from = {};
        socklen_t fromSize = sizeof(from);
        const ssize_t got = ::recvfrom(sock.fd, buffer.data(), size_t(buffer.size()), 0,
                                       reinterpret_cast<sockaddr *>(&from), &fromSize);
        if (got < 0) {
            if (errno == EINTR || errno == EAGAIN)
                continue;
            reply.kind = EchoReply::Kind::Error;
            reply.error = qt_error_string(errno);
            return reply;
        }
        qsizetype offset = 0;
        if (sock.raw) {
            if (got < 20)
                continue;
            offset = qsizetype(quint8(buffer[0]) & 0x0F) * 4;
        }
        if (got < offset + kIcmpHeader || from.sin_addr.s_addr != to.sin_addr.s_addr)
            continue;
        const auto byte = [&buffer, offset](int i) { return quint8(buffer[offset + i]); };
        if (byte(0) != kEchoReply || (quint16(byte(6) << 8 | byte(7))) != sequence)
            continue;
        if (sock.raw && quint16(byte(4) << 8 | byte(5)) != identifier)
            continue;
        reply.bytes = int(got - offset - kIcmpHeader);
        return reply;
    }
}

#endif

} // namespace swz
