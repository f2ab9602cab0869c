#include "lang/text_table.h"
#include "params/par_gen_check.h"

#include <QTest>

#include <functional>

using namespace swz;

namespace {

using Change = std::function<void(ParGen &)>;

// Valid values with every optional check switched on, so that each check can fail.
ParGen allChecksOn()
{
    ParGen v = ParGen::noFileDefaults();
    v.Eth_Conn_Enable_DNS = true;
    v.Ethernet_EN_GAT = true;
    v.CANopen_Network_Start = true;
    return v;
}

QStringList messagesOf(const Faults &faults)
{
    QStringList texts;
    for (const Fault &fault : faults) {
        texts.append(fault.message);
        if (!fault.list.isEmpty() || fault.row != 0)
            texts.append(QStringLiteral("unexpected list or row"));
    }
    return texts;
}

} // namespace

Q_DECLARE_METATYPE(Change)

class TestParGenCheck : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { uiTexts().loadBuiltin(); }
    void validValuesPass();
    void eachCheckFails_data();
    void eachCheckFails();
    void edgeCases_data();
    void edgeCases();
    void faultsComeInCheckOrder();
};

void TestParGenCheck::validValuesPass()
{
    QVERIFY(Controllo_Dati(ParGen::noFileDefaults()).isEmpty());
    QVERIFY(Controllo_Dati(allChecksOn()).isEmpty());
}

void TestParGenCheck::eachCheckFails_data()
{
    QTest::addColumn<Change>("change");
    QTest::addColumn<QStringList>("messages");

    // Without a band or a data rate the payload has no maximum, so that check fails as well.
    const QString noMaximum = QStringLiteral("Error LoRa!! Payload Size must be between 1 and 0");
    auto row = [&](const char *name, Change change, const char *message) {
        QStringList messages{QString::fromUtf8(message)};
        if (QByteArray(name) == "9 band" || QByteArray(name) == "11 data rate")
            messages.append(noMaximum);
        QTest::newRow(name) << change << messages;
    };
    row("1 primary DNS 1", [](ParGen &v) { v.Eth_Conn_Primary_DNS1 = "256"; },
        "Error Primary DNS!! DNS 1 must be between 0 and 255");
    row("2 primary DNS 2", [](ParGen &v) { v.Eth_Conn_Primary_DNS2 = "-1"; },
        "Error Primary DNS!! DNS 2 must be between 0 and 255");
    row("3 primary DNS 3", [](ParGen &v) { v.Eth_Conn_Primary_DNS3 = "a"; },
        "Error Primary DNS!! DNS 3 must be between 0 and 255");
    row("4 primary DNS 4", [](ParGen &v) { v.Eth_Conn_Primary_DNS4 = ""; },
        "Error Primary DNS!! DNS 4 must be between 0 and 255");
    row("5 secondary DNS 1", [](ParGen &v) { v.Eth_Conn_Secondary_DNS1 = "999"; },
        "Error Secondary DNS!! DNS 1 must be between 0 and 255");
    row("6 secondary DNS 2", [](ParGen &v) { v.Eth_Conn_Secondary_DNS2 = "8 "; },
        "Error Secondary DNS!! DNS 2 must be between 0 and 255");
    row("7 secondary DNS 3", [](ParGen &v) { v.Eth_Conn_Secondary_DNS3 = "$100"; },
        "Error Secondary DNS!! DNS 3 must be between 0 and 255");
    row("8 secondary DNS 4", [](ParGen &v) { v.Eth_Conn_Secondary_DNS4 = "1.5"; },
        "Error Secondary DNS!! DNS 4 must be between 0 and 255");
    row("9 band", [](ParGen &v) { v.LoRa_RF_Band.clear(); },
        "Error LoRa!! RF Band cannot be empty");
    row("10 network type", [](ParGen &v) { v.LoRa_Network_Type.clear(); },
        "Error LoRa!! Network Type cannot be empty");
    row("11 data rate", [](ParGen &v) { v.LoRa_DataRate.clear(); v.Set_Max_Payload_Size(); },
        "Error LoRa!! DataRate cannot be empty");
    row("12 transmission type", [](ParGen &v) { v.LoRa_Transmission_Type.clear(); },
        "Error LoRa!! Transmission Type cannot be empty");
    row("13 payload above the maximum", [](ParGen &v) { v.LoRa_Payload_Size = "231"; },
        "Error LoRa!! Payload Size must be between 1 and 230");
    row("14 activation", [](ParGen &v) { v.LoRa_Activation_Method.clear(); },
        "Error LoRa!! Activation Method cannot be empty");
    row("15 IP 1", [](ParGen &v) { v.Ethernet_IP1 = "300"; },
        "Error Ethernet!! IP Address 1 must be between 0 and 255");
    row("16 IP 2", [](ParGen &v) { v.Ethernet_IP2 = ""; },
        "Error Ethernet!! IP Address 2 must be between 0 and 255");
    row("17 IP 3", [](ParGen &v) { v.Ethernet_IP3 = "x"; },
        "Error Ethernet!! IP Address 3 must be between 0 and 255");
    row("18 IP 4", [](ParGen &v) { v.Ethernet_IP4 = "-0x1"; },
        "Error Ethernet!! IP Address 4 must be between 0 and 255");
    row("19 mask 1", [](ParGen &v) { v.Ethernet_SM1 = "0x100"; },
        "Error Ethernet!! SubNet Mask 1 must be between 0 and 255");
    row("20 mask 2", [](ParGen &v) { v.Ethernet_SM2 = "2550"; },
        "Error Ethernet!! SubNet Mask 2 must be between 0 and 255");
    row("21 mask 3", [](ParGen &v) { v.Ethernet_SM3 = "255 "; },
        "Error Ethernet!! SubNet Mask 3 must be between 0 and 255");
    row("22 mask 4", [](ParGen &v) { v.Ethernet_SM4 = "\xc2\xb2"; },
        "Error Ethernet!! SubNet Mask 4 must be between 0 and 255");
    row("23 gateway 1", [](ParGen &v) { v.Ethernet_GAT1 = "abc"; },
        "Error Ethernet!! GATEWAY IP 1 must be between 0 and 255");
    row("24 gateway 2", [](ParGen &v) { v.Ethernet_GAT2 = "256"; },
        "Error Ethernet!! GATEWAY IP 2 must be between 0 and 255");
    row("25 gateway 3", [](ParGen &v) { v.Ethernet_GAT3 = ""; },
        "Error Ethernet!! GATEWAY IP 3 must be between 0 and 255");
    row("26 gateway 4", [](ParGen &v) { v.Ethernet_GAT4 = "99999999999"; },
        "Error Ethernet!! GATEWAY IP 4 must be between 0 and 255");
    row("27 node ID 0", [](ParGen &v) { v.CANopen_IDDev = "0"; },
        "Error CANopen!! ID Device must be between 1 and 127");
    row("28 delay", [](ParGen &v) { v.CANopen_Delay = "256"; },
        "Error CANopen!! Delay must be between 0 and 255");
    row("29 SDO time-out", [](ParGen &v) { v.CANopen_SDO_TimeOut = "100001"; },
        "Error CANopen!! SDO Client TimeOut must be between 0 and 100000");
}

void TestParGenCheck::eachCheckFails()
{
    QFETCH(Change, change);
    QFETCH(QStringList, messages);
    ParGen v = allChecksOn();
    change(v);
    QCOMPARE(messagesOf(Controllo_Dati(v)), messages);
}

void TestParGenCheck::edgeCases_data()
{
    QTest::addColumn<Change>("change");
    QTest::addColumn<QStringList>("messages");

    auto row = [](const char *name, Change change, QStringList messages) {
        QTest::newRow(name) << change << messages;
    };
    const ParGen base = allChecksOn();
    row("DNS off: DNS 999 passes",
        [](ParGen &v) { v.Eth_Conn_Enable_DNS = false; v.Eth_Conn_Primary_DNS1 = "999"; }, {});
    row("gateway off: abc passes",
        [](ParGen &v) { v.Ethernet_EN_GAT = false; v.Ethernet_GAT1 = v.Ethernet_GAT4 = "abc"; }, {});
    row("network start off: delay 300 passes",
        [](ParGen &v) { v.CANopen_Network_Start = false; v.CANopen_Delay = "300"; }, {});
    row("DHCP on: IP 300 still checked",
        [](ParGen &v) { v.Eth_Conn_DHCP_Cable = true; v.Ethernet_IP1 = "300"; },
        {"Error Ethernet!! IP Address 1 must be between 0 and 255"});
    row("node ID 1 and bounds", [](ParGen &v) { v.CANopen_IDDev = "1"; }, {});
    row("node ID 127", [](ParGen &v) { v.CANopen_IDDev = "127"; }, {});
    row("node ID 128", [](ParGen &v) { v.CANopen_IDDev = "128"; },
        {"Error CANopen!! ID Device must be between 1 and 127"});
    row("node ID in hexadecimal", [](ParGen &v) { v.CANopen_IDDev = "0x7F"; }, {});
    row("leading blanks are skipped", [](ParGen &v) { v.CANopen_IDDev = "  5"; }, {});
    row("SDO time-out 100000", [](ParGen &v) { v.CANopen_SDO_TimeOut = "100000"; }, {});
    row("delay 255", [](ParGen &v) { v.CANopen_Delay = "255"; }, {});
    row("unknown band: payload 0",
        [](ParGen &v) { v.LoRa_RF_Band.clear(); v.Change_LoRa_DataRate(); v.Set_Max_Payload_Size(); },
        {"Error LoRa!! RF Band cannot be empty", "Error LoRa!! DataRate cannot be empty",
         "Error LoRa!! Payload Size must be between 1 and 0"});
    row("payload 0 for a known pair",
        [](ParGen &v) { v.LoRa_Payload_Size = "0"; },
        {"Error LoRa!! Payload Size must be between 1 and 230"});
    row("payload below the maximum passes",
        [](ParGen &v) { v.LoRa_Payload_Size = "1"; }, {});
    row("empty keys pass",
        [](ParGen &v) { v.LoRa_Device_Address.clear(); v.LoRa_Application_Key.clear();
                        v.Eth_Conn_Device_Name = QString(300, u'x'); v.CANopen_BAUDRATE = -1; },
        {});
    row("blank list text counts as empty",
        [](ParGen &v) { v.LoRa_Network_Type = " \t"; },
        {"Error LoRa!! Network Type cannot be empty"});
}

void TestParGenCheck::edgeCases()
{
    QFETCH(Change, change);
    QFETCH(QStringList, messages);
    ParGen v = allChecksOn();
    change(v);
    QCOMPARE(messagesOf(Controllo_Dati(v)), messages);
}

void TestParGenCheck::faultsComeInCheckOrder()
{
    ParGen v = allChecksOn();
    v.CANopen_SDO_TimeOut = "x";
    v.Ethernet_GAT2 = "x";
    v.LoRa_RF_Band.clear();
    v.Eth_Conn_Secondary_DNS3 = "x";
    const Faults faults = Controllo_Dati(v);
    QCOMPARE(messagesOf(faults),
             (QStringList{"Error Secondary DNS!! DNS 3 must be between 0 and 255",
                          "Error LoRa!! RF Band cannot be empty",
                          "Error LoRa!! Payload Size must be between 1 and 0",
                          "Error Ethernet!! GATEWAY IP 2 must be between 0 and 255",
                          "Error CANopen!! SDO Client TimeOut must be between 0 and 100000"}));
}

QTEST_APPLESS_MAIN(TestParGenCheck)
#include "test_par_gen_check.moc"
