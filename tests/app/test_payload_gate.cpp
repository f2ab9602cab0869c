#include "app/payload_gate.h"
#include "lang/text_table.h"
#include "test_support.h"

#include <QTemporaryDir>
#include <QTest>

using namespace swz;
using testing_support::writeFile;

namespace {

QByteArray parGen(const QByteArray &payload)
{
    return "<ParGen><!--SW_VERSION = 1.000--><LoRa_Payload_Size>" + payload
           + "</LoRa_Payload_Size></ParGen>";
}

QByteArray access(const QByteArray &uplinkRows)
{
    return "<LoRaWAN_SetAccess><LoRaWAN_Uplink>" + uplinkRows
           + "</LoRaWAN_Uplink><LoRaWAN_Downlink><row Enable=\"Y\" NumByte=\"900\"/>"
             "</LoRaWAN_Downlink></LoRaWAN_SetAccess>";
}

} // namespace

class TestPayloadGate : public QObject
{
    Q_OBJECT

private slots:
    void gate_data();
    void gate();
    void listsEveryRefusedRule();
    void malformedFilesStopWithParserText_data();
    void malformedFilesStopWithParserText();
};

void TestPayloadGate::gate_data()
{
    QTest::addColumn<QByteArray>("parGenFile");   // empty: no file
    QTest::addColumn<QByteArray>("accessFile");   // empty: no file
    QTest::addColumn<bool>("passes");

    const QByteArray p11 = parGen("11");
    QTest::newRow("fits") << p11 << access("<row Enable=\"Y\" NumByte=\"9\"/>") << true;
    QTest::newRow("one too many") << p11 << access("<row Enable=\"Y\" NumByte=\"10\"/>") << false;
    QTest::newRow("zero bytes") << p11 << access("<row Enable=\"Y\" NumByte=\"0\"/>") << true;
    QTest::newRow("negative") << p11 << access("<row Enable=\"Y\" NumByte=\"-1\"/>") << false;
    QTest::newRow("hex within") << parGen("0x0B") << access("<row Enable=\"Y\" NumByte=\"$9\"/>")
                                << true;
    QTest::newRow("disabled N") << p11 << access("<row Enable=\"N\" NumByte=\"200\"/>") << true;
    QTest::newRow("disabled lower-case y")
        << p11 << access("<row Enable=\"y\" NumByte=\"200\"/>") << true;
    QTest::newRow("Enable with blank") << p11 << access("<row Enable=\"Y \" NumByte=\"200\"/>")
                                       << true;
    QTest::newRow("no Enable") << p11 << access("<row NumByte=\"200\"/>") << true;
    QTest::newRow("no NumByte") << p11 << access("<row Enable=\"Y\"/>") << false;
    QTest::newRow("NumByte no integer") << p11 << access("<row Enable=\"Y\" NumByte=\"9 \"/>")
                                        << false;
    QTest::newRow("later rule fails")
        << p11 << access("<row Enable=\"Y\" NumByte=\"1\"/><row Enable=\"N\" NumByte=\"99\"/>"
                         "<row Enable=\"Y\" NumByte=\"10\"/>")
        << false;
    QTest::newRow("no ParGen") << QByteArray() << access("<row Enable=\"Y\" NumByte=\"0\"/>")
                               << false;
    QTest::newRow("no payload element") << QByteArray("<ParGen/>")
                                        << access("<row Enable=\"Y\" NumByte=\"0\"/>") << false;
    QTest::newRow("payload no integer") << parGen("eleven")
                                        << access("<row Enable=\"Y\" NumByte=\"0\"/>") << false;
    QTest::newRow("huge payload") << parGen("2147483647")
                                  << access("<row Enable=\"Y\" NumByte=\"2147483645\"/>") << true;
    QTest::newRow("smallest payload") << parGen("-2147483648")
                                      << access("<row Enable=\"Y\" NumByte=\"0\"/>") << false;
    QTest::newRow("no access file") << QByteArray() << QByteArray() << true;
    QTest::newRow("no uplink element")
        << QByteArray() << QByteArray("<LoRaWAN_SetAccess><LoRaWAN_Downlink/></LoRaWAN_SetAccess>")
        << true;
    QTest::newRow("root of any name")
        << p11 << QByteArray("<X><LoRaWAN_Uplink><r Enable=\"Y\" NumByte=\"10\"/></LoRaWAN_Uplink></X>")
        << false;
    QTest::newRow("no rules") << QByteArray() << access("") << true;
}

void TestPayloadGate::gate()
{
    QFETCH(QByteArray, parGenFile);
    QFETCH(QByteArray, accessFile);
    QFETCH(bool, passes);

    QTemporaryDir dir;
    const ProjectFiles files = ProjectFiles::of(dir.path());
    if (!parGenFile.isEmpty())
        QVERIFY(writeFile(files.parGen, parGenFile));
    if (!accessFile.isEmpty())
        QVERIFY(writeFile(files.loRaWanAccess, accessFile));

    const PayloadGateResult result = Check_Config_LoraWAN(files);
    QVERIFY2(!result.readFailed(), qPrintable(result.readError));
    QCOMPARE(result.passed, passes);
}

void TestPayloadGate::listsEveryRefusedRule()
{
    QTemporaryDir dir;
    const ProjectFiles files = ProjectFiles::of(dir.path());
    QVERIFY(writeFile(files.parGen, parGen("11")));
    QVERIFY(writeFile(files.loRaWanAccess,
                      access("<row Enable=\"Y\" NumByte=\"10\"/><row Enable=\"Y\" NumByte=\"9\"/>"
                             "<row Enable=\"N\" NumByte=\"99\"/><row Enable=\"Y\" NumByte=\"x\"/>")));
    uiTexts().loadBuiltin();
    const PayloadGateResult result = Check_Config_LoraWAN(files);
    QVERIFY(!result.passed);
    const QString text = uiText(30);
    // The disabled third rule and the fitting second one are not refused; downlink is not checked.
    QCOMPARE(result.faults, (Faults{{"LoRaWAN_Uplink", 1, text}, {"LoRaWAN_Uplink", 4, text}}));
}

void TestPayloadGate::malformedFilesStopWithParserText_data()
{
    QTest::addColumn<QByteArray>("parGenFile");
    QTest::addColumn<QByteArray>("accessFile");
    QTest::addColumn<QString>("badFile");

    QTest::newRow("ParGen") << QByteArray("<ParGen><LoRa_Payload_Size>11</ParGen>")
                            << access("<row Enable=\"Y\" NumByte=\"1\"/>") << "ParGen.xml";
    QTest::newRow("access") << parGen("11") << QByteArray("<LoRaWAN_SetAccess><LoRaWAN_Uplink>")
                            << "LoRaWAN_SetAccess.xml";
}

void TestPayloadGate::malformedFilesStopWithParserText()
{
    QFETCH(QByteArray, parGenFile);
    QFETCH(QByteArray, accessFile);
    QFETCH(QString, badFile);

    QTemporaryDir dir;
    const ProjectFiles files = ProjectFiles::of(dir.path());
    QVERIFY(writeFile(files.parGen, parGenFile));
    QVERIFY(writeFile(files.loRaWanAccess, accessFile));
    const PayloadGateResult result = Check_Config_LoraWAN(files);
    QVERIFY(!result.passed);
    QVERIFY(result.readFailed());
    QVERIFY2(result.readError.contains(badFile), qPrintable(result.readError));
    QVERIFY2(result.readError.contains("line 1"), qPrintable(result.readError));
}

QTEST_APPLESS_MAIN(TestPayloadGate)
#include "test_payload_gate.moc"
