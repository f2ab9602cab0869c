#include "params/par_gen_check.h"

#include "common/text_values.h"
#include "lang/text_table.h"

namespace swz {

namespace {

class Checker
{
public:
    explicit Checker(Faults &faults) : m_faults(faults) {}

    // A field's number: a whole integer, else -1 so that it fails every range.
    void range(const QString &text, int low, int high, int messageIndex)
    {
        const qint32 number = readIntegerOr(text, -1);
        if (number < low || number > high)
            fail(uiText(messageIndex));
    }

    void notEmpty(const QString &listText, int messageIndex)
    {
        if (trimBlanks(listText).isEmpty())
            fail(uiText(messageIndex));
    }

    void fail(const QString &message) { m_faults.append(Fault{QString(), 0, message}); }

private:
    Faults &m_faults;
};

} // namespace

Faults Controllo_Dati(const ParGen &v)
{
    Faults faults;
    Checker check(faults);

    if (v.Eth_Conn_Enable_DNS) {
        const QString *dns[] = {&v.Eth_Conn_Primary_DNS1,   &v.Eth_Conn_Primary_DNS2,
                                &v.Eth_Conn_Primary_DNS3,   &v.Eth_Conn_Primary_DNS4,
                                &v.Eth_Conn_Secondary_DNS1, &v.Eth_Conn_Secondary_DNS2,
                                &v.Eth_Conn_Secondary_DNS3, &v.Eth_Conn_Secondary_DNS4};
        for (int i = 0; i < 8; ++i)
            check.range(*dns[i], 0, 255, 2925 + i);
    }

    check.notEmpty(v.LoRa_RF_Band, 493);
    check.notEmpty(v.LoRa_Network_Type, 494);
    check.notEmpty(v.LoRa_DataRate, 495);
    check.notEmpty(v.LoRa_Transmission_Type, 496);
    const int maxPayload = v.Find_Max_PayLoad();
    const qint32 payload = readIntegerOr(v.LoRa_Payload_Size, -1);
    if (payload < 1 || payload > maxPayload)
        check.fail(uiText(497).replace(QLatin1String("%d"), QString::number(maxPayload)));
    check.notEmpty(v.LoRa_Activation_Method, 499);

    const QString *ethernet[] = {&v.Ethernet_IP1, &v.Ethernet_IP2, &v.Ethernet_IP3,
                                 &v.Ethernet_IP4, &v.Ethernet_SM1, &v.Ethernet_SM2,
                                 &v.Ethernet_SM3, &v.Ethernet_SM4};
    for (int i = 0; i < 8; ++i)
        check.range(*ethernet[i], 0, 255, 465 + i);

    if (v.Ethernet_EN_GAT) {
        const QString *gateway[] = {&v.Ethernet_GAT1, &v.Ethernet_GAT2, &v.Ethernet_GAT3,
                                    &v.Ethernet_GAT4};
        for (int i = 0; i < 4; ++i)
            check.range(*gateway[i], 0, 255, 473 + i);
    }

    check.range(v.CANopen_IDDev, 1, 127, 766);
    if (v.CANopen_Network_Start)
        check.range(v.CANopen_Delay, 0, 255, 767);
    check.range(v.CANopen_SDO_TimeOut, 0, 100000, 768);
    return faults;
}

} // namespace swz
