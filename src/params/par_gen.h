#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "params/regional_rules.h"

#include <optional>

namespace swz {

inline constexpr const char *kActivationAbp = "Activation by Personalization [ABP]";
inline constexpr const char *kActivationOtaa = "Over-the-Air Activation [OTAA]";

// The communication parameters of one project, as the parameter window holds them and as
// ParGen.xml stores them. Members carry the names of their XML elements. List values hold the
// text of the chosen entry, empty when no entry is chosen; CANopen_BAUDRATE holds the position
// of the chosen bit rate (-1 when none); switches are bools; everything else is the field text.
struct ParGen
{
    QString Eth_Conn_Device_Name;
    bool Eth_Conn_DHCP_Cable = false;
    bool Eth_Conn_DHCP_WiFi = false;
    bool Eth_Conn_Enable_DNS = false;
    QString Eth_Conn_Primary_DNS1 = QStringLiteral("8");
    QString Eth_Conn_Primary_DNS2 = QStringLiteral("8");
    QString Eth_Conn_Primary_DNS3 = QStringLiteral("8");
    QString Eth_Conn_Primary_DNS4 = QStringLiteral("8");
    QString Eth_Conn_Secondary_DNS1 = QStringLiteral("8");
    QString Eth_Conn_Secondary_DNS2 = QStringLiteral("8");
    QString Eth_Conn_Secondary_DNS3 = QStringLiteral("4");
    QString Eth_Conn_Secondary_DNS4 = QStringLiteral("4");
    QString LoRa_RF_Band = QStringLiteral("AS923");
    QString LoRa_Network_Type = QStringLiteral("Private");
    bool LoRa_Adaptive_DataRate = false;
    QString LoRa_DataRate = loRaDataRateTexts(QStringLiteral("AS923")).value(0);
    QString LoRa_Transmission_Type = QStringLiteral("Unconfirmed");
    QString LoRa_Payload_Size = QStringLiteral("0");
    QString LoRa_Activation_Method = QString::fromLatin1(kActivationAbp);
    QString LoRa_Device_Address;
    QString LoRa_JoinEUI;
    QString LoRa_Network_Session_Key;
    QString LoRa_Application_Session_Key;
    QString LoRa_Application_Key;
    QString LoRa_FPort = QStringLiteral("Fixed");
    QString LoRa_Frequency_SubBand = QStringLiteral("1");
    QString Ethernet_IP1 = QStringLiteral("192");
    QString Ethernet_IP2 = QStringLiteral("168");
    QString Ethernet_IP3 = QStringLiteral("0");
    QString Ethernet_IP4 = QStringLiteral("10");
    QString Ethernet_SM1 = QStringLiteral("255");
    QString Ethernet_SM2 = QStringLiteral("255");
    QString Ethernet_SM3 = QStringLiteral("255");
    QString Ethernet_SM4 = QStringLiteral("0");
    QString Ethernet_GAT1 = QStringLiteral("192");
    QString Ethernet_GAT2 = QStringLiteral("168");
    QString Ethernet_GAT3 = QStringLiteral("0");
    QString Ethernet_GAT4 = QStringLiteral("1");
    bool Ethernet_EN_GAT = false;
    QString CANopen_IDDev = QStringLiteral("1");
    int CANopen_BAUDRATE = 5;
    bool CANopen_Set_Operational = false;
    bool CANopen_Network_Start = false;
    QString CANopen_Delay = QStringLiteral("0");
    QString CANopen_SDO_TimeOut = QStringLiteral("10000");

    // The values of a project without ParGen.xml: the defaults, with the default band's data
    // rate at position 6 (SF7/250kHz) and its payload.
    static ParGen noFileDefaults();

    // Rebuilds the data rate for the current band: its first entry, or empty for an unknown band.
    void Change_LoRa_DataRate();
    // The largest payload for the current band and data rate; 0 when the pair is unknown.
    quint8 Find_Max_PayLoad() const;
    // Puts Find_Max_PayLoad into LoRa_Payload_Size.
    void Set_Max_Payload_Size();

    bool operator==(const ParGen &) const = default;
};

// The fixed lists the window offers. Stored list texts are matched against these.
QStringList parGenNetworkTypes();       // "Private", "Public"
QStringList parGenTransmissionTypes();  // "Unconfirmed", "Confirmed"
QStringList parGenActivationMethods();  // ABP, OTAA
QStringList parGenPortFields();         // "Fixed", "Variable"
QStringList canOpenBaudRates();         // "10K" ... "1000K" and a tenth, empty entry

// The 45 element names in written order.
QStringList parGenElementNames();

// The entry of list equal to text without regard to case, or an empty text when none is.
QString matchListEntry(const QStringList &list, const QString &text);

struct ParGenLoad
{
    enum class Status { Loaded, Missing, Failed };
    Status status = Status::Missing;
    ParGen values;  // no-file defaults unless Loaded
    QString error;  // parser or system message when Failed
};

// Reads ParGen.xml value by value; each element that is missing falls back to its own default.
// A file that cannot be read or parsed loads nothing and reports why.
ParGenLoad loadParGen(const QString &path);

// The whole document as it is written: root Par_Gen, the version comment after it, the 45
// elements in table order, no XML declaration.
QByteArray parGenDocument(const ParGen &values);

// Replaces ParGen.xml atomically; returns the reason when writing failed (the old file is kept).
std::optional<QString> saveParGen(const QString &path, const ParGen &values);

} // namespace swz
