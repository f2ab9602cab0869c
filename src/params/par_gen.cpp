#include "params/par_gen.h"

#include "common/text_values.h"
#include "common/xml_file.h"

#include <QDomDocument>
#include <QXmlStreamWriter>

#include <variant>

namespace swz {

namespace {

// How one element is read and written.
enum class Kind { Text, Switch, List, BaudRate };

using ListOf = QStringList (*)(const ParGen &);

struct Element
{
    const char *name;
    Kind kind;
    std::variant<QString ParGen::*, bool ParGen::*, int ParGen::*> member;
    ListOf list = nullptr;
};

QStringList bandList(const ParGen &) { return loRaBandNames(); }
QStringList networkTypeList(const ParGen &) { return parGenNetworkTypes(); }
QStringList dataRateList(const ParGen &values) { return loRaDataRateTexts(values.LoRa_RF_Band); }
QStringList transmissionList(const ParGen &) { return parGenTransmissionTypes(); }
QStringList activationList(const ParGen &) { return parGenActivationMethods(); }
QStringList portFieldList(const ParGen &) { return parGenPortFields(); }
QStringList subBandList(const ParGen &) { return loRaSubBands(); }

#define SWZ_TEXT(name) Element{#name, Kind::Text, &ParGen::name}
#define SWZ_SWITCH(name) Element{#name, Kind::Switch, &ParGen::name}
#define SWZ_LIST(name, list) Element{#name, Kind::List, &ParGen::name, list}

const Element kElements[] = {
    SWZ_TEXT(Eth_Conn_Device_Name),
    SWZ_SWITCH(Eth_Conn_DHCP_Cable),
    SWZ_SWITCH(Eth_Conn_DHCP_WiFi),
    SWZ_SWITCH(Eth_Conn_Enable_DNS),
    SWZ_TEXT(Eth_Conn_Primary_DNS1),
    SWZ_TEXT(Eth_Conn_Primary_DNS2),
    SWZ_TEXT(Eth_Conn_Primary_DNS3),
    SWZ_TEXT(Eth_Conn_Primary_DNS4),
    SWZ_TEXT(Eth_Conn_Secondary_DNS1),
    SWZ_TEXT(Eth_Conn_Secondary_DNS2),
    SWZ_TEXT(Eth_Conn_Secondary_DNS3),
    SWZ_TEXT(Eth_Conn_Secondary_DNS4),
    SWZ_LIST(LoRa_RF_Band, bandList),
    SWZ_LIST(LoRa_Network_Type, networkTypeList),
    SWZ_SWITCH(LoRa_Adaptive_DataRate),
    SWZ_LIST(LoRa_DataRate, dataRateList),
    SWZ_LIST(LoRa_Transmission_Type, transmissionList),
    SWZ_TEXT(LoRa_Payload_Size),
    SWZ_LIST(LoRa_Activation_Method, activationList),
    SWZ_TEXT(LoRa_Device_Address),
    SWZ_TEXT(LoRa_JoinEUI),
    SWZ_TEXT(LoRa_Network_Session_Key),
    SWZ_TEXT(LoRa_Application_Session_Key),
    SWZ_TEXT(LoRa_Application_Key),
    SWZ_LIST(LoRa_FPort, portFieldList),
    SWZ_LIST(LoRa_Frequency_SubBand, subBandList),
    SWZ_TEXT(Ethernet_IP1),
    SWZ_TEXT(Ethernet_IP2),
    SWZ_TEXT(Ethernet_IP3),
    SWZ_TEXT(Ethernet_IP4),
    SWZ_TEXT(Ethernet_SM1),
    SWZ_TEXT(Ethernet_SM2),
    SWZ_TEXT(Ethernet_SM3),
    SWZ_TEXT(Ethernet_SM4),
    SWZ_TEXT(Ethernet_GAT1),
    SWZ_TEXT(Ethernet_GAT2),
    SWZ_TEXT(Ethernet_GAT3),
    SWZ_TEXT(Ethernet_GAT4),
    SWZ_SWITCH(Ethernet_EN_GAT),
    SWZ_TEXT(CANopen_IDDev),
    Element{"CANopen_BAUDRATE", Kind::BaudRate, &ParGen::CANopen_BAUDRATE},
    SWZ_SWITCH(CANopen_Set_Operational),
    SWZ_SWITCH(CANopen_Network_Start),
    SWZ_TEXT(CANopen_Delay),
    SWZ_TEXT(CANopen_SDO_TimeOut),
};

#undef SWZ_TEXT
#undef SWZ_SWITCH
#undef SWZ_LIST

static_assert(std::size(kElements) == 45);

constexpr int kDefaultBaudRate = 5;     // 250K
constexpr int kNoFileDataRate = 6;      // SF7/250kHz of the default band

void readElement(const Element &element, const QDomElement &node, ParGen &values)
{
    const QString text = node.text();
    switch (element.kind) {
    case Kind::Text:
        values.*std::get<QString ParGen::*>(element.member) = text;
        break;
    case Kind::Switch:
        values.*std::get<bool ParGen::*>(element.member) = text == QLatin1String("1");
        break;
    case Kind::List:
        values.*std::get<QString ParGen::*>(element.member)
            = matchListEntry(element.list(values), text);
        break;
    case Kind::BaudRate: {
        const int position = readInteger(text).value_or(kDefaultBaudRate);
        // A position outside the list chooses nothing, as a list does.
        values.CANopen_BAUDRATE
            = position >= 0 && position < canOpenBaudRates().size() ? position : -1;
        break;
    }
    }
}

QString writtenText(const Element &element, const ParGen &values)
{
    switch (element.kind) {
    case Kind::Text:
    case Kind::List:
        return values.*std::get<QString ParGen::*>(element.member);
    case Kind::Switch:
        return values.*std::get<bool ParGen::*>(element.member) ? QStringLiteral("1")
                                                                : QStringLiteral("0");
    case Kind::BaudRate:
        return QString::number(values.CANopen_BAUDRATE);
    }
    return {};
}

ParGen valuesFrom(const QDomElement &root)
{
    ParGen values;
    for (const Element &element : kElements) {
        const QString name = QString::fromLatin1(element.name);
        // The Wi-Fi DHCP option does not exist on this model: it is always off.
        if (name == QLatin1String("Eth_Conn_DHCP_WiFi"))
            continue;
        const QDomElement node = childElement(root, name);
        if (!node.isNull())
            readElement(element, node, values);
        if (name == QLatin1String("LoRa_RF_Band")) {
            values.Change_LoRa_DataRate();
        } else if (name == QLatin1String("LoRa_DataRate") && values.LoRa_DataRate.isEmpty()) {
            values.LoRa_DataRate = loRaDataRateTexts(values.LoRa_RF_Band).value(0);
        }
    }
    values.Eth_Conn_DHCP_WiFi = false;
    values.Set_Max_Payload_Size();
    return values;
}

} // namespace

ParGen ParGen::noFileDefaults()
{
    ParGen values;
    values.LoRa_DataRate = loRaDataRateTexts(values.LoRa_RF_Band).value(kNoFileDataRate);
    values.Set_Max_Payload_Size();
    return values;
}

void ParGen::Change_LoRa_DataRate()
{
    LoRa_DataRate = loRaDataRateTexts(LoRa_RF_Band).value(0);
}

quint8 ParGen::Find_Max_PayLoad() const
{
    return maxLoRaPayload(LoRa_RF_Band, LoRa_DataRate);
}

void ParGen::Set_Max_Payload_Size()
{
    LoRa_Payload_Size = QString::number(Find_Max_PayLoad());
}

QStringList parGenNetworkTypes()
{
    return {QStringLiteral("Private"), QStringLiteral("Public")};
}

QStringList parGenTransmissionTypes()
{
    return {QStringLiteral("Unconfirmed"), QStringLiteral("Confirmed")};
}

QStringList parGenActivationMethods()
{
    return {QString::fromLatin1(kActivationAbp), QString::fromLatin1(kActivationOtaa)};
}

QStringList parGenPortFields()
{
    return {QStringLiteral("Fixed"), QStringLiteral("Variable")};
}

QStringList canOpenBaudRates()
{
    return {QStringLiteral("10K"),  QStringLiteral("20K"),  QStringLiteral("50K"),
            QStringLiteral("100K"), QStringLiteral("125K"), QStringLiteral("250K"),
            QStringLiteral("500K"), QStringLiteral("800K"), QStringLiteral("1000K"),
            QString()};
}

QStringList parGenElementNames()
{
    QStringList names;
    for (const Element &element : kElements)
        names.append(QString::fromLatin1(element.name));
    return names;
}

QString matchListEntry(const QStringList &list, const QString &text)
{
    for (const QString &entry : list) {
        if (entry.compare(text, Qt::CaseInsensitive) == 0)
            return entry;
    }
    return {};
}

ParGenLoad loadParGen(const QString &path)
{
    ParGenLoad result;
    result.values = ParGen::noFileDefaults();
    const XmlLoad xml = loadXmlFile(path);
    switch (xml.status) {
    case XmlLoad::Status::Missing:
        result.status = ParGenLoad::Status::Missing;
        break;
    case XmlLoad::Status::Malformed:
    case XmlLoad::Status::Unreadable:
        result.status = ParGenLoad::Status::Failed;
        result.error = xml.error;
        break;
    case XmlLoad::Status::Loaded:
        result.status = ParGenLoad::Status::Loaded;
        result.values = valuesFrom(xml.root());
        break;
    }
    return result;
}

QByteArray parGenDocument(const ParGen &values)
{
    QByteArray out;
    QXmlStreamWriter xml(&out);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(2);
    xml.writeStartElement(QStringLiteral("Par_Gen"));
    for (const Element &element : kElements)
        xml.writeTextElement(QString::fromLatin1(element.name), writtenText(element, values));
    xml.writeEndElement();
    xml.writeComment(QStringLiteral("SW_VERSION = 1.000"));
    xml.writeEndDocument();
    // The writer starts a top-level element on a new line; nothing may precede the root.
    if (out.startsWith('\n'))
        out.remove(0, 1);
    return out;
}

std::optional<QString> saveParGen(const QString &path, const ParGen &values)
{
    return saveFileAtomically(path, parGenDocument(values));
}

} // namespace swz
