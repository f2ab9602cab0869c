#include "common/text_values.h"
#include "image/value_encoders.h"

#include <QTest>

using namespace swz;
using namespace swz::image;

class TestValueEncoders : public QObject
{
    Q_OBJECT

private slots:
    void bandCodes_data();
    void bandCodes();
    void textCodes();
    void dataRateIndex_data();
    void dataRateIndex();
    void hexPairs_data();
    void hexPairs();
    void padLeftZeros();
    void shortTextKeepsLowBits();
    void canBitRates();
    void integer64Limits_data();
    void integer64Limits();
};

void TestValueEncoders::bandCodes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("code");
    QTest::newRow("AS923") << "AS923" << 0;
    QTest::newRow("AU915") << "AU915" << 1;
    QTest::newRow("EU868") << "EU868" << 5;
    QTest::newRow("KR920") << "KR920" << 6;
    QTest::newRow("IN865") << "in865" << 7;
    QTest::newRow("US915") << "US915" << 8;
    QTest::newRow("US915-Hybrid as written") << "US915-Hybrid" << 9;
    QTest::newRow("hybrid lower case") << "us915-hybrid" << 9;
    QTest::newRow("blanks and TAB around") << " \tEU868 " << 5;
    QTest::newRow("blank inside") << "EU 868" << 0;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("unknown") << "CN470" << 0;
}

void TestValueEncoders::bandCodes()
{
    QFETCH(QString, text);
    QFETCH(int, code);
    QCOMPARE(int(LoRa_Band_Code(text)), code);
}

void TestValueEncoders::textCodes()
{
    QCOMPARE(LoRa_Network_Code(u"Public"), 1);
    QCOMPARE(LoRa_Network_Code(u" PUBLIC "), 1);
    QCOMPARE(LoRa_Network_Code(u"Private"), 0);
    QCOMPARE(LoRa_Network_Code(u"Pub lic"), 0);
    QCOMPARE(LoRa_Activation_Code(u"Over-the-Air Activation [OTAA]"), 1);
    QCOMPARE(LoRa_Activation_Code(u"Activation by Personalization [ABP]"), 0);
    QCOMPARE(LoRa_Activation_Code(u"OTAA"), 0);
    QCOMPARE(LoRa_Transmission_Code(u"Confirmed"), 1);
    QCOMPARE(LoRa_Transmission_Code(u"Confirmed "), 0);
    QCOMPARE(LoRa_Transmission_Code(u"confirmed"), 0);
    QCOMPARE(LoRa_Transmission_Code(u"Unconfirmed"), 0);
    QCOMPARE(fPortMode(u" Variable\t"), 1);
    QCOMPARE(fPortMode(u"Fixed"), 0);
    QCOMPARE(fPortMode(u""), 0);
    QVERIFY(switchIsOn(u"1"));
    QVERIFY(!switchIsOn(u" 1"));
    QVERIFY(!switchIsOn(u"01"));
}

void TestValueEncoders::dataRateIndex_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("index");
    QTest::newRow("10 with blanks") << "10 - LoRa: SF10/500kHz 3900 [bit/s]" << qint64(10);
    QTest::newRow("0 with TAB") << "0\t- LoRa: SF12/125kHz 250 [bit/s]" << qint64(0);
    QTest::newRow("6 with TAB") << "6\t- LoRa: SF7/250kHz 11000 [bit/s]" << qint64(6);
    QTest::newRow("digit alone") << "5" << qint64(0);
    QTest::newRow("no number before hyphen") << "DR - x" << qint64(0);
    QTest::newRow("hex before hyphen") << "0xA-" << qint64(10);
    QTest::newRow("empty") << "" << qint64(0);
}

void TestValueEncoders::dataRateIndex()
{
    QFETCH(QString, text);
    QFETCH(qint64, index);
    QCOMPARE(swz::image::dataRateIndex(text), index);
}

void TestValueEncoders::hexPairs_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("bytes");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("four digits") << "1A2B" << 4 << QByteArray("00001a2b");
    QTest::newRow("three digits") << "ABC" << 4 << QByteArray("00000abc");
    QTest::newRow("lower case") << "deadbeef" << 4 << QByteArray("deadbeef");
    QTest::newRow("empty key") << "" << 16 << QByteArray(32, '0');
    QTest::newRow("bad second digit") << "1Z2233445566778899AABBCCDDEEFF00" << 16
                                      << QByteArray("002233445566778899aabbccddeeff00");
    QTest::newRow("blank is no digit") << " 1020304" << 4 << QByteArray("00020304");
    QTest::newRow("sign is no digit") << "-1020304" << 4 << QByteArray("00020304");
    QTest::newRow("too long keeps first digits") << "0102030405" << 4 << QByteArray("01020304");
    QTest::newRow("non-ASCII") << QString::fromUtf8("\xc3\xa9") + "1" << 4 << QByteArray("00000000");
}

void TestValueEncoders::hexPairs()
{
    QFETCH(QString, text);
    QFETCH(int, bytes);
    QFETCH(QByteArray, expected);
    const QByteArray out = Hex_Pairs_To_Bytes(text, bytes);
    QCOMPARE(out.size(), bytes);
    QCOMPARE(out.toHex(), expected);
}

void TestValueEncoders::padLeftZeros()
{
    QCOMPARE(Pad_Left_Zeros("AB", 5), QString("000AB"));
    QCOMPARE(Pad_Left_Zeros("ABCDE", 5), QString("ABCDE"));
    QCOMPARE(Pad_Left_Zeros("ABCDEF", 5), QString("ABCDEF"));
    QCOMPARE(Pad_Left_Zeros("", 3), QString("000"));
}

void TestValueEncoders::shortTextKeepsLowBits()
{
    QCOMPARE(shortText("abc", 31), QByteArray("abc"));
    QCOMPARE(shortText(QString(40, u'x'), 31), QByteArray(31, 'x'));
    // One byte per character, also for a character outside the 16-bit range.
    QCOMPARE(shortText(QString::fromUtf8("\xc3\xa9\xf0\x9f\x98\x80z"), 31).toHex(), QByteArray("e9007a"));
    QCOMPARE(Set_Image_Version(), QByteArray("1.000\0\0\0", 8));
}

void TestValueEncoders::canBitRates()
{
    const quint32 expected[] = {10000, 20000, 50000, 100000, 125000, 250000, 500000, 800000, 1000000, 1000000};
    for (int i = 0; i < 10; ++i)
        QCOMPARE(canBitRate(i), expected[i]);
    QCOMPARE(canBitRate(-1), 1000000u);
    QCOMPARE(canBitRate(1000), 1000000u);
}

void TestValueEncoders::integer64Limits_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<qint64>("value");
    QTest::newRow("max") << "9223372036854775807" << true << std::numeric_limits<qint64>::max();
    QTest::newRow("min") << "-9223372036854775808" << true << std::numeric_limits<qint64>::min();
    QTest::newRow("max + 1") << "9223372036854775808" << false << qint64(0);
    QTest::newRow("hex beyond 32 bits") << "0x1FFFFFFFF" << true << qint64(0x1FFFFFFFF);
    QTest::newRow("dollar hex") << "$7fffffffffffffff" << true << std::numeric_limits<qint64>::max();
    QTest::newRow("hex overflow") << "0x10000000000000000" << false << qint64(0);
    QTest::newRow("trailing blank") << "12 " << false << qint64(0);
    QTest::newRow("leading blanks") << "  -12" << true << qint64(-12);
}

void TestValueEncoders::integer64Limits()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(qint64, value);
    const std::optional<qint64> read = readInteger64(text);
    QCOMPARE(read.has_value(), valid);
    if (valid)
        QCOMPARE(*read, value);
    // The 32-bit reading is unchanged: 2^31 - 1 and -2^31 are its limits.
    QCOMPARE(readInteger(u"2147483647").value_or(0), 2147483647);
    QCOMPARE(readInteger(u"-2147483648").value_or(0), std::numeric_limits<qint32>::min());
    QVERIFY(!readInteger(u"2147483648"));
}

QTEST_APPLESS_MAIN(TestValueEncoders)
#include "test_value_encoders.moc"
