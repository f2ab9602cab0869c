#include "common/ip_address.h"

#include <QTest>

using namespace swz;

class TestIpAddress : public QObject
{
    Q_OBJECT

private slots:
    void split_data();
    void split();
    void partsAreSetAsFound();
};

void TestIpAddress::split_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QStringList>("parts"); // as returned, also when invalid

    QTest::newRow("default address") << "192.168.2.205" << true
                                     << QStringList{"192", "168", "2", "205"};
    QTest::newRow("blanks everywhere") << "  10 . 0 .\t0 . 7 \r\n" << true
                                       << QStringList{"10", "0", "0", "7"};
    QTest::newRow("control characters") << QString("\x01" "1.2.3.4\x02") << true
                                         << QStringList{"1", "2", "3", "4"};
    QTest::newRow("leading zero") << "010.1.1.1" << true << QStringList{"010", "1", "1", "1"};
    QTest::newRow("hexadecimal") << "$C0.0xA8.0X02.255" << true
                                 << QStringList{"$C0", "0xA8", "0X02", "255"};
    QTest::newRow("limits") << "0.0.0.0" << true << QStringList{"0", "0", "0", "0"};
    QTest::newRow("five numbers") << "1.2.3.4.5" << false << QStringList{"1", "2", "3", "4.5"};
    QTest::newRow("three numbers") << "1.2.3" << false << QStringList{"1", "2", "", ""};
    QTest::newRow("above 255") << "256.1.1.1" << false << QStringList{"256", "1", "1", "1"};
    QTest::newRow("fourth 300") << "192.168.2.300" << false
                                << QStringList{"192", "168", "2", "300"};
    QTest::newRow("hex above 255") << "1.2.3.$100" << false << QStringList{"1", "2", "3", "$100"};
    QTest::newRow("trailing dot") << "1.2.3." << false << QStringList{"1", "2", "3", ""};
    QTest::newRow("negative") << "1.2.-1.4" << false << QStringList{"1", "2", "-1", "4"};
    QTest::newRow("letters") << "1.a.3.4" << false << QStringList{"1", "a", "3", "4"};
    QTest::newRow("blank inside a part") << "1.2 5.3.4" << false << QStringList{"1", "2 5", "3", "4"};
    QTest::newRow("empty") << "" << false << QStringList{"", "", "", ""};
    QTest::newRow("no dot") << "localhost" << false << QStringList{"", "", "", ""};
    QTest::newRow("huge number") << "99999999999.1.1.1" << false
                                 << QStringList{"99999999999", "1", "1", "1"};
}

void TestIpAddress::split()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(QStringList, parts);

    QString a, b, c, d;
    QCOMPARE(Split_IP_Address(text, a, b, c, d), valid);
    QCOMPARE((QStringList{a, b, c, d}), parts);
}

void TestIpAddress::partsAreSetAsFound()
{
    // Outputs that a failing text never reaches keep what the caller had in them.
    QString a = "x", b = "keep", c = "keep", d = "keep";
    QVERIFY(!Split_IP_Address("7.8", a, b, c, d));
    QCOMPARE(a, QString("7"));
    QCOMPARE(b, QString("keep"));
    QCOMPARE(c, QString("keep"));
    QCOMPARE(d, QString("keep"));

    a = b = "keep";
    QVERIFY(!Split_IP_Address("nodots", a, b, c, d));
    QCOMPARE(a, QString("keep"));
}

QTEST_APPLESS_MAIN(TestIpAddress)
#include "test_ip_address.moc"
