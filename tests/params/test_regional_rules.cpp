#include "params/regional_rules.h"

#include <QTest>

using namespace swz;

class TestRegionalRules : public QObject
{
    Q_OBJECT

private slots:
    void dataRateTexts_data();
    void dataRateTexts();
    void lookUpIsExact_data();
    void lookUpIsExact();
    void bandList();
    void dataRateIndex_data();
    void dataRateIndex();
};

// Every band's list, written out character for character as the device documents it.
void TestRegionalRules::dataRateTexts_data()
{
    QTest::addColumn<QString>("band");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QList<int>>("maxima");

    QTest::newRow("AS923") << "AS923"
        << QStringList{"0\t- LoRa: SF12/125kHz 250 [bit/s]", "1\t- LoRa: SF11/125kHz 440 [bit/s]",
                       "2\t- LoRa: SF10/125kHz 980 [bit/s]", "3\t- LoRa: SF9/125kHz 1760 [bit/s]",
                       "4\t- LoRa: SF8/125kHz 3125 [bit/s]", "5\t- LoRa: SF7/125kHz 5470 [bit/s]",
                       "6\t- LoRa: SF7/250kHz 11000 [bit/s]", "7\t- FSK: 50kbps 50000 [bit/s]"}
        << QList<int>{59, 59, 59, 123, 230, 230, 230, 230};
    QTest::newRow("AU915") << "AU915"
        << QStringList{"0  - LoRa: SF12/125kHz 250 [bit/s]", "1  - LoRa: SF11/125kHz 440 [bit/s]",
                       "2  - LoRa: SF10/125kHz 980 [bit/s]", "3  - LoRa: SF9/125kHz 1760 [bit/s]",
                       "4  - LoRa: SF8/125kHz 3125 [bit/s]", "5  - LoRa: SF7/125kHz 5470 [bit/s]",
                       "6  - LoRa: SF8/500kHz 12500 [bit/s]", "8  - LoRa: SF12/500kHz 980 [bit/s]",
                       "9  - LoRa: SF11/500kHz 1760 [bit/s]", "10 - LoRa: SF10/500kHz 3900 [bit/s]",
                       "11 - LoRa: SF9/500kHz 7000 [bit/s]", "12 - LoRa: SF8/500kHz 12500 [bit/s]",
                       "13 - LoRa: SF7/500kHz 21900 [bit/s]"}
        << QList<int>{51, 51, 51, 115, 222, 222, 222, 33, 109, 222, 222, 222, 222};
    QTest::newRow("EU868") << "EU868"
        << QStringList{"0 -\tLoRa: SF12/125kHz 250 [bit/s]", "1 -\tLoRa: SF11/125kHz 440 [bit/s]",
                       "2 -\tLoRa: SF10/125kHz 980 [bit/s]", "3 -\tLoRa: SF9/125kHz 1760 [bit/s]",
                       "4 -\tLoRa: SF8/125kHz 3125 [bit/s]", "5 -\tLoRa: SF7/125kHz 5470 [bit/s]",
                       "6 - LoRa: SF7/250kHz 11000 [bit/s]", "7 - FSK: 50kbps 50000 [bit/s]"}
        << QList<int>{51, 51, 51, 115, 222, 222, 222, 222};
    QTest::newRow("KR920") << "KR920"
        << QStringList{"0 - LoRa: SF12/125kHz 250 [bit/s]", "1 -\tLoRa: SF11/125kHz 440 [bit/s]",
                       "2 -\tLoRa: SF10/125kHz 980 [bit/s]", "3 -\tLoRa: SF9/125kHz 1760 [bit/s]",
                       "4 -\tLoRa: SF8/125kHz 3125 [bit/s]", "5 -\tLoRa: SF7/125kHz 5470 [bit/s]"}
        << QList<int>{51, 51, 51, 115, 222, 222};
    QTest::newRow("IN865") << "IN865"
        << QStringList{"0 - LoRa: SF12/125kHz 250 [bit/s]", "1 -\tLoRa: SF11/125kHz 440 [bit/s]",
                       "2 -\tLoRa: SF10/125kHz 980 [bit/s]", "3 -\tLoRa: SF9/125kHz 1760 [bit/s]",
                       "4 -\tLoRa: SF8/125kHz 3125 [bit/s]", "5 -\tLoRa: SF7/125kHz 5470 [bit/s]",
                       "7 -\tFSK: 50kbps 50000 [bit/s]"}
        << QList<int>{51, 51, 51, 115, 222, 222, 222};
    const QList<int> usMaxima{11, 53, 125, 242, 242, 33, 109, 222, 222, 222, 222};
    QTest::newRow("US915") << "US915"
        << QStringList{"0  -\tLoRa: SF10/125kHz 980 [bit/s]", "1  -\tLoRa: SF9/125kHz 1760 [bit/s]",
                       "2  -\tLoRa: SF8/125kHz 3125 [bit/s]", "3  -\tLoRa: SF7/125kHz 5470 [bit/s]",
                       "4  -\tLoRa: SF8/500kHz 12500 [bit/s]", "8  -\tLoRa: SF12/500kHz 980 [bit/s]",
                       "9  -\tLoRa: SF11/500kHz 1760 [bit/s]", "10 - LoRa: SF10/500kHz 3900 [bit/s]",
                       "11 - LoRa: SF9/500kHz 7000 [bit/s]", "12 - LoRa: SF8/500kHz 12500 [bit/s]",
                       "13 - LoRa: SF7/500kHz 21900 [bit/s]"}
        << usMaxima;
    QTest::newRow("US915-Hybrid") << "US915-Hybrid"
        << QStringList{"0  - LoRa: SF10/125kHz 980 [bit/s]", "1  - LoRa: SF9/125kHz 1760 [bit/s]",
                       "2  - LoRa: SF8/125kHz 3125 [bit/s]", "3  - LoRa: SF7/125kHz 5470 [bit/s]",
                       "4  - LoRa: SF8/500kHz 12500 [bit/s]", "8  - LoRa: SF12/500kHz 980 [bit/s]",
                       "9  - LoRa: SF11/500kHz 1760 [bit/s]", "10 - LoRa: SF10/500kHz 3900 [bit/s]",
                       "11 - LoRa: SF9/500kHz 7000 [bit/s]", "12 - LoRa: SF8/500kHz 12500 [bit/s]",
                       "13 - LoRa: SF7/500kHz 21900 [bit/s]"}
        << usMaxima;
}

void TestRegionalRules::dataRateTexts()
{
    QFETCH(QString, band);
    QFETCH(QStringList, texts);
    QFETCH(QList<int>, maxima);

    QCOMPARE(loRaDataRateTexts(band), texts);
    QCOMPARE(maxima.size(), texts.size());
    for (qsizetype i = 0; i < texts.size(); ++i)
        QCOMPARE(int(maxLoRaPayload(band, texts[i])), maxima[i]);
    QCOMPARE(findLoRaBand(band)->hasSubBands, band.startsWith(QLatin1String("US915")));
}

void TestRegionalRules::lookUpIsExact_data()
{
    QTest::addColumn<QString>("band");
    QTest::addColumn<QString>("dataRate");
    QTest::addColumn<int>("maximum");

    QTest::newRow("EU868 with spaces for the TAB")
        << "EU868" << "0 -  LoRa: SF12/125kHz 250 [bit/s]" << 0;
    QTest::newRow("band in lower case") << "eu868" << "0 -\tLoRa: SF12/125kHz 250 [bit/s]" << 0;
    QTest::newRow("US915 text under US915-Hybrid")
        << "US915-Hybrid" << "0  -\tLoRa: SF10/125kHz 980 [bit/s]" << 0;
    QTest::newRow("no band") << "" << "0\t- LoRa: SF12/125kHz 250 [bit/s]" << 0;
    QTest::newRow("trailing blank") << "AS923" << "0\t- LoRa: SF12/125kHz 250 [bit/s] " << 0;
    QTest::newRow("AU915 index 8") << "AU915" << "8  - LoRa: SF12/500kHz 980 [bit/s]" << 33;
}

void TestRegionalRules::lookUpIsExact()
{
    QFETCH(QString, band);
    QFETCH(QString, dataRate);
    QFETCH(int, maximum);
    QCOMPARE(int(maxLoRaPayload(band, dataRate)), maximum);
}

void TestRegionalRules::bandList()
{
    QCOMPARE(loRaBandNames(), (QStringList{"AS923", "AU915", "EU868", "KR920", "IN865", "US915",
                                           "US915-Hybrid"}));
    QVERIFY(loRaDataRateTexts(QStringLiteral("XX999")).isEmpty());
    QVERIFY(!findLoRaBand(QStringLiteral("us915")));
    QCOMPARE(loRaSubBands(), (QStringList{"1", "2", "3", "4", "5", "6", "7", "8"}));
}

void TestRegionalRules::dataRateIndex_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("index");

    QTest::newRow("tab separator") << "6\t- LoRa: SF7/250kHz 11000 [bit/s]" << 6;
    QTest::newRow("padded two digits") << "10 - LoRa: SF10/500kHz 3900 [bit/s]" << 10;
    QTest::newRow("padded one digit") << "0  -\tLoRa: SF10/125kHz 980 [bit/s]" << 0;
    QTest::newRow("no number") << "- LoRa" << -1;
    QTest::newRow("empty") << "" << -1;
}

void TestRegionalRules::dataRateIndex()
{
    QFETCH(QString, text);
    QFETCH(int, index);
    QCOMPARE(loRaDataRateIndex(text).value_or(-1), index);
}

QTEST_APPLESS_MAIN(TestRegionalRules)
#include "test_regional_rules.moc"
