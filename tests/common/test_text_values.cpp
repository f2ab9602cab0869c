#include "common/text_values.h"

#include <QTest>

using namespace swz;

class TestTextValues : public QObject
{
    Q_OBJECT

private slots:
    void readInteger_data();
    void readInteger();
    void trimBlanks_data();
    void trimBlanks();
};

void TestTextValues::readInteger_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("isInteger");
    QTest::addColumn<int>("value");

    QTest::newRow("decimal") << "8192" << true << 8192;
    QTest::newRow("0x prefix") << "0x2000" << true << 8192;
    QTest::newRow("0X prefix") << "0X2000" << true << 8192;
    QTest::newRow("dollar prefix") << "$2000" << true << 8192;
    QTest::newRow("x prefix") << "x2000" << true << 8192;
    QTest::newRow("X prefix, lower-case digits") << "X1f" << true << 31;
    QTest::newRow("leading zero is decimal") << "010" << true << 10;
    QTest::newRow("leading spaces skipped") << "  12" << true << 12;
    QTest::newRow("plus sign") << "+7" << true << 7;
    QTest::newRow("minus sign") << "-7" << true << -7;
    QTest::newRow("negative hex") << "-$10" << true << -16;
    QTest::newRow("largest") << "2147483647" << true << 2147483647;
    QTest::newRow("smallest") << "-2147483648" << true << int(-2147483647 - 1);
    QTest::newRow("largest hex") << "0x7FFFFFFF" << true << 2147483647;
    QTest::newRow("overflow") << "2147483648" << false << 0;
    QTest::newRow("hex overflow") << "0x80000000" << false << 0;
    QTest::newRow("long overflow") << "99999999999999999999999" << false << 0;
    QTest::newRow("trailing blank") << "12 " << false << 0;
    QTest::newRow("leading tab") << "\t12" << false << 0;
    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("only spaces") << "   " << false << 0;
    QTest::newRow("prefix only") << "0x" << false << 0;
    QTest::newRow("dollar only") << "$" << false << 0;
    QTest::newRow("sign only") << "-" << false << 0;
    QTest::newRow("blank after sign") << "- 5" << false << 0;
    QTest::newRow("letters after digits") << "12a" << false << 0;
    QTest::newRow("hex digit in decimal") << "1F" << false << 0;
    QTest::newRow("decimal point") << "1.5" << false << 0;
    QTest::newRow("non-ASCII digit") << QString::fromUtf8("\xd9\xa3") << false << 0;
}

void TestTextValues::readInteger()
{
    QFETCH(QString, text);
    QFETCH(bool, isInteger);
    QFETCH(int, value);

    const std::optional<qint32> read = swz::readInteger(text);
    QCOMPARE(read.has_value(), isInteger);
    if (isInteger)
        QCOMPARE(*read, value);
    QCOMPARE(readIntegerOr(text, -1), isInteger ? value : -1);
}

void TestTextValues::trimBlanks_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("trimmed");

    QTest::newRow("blanks") << "  a b  " << "a b";
    QTest::newRow("control characters") << QString("\x01\t a\r\n\x1f") << "a";
    QTest::newRow("inner kept") << "\x01" "a\x01" "b\x02" << "a\x01" "b";
    QTest::newRow("non-ASCII space kept") << QString::fromUtf8("\xc2\xa0" "a\xc2\xa0")
                                          << QString::fromUtf8("\xc2\xa0" "a\xc2\xa0");
    QTest::newRow("all blank") << " \t " << "";
    QTest::newRow("empty") << "" << "";
}

void TestTextValues::trimBlanks()
{
    QFETCH(QString, text);
    QFETCH(QString, trimmed);
    QCOMPARE(swz::trimBlanks(text), trimmed);
}

QTEST_APPLESS_MAIN(TestTextValues)
#include "test_text_values.moc"
