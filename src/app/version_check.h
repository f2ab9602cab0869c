#pragma once

#include "app/model_profile.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace swz {

// One GET request: host, port, path with query, and the time the whole exchange may take.
struct HttpRequest
{
    QString host;
    quint16 port = 80;
    QString target;
    int timeoutMs = 5000;
};

// The HTTP client of the version query; behind an interface so that tests and trials never
// reach the maker's web site.
class HttpClient
{
public:
    virtual ~HttpClient() = default;
    // The body of a successful (2xx) reply; nothing on any failure: no connection, no answer
    // in time, an error status, a reply that is not HTTP.
    virtual std::optional<QByteArray> get(const HttpRequest &request) = 0;
};

// A blocking HTTP/1.0 GET over a TCP socket, without cookies. The time limit covers name
// lookup, connection and reply together, so an unreachable site cannot freeze the program.
class Http10Client final : public HttpClient
{
public:
    std::optional<QByteArray> get(const HttpRequest &request) override;
};

// The request bytes Http10Client sends.
QByteArray httpGetRequestBytes(const HttpRequest &request);

// The body of a raw HTTP reply when its status is 2xx; nothing otherwise.
std::optional<QByteArray> httpReplyBody(const QByteArray &reply);

// Where the configurator asks for its newest version. Trials point it at a local server.
struct VersionQuery
{
    QString host = profile::makerWebAddress;
    quint16 port = 80;
    // A few seconds: long enough for a slow site, short enough not to look like a hang.
    int timeoutMs = 5000;

    HttpRequest request() const;
};

// A version text "d.ddd" (after an optional word and a blank) as the integer of its digits,
// "1.000" giving 1000; -1 when the text is too short or its digits are no integer.
int Conv_Version(const QString &text);

// True when the reply of the version query names a version newer than localVersion.
bool replyOffersNewerVersion(const QString &reply,
                             const QString &localVersion = profile::softwareVersion);

// Asks the web site; any failure reads as "no newer version", without a message.
bool Check_Version(HttpClient &client, const VersionQuery &query = {});

} // namespace swz
