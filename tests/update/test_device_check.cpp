#include "update/device_check.h"

#include "update/update_test_support.h"

#include <QTest>

using namespace swz;
using testing_support::FakeClock;
using testing_support::FakeEchoClient;
using Answer = FakeEchoClient::Answer;

class TestDeviceCheck : public QObject
{
    Q_OBJECT

private slots:
    void check_data();
    void check();
    void malformedTargetSendsNothing_data();
    void malformedTargetSendsNothing();
    void strictDottedAddress();
    void realEchoToLoopback();
};

void TestDeviceCheck::check_data()
{
    QTest::addColumn<QList<Answer>>("script");
    QTest::addColumn<bool>("reachable");
    QTest::addColumn<int>("ping_res");
    QTest::addColumn<int>("requests");  // -1: not checked exactly
    QTest::addColumn<bool>("fullTime"); // the check ran past the 5 s limit
    QTest::addColumn<bool>("error");
    QTest::addColumn<bool>("cannotRun");

    QTest::newRow("answers every echo")
        << QList<Answer>{FakeEchoClient::data()} << true << 1 << 2 << false << false << false;
    QTest::newRow("never answers") << QList<Answer>{FakeEchoClient::timeout()} << false << 2 << 13
                                   << true << false << false;
    QTest::newRow("answers once then stops")
        << QList<Answer>{FakeEchoClient::data(), FakeEchoClient::timeout()} << false << 2 << -1
        << true << false << false;
    QTest::newRow("answers after two silences")
        << QList<Answer>{FakeEchoClient::timeout(), FakeEchoClient::timeout(),
                         FakeEchoClient::data()}
        << true << 1 << 4 << false << false << false;
    QTest::newRow("no reply event at all") << QList<Answer>{FakeEchoClient::noEvent()} << false << 0
                                           << 13 << true << false << false;
    QTest::newRow("error at once") << QList<Answer>{FakeEchoClient::error("send failed")} << false
                                   << 0 << 1 << false << true << false;
    QTest::newRow("error after a reply")
        << QList<Answer>{FakeEchoClient::data(), FakeEchoClient::error("send failed")} << false << 1
        << 2 << false << true << false;
    QTest::newRow("no ICMP on this machine")
        << QList<Answer>{FakeEchoClient::cannotRun("no socket")} << false << 0 << 1 << false
        << false << true;
    // An empty reply that comes back at once must not turn into a flood of requests.
    QTest::newRow("empty replies at once") << QList<Answer>{FakeEchoClient::timeout(0)} << false
                                           << 2 << 13 << true << false << false;
}

void TestDeviceCheck::check()
{
    QFETCH(QList<Answer>, script);
    QFETCH(bool, reachable);
    QFETCH(int, ping_res);
    QFETCH(int, requests);
    QFETCH(bool, fullTime);
    QFETCH(bool, error);
    QFETCH(bool, cannotRun);

    FakeClock clock;
    FakeEchoClient echo(clock);
    echo.script = script;
    int idleCalls = 0;
    const qint64 start = clock.now;
    const DeviceCheck check = Send_Ping(echo, "127.0.0.1", clock, {}, [&idleCalls] { ++idleCalls; });
    const qint64 took = clock.now - start;

    QCOMPARE(check.reachable, reachable);
    QCOMPARE(check.ping_res, ping_res);
    if (requests >= 0)
        QCOMPARE(echo.targets.size(), requests);
    QCOMPARE(took > 5000, fullTime);
    QVERIFY2(took <= 5000 + 400 + 10, qPrintable(QString::number(took)));
    QCOMPARE(!check.error.isEmpty(), error);
    QCOMPARE(!check.cannotRun.isEmpty(), cannotRun);
    // While it sleeps between attempts the windows are kept painted.
    const bool sleeps = script.last().takesMs < 400 && check.error.isEmpty()
                        && check.cannotRun.isEmpty() && !reachable;
    QCOMPARE(idleCalls > 0, sleeps);
    for (int i = 0; i < echo.targets.size(); ++i) {
        QCOMPARE(echo.targets[i], QString("127.0.0.1"));
        QCOMPARE(echo.payloads[i], QByteArray("127.0.0.1")); // the echo data is the target
        QCOMPARE(echo.timeouts[i], 400);
    }
}

void TestDeviceCheck::malformedTargetSendsNothing_data()
{
    QTest::addColumn<QString>("target");
    QTest::newRow("letters") << "192.168.a.1";
    QTest::newRow("blanks") << "127.0.0. 1";
    QTest::newRow("empty field") << "127.0..1";
    QTest::newRow("all empty") << "...";
    QTest::newRow("five parts") << "127.0.0.1.5";
    QTest::newRow("over 255") << "127.0.0.256";
    QTest::newRow("host name") << "localhost";
    QTest::newRow("hexadecimal") << "0x7f.0.0.1";
}

void TestDeviceCheck::malformedTargetSendsNothing()
{
    QFETCH(QString, target);
    FakeClock clock;
    FakeEchoClient echo(clock);
    echo.script = {FakeEchoClient::data()};
    const DeviceCheck check = Send_Ping(echo, target, clock);
    QVERIFY(!check.reachable);
    QCOMPARE(check.ping_res, 0);
    QVERIFY(!check.error.isEmpty());
    QVERIFY(echo.targets.isEmpty());
}

void TestDeviceCheck::strictDottedAddress()
{
    QCOMPARE(parseDottedIPv4("127.0.0.1"), std::optional<quint32>(0x7F000001));
    QCOMPARE(parseDottedIPv4("010.001.0.255"), std::optional<quint32>(0x0A0100FF));
    QCOMPARE(parseDottedIPv4("127.1"), std::nullopt);
    QCOMPARE(parseDottedIPv4("1.2.3.4 "), std::nullopt);
    QCOMPARE(parseDottedIPv4("1.2.3.0001"), std::nullopt);
    QCOMPARE(parseDottedIPv4("+1.2.3.4"), std::nullopt);
}

void TestDeviceCheck::realEchoToLoopback()
{
    // Only ever the loopback address.
    IcmpEchoClient icmp;
    const EchoReply probe = icmp.Ping("127.0.0.1", "probe", 400);
    if (probe.kind == EchoReply::Kind::CannotRun)
        QSKIP(qPrintable("ICMP echo cannot run here: " + probe.error));
    if (probe.kind == EchoReply::Kind::Error) // e.g. a sandbox without a loopback interface
        QSKIP(qPrintable("cannot send to 127.0.0.1 here: " + probe.error));
    QCOMPARE(probe.kind, EchoReply::Kind::Reply);
    QCOMPARE(probe.bytes, 5);

    const DeviceCheck check = Send_Ping(icmp, "127.0.0.1", steadyClock());
    QVERIFY2(check.error.isEmpty(), qPrintable(check.error));
    QVERIFY(check.reachable);
    QCOMPARE(check.ping_res, 1);

    const EchoReply bad = icmp.Ping("127.0.0", "x", 400);
    QCOMPARE(bad.kind, EchoReply::Kind::Error);
}

QTEST_GUILESS_MAIN(TestDeviceCheck)
#include "test_device_check.moc"
