#include "app/version_check.h"
#include "fake_http_client.h"

#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <future>
#include <thread>

using namespace swz;

namespace {

// A one-shot HTTP server on 127.0.0.1 in its own thread, because the client under test blocks
// the thread that calls it. It records the request bytes and then either sends its reply and
// closes, or stays silent until the client gives up.
class LocalServer
{
public:
    explicit LocalServer(std::optional<QByteArray> reply)
    {
        std::promise<quint16> portPromise;
        std::future<quint16> portFuture = portPromise.get_future();
        m_thread = std::thread([this, reply, &portPromise] {
            QTcpServer server;
            const bool listening = server.listen(QHostAddress::LocalHost, 0);
            portPromise.set_value(listening ? server.serverPort() : 0);
            if (!listening || !server.waitForNewConnection(10000))
                return;
            QTcpSocket *socket = server.nextPendingConnection();
            while (!m_received.contains("\r\n\r\n") && socket->waitForReadyRead(10000))
                m_received += socket->readAll();
            if (reply) {
                socket->write(*reply);
                socket->waitForBytesWritten(5000);
                socket->disconnectFromHost();
                if (socket->state() != QAbstractSocket::UnconnectedState)
                    socket->waitForDisconnected(5000);
            } else {
                socket->waitForDisconnected(10000);
            }
        });
        m_port = portFuture.get();
    }
    ~LocalServer() { finish(); }

    quint16 port() const { return m_port; }
    // Waits for the server to end and gives the bytes it received.
    QByteArray finish()
    {
        if (m_thread.joinable())
            m_thread.join();
        return m_received;
    }

private:
    std::thread m_thread;
    quint16 m_port = 0;
    QByteArray m_received;
};

HttpRequest localRequest(quint16 port, int timeoutMs = 5000)
{
    HttpRequest request;
    request.host = QStringLiteral("127.0.0.1");
    request.port = port;
    request.target = QStringLiteral("/home/download/GetversionSW.asp?nomesw=SWZ8K20");
    request.timeoutMs = timeoutMs;
    return request;
}

} // namespace

class TestVersionCheck : public QObject
{
    Q_OBJECT

private slots:
    void convVersion_data();
    void convVersion();
    void checkVersion_data();
    void checkVersion();
    void queryAsksForThisSoftware();
    void replyBody_data();
    void replyBody();
    void clientSendsHttp10GetAndReadsReply();
    void clientFailsOnErrorStatus();
    void clientGivesUpOnSilentServer();
    void clientFailsWhenNothingListens();
};

void TestVersionCheck::convVersion_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value");
    QTest::newRow("word and version") << "VER. 1.001" << 1001;
    QTest::newRow("local version") << "1.000" << 1000;
    QTest::newRow("no word") << "1.200" << 1200;
    QTest::newRow("control characters around") << "VER.\t 2.345\r\n" << 2345;
    QTest::newRow("any separator") << "VER. 3x456" << 3456;
    QTest::newRow("only the first five count") << "VER. 1.0019" << 1001;
    QTest::newRow("text after the version") << "VER. 1.001 extra" << 1001;
    QTest::newRow("too short") << "VER. 2.5" << -1;
    QTest::newRow("four characters") << "1.00" << -1;
    QTest::newRow("empty") << "" << -1;
    QTest::newRow("letters") << "VER. a.bcd" << -1;
    QTest::newRow("hexadecimal prefix") << "$.abc" << 0xabc;
    QTest::newRow("html") << "<!DOCTYPE html><html></html>" << -1;
}

void TestVersionCheck::convVersion()
{
    QFETCH(QString, text);
    QFETCH(int, value);
    QCOMPARE(Conv_Version(text), value);
}

void TestVersionCheck::checkVersion_data()
{
    QTest::addColumn<std::optional<QByteArray>>("reply");
    QTest::addColumn<bool>("newer");
    using Reply = std::optional<QByteArray>;
    QTest::newRow("newer") << Reply("VER. 1.001") << true;
    QTest::newRow("newer with line end") << Reply("\r\nVER. 1.001\r\n") << true;
    QTest::newRow("same") << Reply("VER. 1.000") << false;
    QTest::newRow("zero in lower case") << Reply("ver. 0.000") << false;
    QTest::newRow("zero padded") << Reply("  VER. 0.000\r\n") << false;
    QTest::newRow("no word, newer") << Reply("1.200") << true;
    QTest::newRow("older") << Reply("VER. 0.999") << false;
    QTest::newRow("too short") << Reply("VER. 2.5") << false;
    QTest::newRow("html page")
        << Reply("<!DOCTYPE html>\r\n<html><head><title>404 Not Found</title></head>"
                 "<body>The page 2.000 is missing</body></html>")
        << false;
    QTest::newRow("empty reply") << Reply("") << false;
    QTest::newRow("blanks only") << Reply(" \r\n ") << false;
    QTest::newRow("client failed") << Reply() << false;
}

void TestVersionCheck::checkVersion()
{
    QFETCH(std::optional<QByteArray>, reply);
    QFETCH(bool, newer);
    FakeHttpClient client(reply);
    QCOMPARE(Check_Version(client), newer);
    QCOMPARE(client.requests.size(), 1);
}

void TestVersionCheck::queryAsksForThisSoftware()
{
    FakeHttpClient client(QByteArray("VER. 1.001"));
    Check_Version(client);
    QCOMPARE(client.requests.size(), 1);
    const HttpRequest &request = client.requests.first();
    QCOMPARE(request.host, QString("www.corvane.example"));
    QCOMPARE(request.port, quint16(80));
    QCOMPARE(request.target, QString("/home/download/GetversionSW.asp?nomesw=SWZ8K20"));
    QVERIFY(request.timeoutMs > 0 && request.timeoutMs <= 10000);

    QCOMPARE(httpGetRequestBytes(request),
             QByteArray("GET /home/download/GetversionSW.asp?nomesw=SWZ8K20 HTTP/1.0\r\n"
                        "Host: www.corvane.example\r\n"
                        "User-Agent: SWZ8K20/1.000\r\n"
                        "Accept: */*\r\n"
                        "\r\n"));
}

void TestVersionCheck::replyBody_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<std::optional<QByteArray>>("body");
    using Body = std::optional<QByteArray>;
    QTest::newRow("ok") << QByteArray("HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\nVER. 1.001")
                        << Body("VER. 1.001");
    QTest::newRow("ok, HTTP/1.1, length")
        << QByteArray("HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\n1.200trailing") << Body("1.200");
    QTest::newRow("bare line feeds") << QByteArray("HTTP/1.0 200 OK\nServer: x\n\nVER. 1.001")
                                     << Body("VER. 1.001");
    QTest::newRow("empty body") << QByteArray("HTTP/1.0 204 No Content\r\n\r\n") << Body("");
    QTest::newRow("not found") << QByteArray("HTTP/1.0 404 Not Found\r\n\r\nVER. 9.999") << Body();
    QTest::newRow("server error") << QByteArray("HTTP/1.1 500 Error\r\n\r\n") << Body();
    QTest::newRow("redirect") << QByteArray("HTTP/1.0 302 Found\r\nLocation: /x\r\n\r\n") << Body();
    QTest::newRow("cut short") << QByteArray("HTTP/1.0 200 OK\r\nContent-Length: 50\r\n\r\nVER.")
                               << Body();
    QTest::newRow("no header end") << QByteArray("HTTP/1.0 200 OK\r\n") << Body();
    QTest::newRow("not http") << QByteArray("VER. 1.001\r\n\r\n") << Body();
    QTest::newRow("nothing") << QByteArray() << Body();
}

void TestVersionCheck::replyBody()
{
    QFETCH(QByteArray, reply);
    QFETCH(std::optional<QByteArray>, body);
    QCOMPARE(httpReplyBody(reply), body);
}

void TestVersionCheck::clientSendsHttp10GetAndReadsReply()
{
    LocalServer server(QByteArray("HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\nVER. 1.001\r\n"));
    QVERIFY(server.port() != 0);
    Http10Client client;
    const std::optional<QByteArray> body = client.get(localRequest(server.port()));
    QCOMPARE(body, std::optional<QByteArray>("VER. 1.001\r\n"));
    const QByteArray received = server.finish();
    QCOMPARE(received, httpGetRequestBytes(localRequest(server.port())));
    QVERIFY(received.startsWith(
        "GET /home/download/GetversionSW.asp?nomesw=SWZ8K20 HTTP/1.0\r\nHost: 127.0.0.1:"));
    QVERIFY(!received.toLower().contains("cookie"));

    // The whole version query over the real client, against the local server.
    LocalServer second(QByteArray("HTTP/1.0 200 OK\r\n\r\nVER. 1.001"));
    VersionQuery query;
    query.host = QStringLiteral("127.0.0.1");
    query.port = second.port();
    QVERIFY(Check_Version(client, query));
}

void TestVersionCheck::clientFailsOnErrorStatus()
{
    LocalServer server(QByteArray("HTTP/1.0 404 Not Found\r\n\r\nVER. 9.999"));
    Http10Client client;
    QCOMPARE(client.get(localRequest(server.port())), std::nullopt);
    QVERIFY(server.finish().startsWith("GET "));
}

void TestVersionCheck::clientGivesUpOnSilentServer()
{
    LocalServer server(std::nullopt);
    Http10Client client;
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(client.get(localRequest(server.port(), 300)), std::nullopt);
    const qint64 elapsed = clock.elapsed();
    QVERIFY2(elapsed >= 250 && elapsed < 3000, qPrintable(QString::number(elapsed)));
    QVERIFY(server.finish().startsWith("GET "));
}

void TestVersionCheck::clientFailsWhenNothingListens()
{
    quint16 port = 0;
    {
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
        port = probe.serverPort();
    }
    Http10Client client;
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(client.get(localRequest(port, 2000)), std::nullopt);
    QVERIFY(clock.elapsed() < 2000);
}

QTEST_GUILESS_MAIN(TestVersionCheck)
#include "test_version_check.moc"
