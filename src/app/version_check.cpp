#include "app/version_check.h"

#include "common/text_values.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QHostAddress>
#include <QHostInfo>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>

namespace swz {

namespace {

// A version reply is a few bytes; anything far larger is not one.
constexpr qsizetype kMaxReplyBytes = 1 << 20;

int remainingMs(const QDeadlineTimer &deadline)
{
    return int(std::clamp<qint64>(deadline.remainingTime(), 0, 24 * 3600 * 1000));
}

qsizetype headerEnd(const QByteArray &reply, qsizetype *bodyStart)
{
    const qsizetype crlf = reply.indexOf("\r\n\r\n");
    const qsizetype lf = reply.indexOf("\n\n");
    if (crlf >= 0 && (lf < 0 || crlf < lf)) {
        *bodyStart = crlf + 4;
        return crlf;
    }
    if (lf >= 0) {
        *bodyStart = lf + 2;
        return lf;
    }
    return -1;
}

// The Content-Length of a complete header, or -1 when it names none.
qsizetype contentLength(const QByteArray &header)
{
    for (const QByteArray &line : header.split('\n')) {
        const qsizetype colon = line.indexOf(':');
        if (colon < 0 || line.left(colon).trimmed().toLower() != "content-length")
            continue;
        bool ok = false;
        const qsizetype length = line.mid(colon + 1).trimmed().toLongLong(&ok);
        return ok && length >= 0 ? length : -1;
    }
    return -1;
}

bool replyComplete(const QByteArray &reply)
{
    qsizetype bodyStart = 0;
    const qsizetype end = headerEnd(reply, &bodyStart);
    if (end < 0)
        return false;
    const qsizetype length = contentLength(reply.left(end));
    return length >= 0 && reply.size() - bodyStart >= length;
}

// The address of a host, found before the deadline. The socket's own blocking lookup has no
// time limit, and a resolver without network can take far longer than the query may; so the
// name is looked up in the background while only this wait (not the user's input) is served.
std::optional<QHostAddress> lookUpHost(const QString &host, const QDeadlineTimer &deadline)
{
    QHostAddress literal;
    if (literal.setAddress(host))
        return literal;
    QEventLoop loop;
    QObject context;
    bool done = false;
    std::optional<QHostAddress> found;
    const int lookup = QHostInfo::lookupHost(host, &context, [&](const QHostInfo &info) {
        done = true;
        const QList<QHostAddress> addresses = info.addresses();
        if (info.error() == QHostInfo::NoError && !addresses.isEmpty()) {
            const auto ipv4 = std::find_if(addresses.begin(), addresses.end(), [](const QHostAddress &a) {
                return a.protocol() == QAbstractSocket::IPv4Protocol;
            });
            found = ipv4 != addresses.end() ? *ipv4 : addresses.first();
        }
        loop.quit();
    });
    QTimer::singleShot(remainingMs(deadline), &loop, &QEventLoop::quit);
    if (!done)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (!done)
        QHostInfo::abortHostLookup(lookup);
    return found;
}

} // namespace

QByteArray httpGetRequestBytes(const HttpRequest &request)
{
    QByteArray host = request.host.toUtf8();
    if (request.port != 80)
        host += ':' + QByteArray::number(request.port);
    return "GET " + request.target.toUtf8() + " HTTP/1.0\r\n"
           "Host: " + host + "\r\n"
           "User-Agent: " + profile::softwareCode.toUtf8() + '/'
           + profile::softwareVersion.toUtf8() + "\r\n"
           "Accept: */*\r\n"
           "\r\n";
}

std::optional<QByteArray> httpReplyBody(const QByteArray &reply)
{
    qsizetype bodyStart = 0;
    const qsizetype end = headerEnd(reply, &bodyStart);
    if (end < 0)
        return std::nullopt;
    const QByteArray header = reply.left(end);
    const qsizetype lineEnd = header.indexOf('\n');
    const QByteArray statusLine = (lineEnd < 0 ? header : header.left(lineEnd)).trimmed();
    const QList<QByteArray> parts = statusLine.split(' ');
    if (parts.size() < 2 || !parts[0].startsWith("HTTP/1."))
        return std::nullopt;
    bool ok = false;
    const int status = parts[1].toInt(&ok);
    if (!ok || status < 200 || status > 299)
        return std::nullopt;
    QByteArray body = reply.mid(bodyStart);
    const qsizetype length = contentLength(header);
    if (length >= 0) {
        if (body.size() < length)
            return std::nullopt; // cut short
        body.truncate(length);
    }
    return body;
}

std::optional<QByteArray> Http10Client::get(const HttpRequest &request)
{
    const QDeadlineTimer deadline(std::max(0, request.timeoutMs));
    const std::optional<QHostAddress> address = lookUpHost(request.host, deadline);
    if (!address)
        return std::nullopt;
    QTcpSocket socket;
    socket.connectToHost(*address, request.port);
    if (!socket.waitForConnected(remainingMs(deadline)))
        return std::nullopt;
    socket.write(httpGetRequestBytes(request));
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(remainingMs(deadline)))
            return std::nullopt;
    }
    QByteArray reply;
    for (;;) {
        reply += socket.readAll();
        if (reply.size() > kMaxReplyBytes)
            return std::nullopt;
        if (replyComplete(reply) || socket.state() != QAbstractSocket::ConnectedState)
            break;
        if (deadline.hasExpired())
            return std::nullopt;
        if (!socket.waitForReadyRead(remainingMs(deadline))) {
            // An HTTP/1.0 server ends its reply by closing the connection.
            if (socket.error() != QAbstractSocket::RemoteHostClosedError)
                return std::nullopt;
            reply += socket.readAll();
            break;
        }
    }
    socket.abort();
    return httpReplyBody(reply);
}

HttpRequest VersionQuery::request() const
{
    HttpRequest request;
    request.host = host;
    request.port = port;
    request.target = QStringLiteral("/home/download/GetversionSW.asp?nomesw=") + profile::softwareCode;
    request.timeoutMs = timeoutMs;
    return request;
}

int Conv_Version(const QString &text)
{
    const qsizetype blank = text.indexOf(u' ');
    const QString version = trimBlanks(blank < 0 ? QStringView(text) : QStringView(text).mid(blank + 1));
    if (version.size() < 5)
        return -1;
    const QString digits = QString(version[0]) + version[2] + version[3] + version[4];
    return readIntegerOr(digits, -1);
}

bool replyOffersNewerVersion(const QString &reply, const QString &localVersion)
{
    const QString trimmed = trimBlanks(reply);
    const QString upper = trimmed.toUpper();
    if (upper.isEmpty() || upper == QStringLiteral("VER. 0.000"))
        return false;
    const int local = Conv_Version(localVersion);
    const int remote = Conv_Version(trimmed);
    return local != -1 && remote != -1 && remote > local;
}

bool Check_Version(HttpClient &client, const VersionQuery &query)
{
    const std::optional<QByteArray> body = client.get(query.request());
    return replyOffersNewerVersion(body ? QString::fromUtf8(*body) : QString());
}

} // namespace swz
