#include "image/device_image.h"

#include "common/text_values.h"
#include "common/xml_file.h"
#include "image/value_encoders.h"
#include "lang/text_table.h"

#include <QDir>
#include <QDomElement>
#include <QFile>
#include <QFileInfo>

#include <cstring>

namespace swz::image {

namespace {

constexpr int kTextNotANumber = 96;
constexpr int kTextMissingValue = 97;
constexpr int kTextRowsLeftOut = 98;

QString readFailure(const QString &path, const XmlLoad &xml)
{
    return uiText(kTextCannotReadFile) + path + QStringLiteral(": ") + xml.error;
}

CompileResult failure(const QString &message)
{
    CompileResult result;
    result.ok = false;
    result.error = message;
    return result;
}

QString leftOutWarning(const QString &path, const QString &list, int capacity, int leftOut)
{
    return uiText(kTextRowsLeftOut).arg(capacity).arg(list, path).arg(leftOut);
}

// Appends records to a buffer through the layout: the record range is zeroed, then every field
// is copied in layout order. Nothing outside [position, position + size) is touched.
quint32 putRecords(const RecordArray &records, quint32 position, ImageBuffer &buffer)
{
    const std::size_t size = std::size_t(records.records()) * std::size_t(records.recordSize());
    if (position > ImageBuffer::kCapacity || size > ImageBuffer::kCapacity - position)
        return position;
    quint8 *out = buffer.data.data() + position;
    std::memset(out, 0, size);
    const std::span<const ImageField> fields = fieldsOf(records.block());
    for (int r = 0; r < records.records(); ++r) {
        const quint8 *in = records.record(r);
        quint8 *at = out + std::size_t(r) * std::size_t(records.recordSize());
        for (const ImageField &field : fields)
            std::memcpy(at + field.offset, in + field.offset, std::size_t(field.width));
    }
    return position + quint32(size);
}

// Reads the attributes of one CANopen rule row; the first failure is kept and stops the row.
class RuleRow
{
public:
    RuleRow(const QString &path, const QString &list, int row, const QDomElement &element)
        : m_path(path), m_list(list), m_row(row), m_element(element)
    {
    }

    qint64 number(const QString &attribute, bool wide = false)
    {
        if (m_error)
            return 0;
        if (!m_element.hasAttribute(attribute)) {
            m_error = uiText(kTextMissingValue).arg(m_path, m_list).arg(m_row).arg(attribute);
            return 0;
        }
        const QString text = m_element.attribute(attribute);
        const std::optional<qint64> value = wide ? strictNumber64(text) : strictNumber(text);
        if (!value) {
            m_error = uiText(kTextNotANumber).arg(m_path, m_list).arg(m_row).arg(attribute)
                      + QStringLiteral(" \"") + text + u'"';
            return 0;
        }
        return *value;
    }

    bool onChange() const { return m_element.attribute(QStringLiteral("On_Change")) == u"Y"; }

    const std::optional<QString> &error() const { return m_error; }

private:
    const QString &m_path;
    const QString &m_list;
    int m_row;
    const QDomElement &m_element;
    std::optional<QString> m_error;
};

enum class TableKind { SdoServerRead, SdoServerWrite, SdoClientRead, SdoClientWrite, ReceivePdo, TransmitPdo };

void fillSdoEntry(RecordArray &table, int index, RuleRow &row, TableKind kind)
{
    const bool client = kind == TableKind::SdoClientRead || kind == TableKind::SdoClientWrite;
    std::memset(table.record(index), 0, std::size_t(table.recordSize()));
    if (client)
        table.set(index, sdo::Device_ID, quint64(row.number(QStringLiteral("Device_ID"))));
    table.set(index, sdo::Index, quint64(row.number(QStringLiteral("Index"))));
    table.set(index, sdo::SubIndex, quint64(row.number(QStringLiteral("SubIndex"))));
    const qint64 nByte = row.number(QStringLiteral("NByte"));
    table.set(index, sdo::NByte, quint64(nByte));
    if (client)
        table.set(index, sdo::Poll_Time, quint64(row.number(QStringLiteral("Poll_Time"), true)));
    quint64 mode = 0;
    if (kind == TableKind::SdoServerWrite)
        mode = 1;
    else if (kind == TableKind::SdoClientWrite)
        mode = row.onChange() ? 3 : 1;
    table.set(index, sdo::Mode, mode);
    // Only the addresses within the rule's length are read; the others may be empty.
    table.set(index, sdo::Address_B1, quint64(row.number(QStringLiteral("Address_B1"))));
    if (nByte >= 2)
        table.set(index, sdo::Address_B2, quint64(row.number(QStringLiteral("Address_B2"))));
    if (nByte >= 4) {
        table.set(index, sdo::Address_B3, quint64(row.number(QStringLiteral("Address_B3"))));
        table.set(index, sdo::Address_B4, quint64(row.number(QStringLiteral("Address_B4"))));
    }
}

void fillPdoEntry(RecordArray &table, int index, RuleRow &row, TableKind kind)
{
    std::memset(table.record(index), 0, std::size_t(table.recordSize()));
    table.set(index, pdo::COB_ID, quint64(row.number(QStringLiteral("COB-ID"), true)));
    const qint64 dimension = row.number(QStringLiteral("Dimension"));
    table.set(index, pdo::Dimension, quint64(dimension));
    for (int k = 1; k <= 8; ++k) {
        if (k == 1 || dimension >= k)
            table.set(index, pdo::Address_B1 + (k - 1),
                      quint64(row.number(QStringLiteral("Address_B%1").arg(k))));
    }
    if (kind == TableKind::ReceivePdo) {
        table.set(index, pdo::Time, quint64(row.number(QStringLiteral("TimeOut"), true)));
    } else {
        table.set(index, pdo::Time, quint64(row.number(QStringLiteral("Send_Time"), true)));
        table.set(index, pdo::Mode, row.onChange() ? 3 : 1);
    }
}

} // namespace

RecordArray::RecordArray(ImageBlock block, int records)
    : m_block(block)
    , m_records(records)
    , m_recordSize(recordSizeOf(block))
    , m_bytes(std::size_t(records) * std::size_t(recordSizeOf(block)), 0)
{
}

void RecordArray::setBytes(int index, int field, const QByteArray &bytes)
{
    writeFieldBytes(record(index), fieldOf(m_block, field),
                    {reinterpret_cast<const quint8 *>(bytes.constData()), std::size_t(bytes.size())});
}

void RecordArray::clear()
{
    std::fill(m_bytes.begin(), m_bytes.end(), 0);
}

DeviceImageCompiler::DeviceImageCompiler()
    : m_general(ImageBlock::General, 1)
    , m_loRaWan(ImageBlock::LoRaWanHeader, 1)
    , m_uplink(ImageBlock::LoRaWanRuleItem, placementOf(UplinkList).records)
    , m_downlink(ImageBlock::LoRaWanRuleItem, placementOf(DownlinkList).records)
{
    for (int p = SdoServerRead; p <= TransmitPdo; ++p) {
        const BlockPlacement &placement = placementOf(Placement(p));
        m_canopen.emplace_back(placement.block, placement.records);
    }
}

RecordArray &DeviceImageCompiler::tableOf(Placement placement)
{
    return m_canopen[std::size_t(placement - SdoServerRead)];
}

void DeviceImageCompiler::Reset_General_Block()
{
    using namespace general;
    RecordArray &g = m_general;
    g.clear();
    g.set(0, CANopen_BitRate, 250000);
    g.set(0, Fixed_BitRate, 250000);
    g.set(0, Fixed_Serial_BitRate, 9600);
    g.set(0, Ethernet_IP, 0xC0A802CD);  // 192.168.2.205
    g.set(0, Ethernet_SM, 0xFFFFFF00);  // 255.255.255.0
    g.set(0, Ethernet_GAT, 0xFFFFFFFF); // 255.255.255.255
    g.set(0, Port_1, 10000);
    g.set(0, Port_2, 10001);
    g.set(0, Port_3, 10001);
    g.set(0, Serial_DataBits_Lines1to5, 0x0808080808);
    g.set(0, Serial_Line6_DataBits, 8);
    g.set(0, Serial_DataBits_Spare, 0x0808);
}

void DeviceImageCompiler::Reset_LoRaWAN_Block()
{
    m_loRaWan.clear();
    m_loRaWan.set(0, lorawan::DataRate, 6);
    m_loRaWan.set(0, lorawan::Payload_Size, 1);
    m_loRaWan.set(0, lorawan::Transmit_Interval, 1);
    m_uplink.clear();
    m_downlink.clear();
}

void DeviceImageCompiler::Reset_CANopen_Tables()
{
    for (RecordArray &table : m_canopen) {
        table.clear();
        for (int i = 0; i < table.records(); ++i)
            std::memset(table.record(i) + kUnusedWordsOffset, kUnusedWordsByte, kUnusedWordsWidth);
    }
}

CompileResult DeviceImageCompiler::Load_General_Parameters(const QString &parGenPath)
{
    const XmlLoad xml = loadXmlFile(parGenPath);
    if (xml.failed())
        return failure(readFailure(parGenPath, xml));
    if (!xml.loaded())
        return {};

    const QDomElement root = xml.root();
    // Each element is looked up on its own, so one missing or bad element only gets its default.
    auto text = [&root](const char *name) -> std::optional<QString> {
        const QDomElement element = childElement(root, QLatin1String(name));
        if (element.isNull())
            return std::nullopt;
        return element.text();
    };
    auto number = [&text](const char *name, qint64 fallback) {
        const std::optional<QString> t = text(name);
        return t ? numberOr(*t, fallback) : fallback;
    };
    auto on = [&text](const char *name) {
        const std::optional<QString> t = text(name);
        return t && switchIsOn(*t);
    };
    auto textOrEmpty = [&text](const char *name) { return text(name).value_or(QString()); };
    auto octets = [&number](const char *prefix, const std::array<int, 4> &defaults) {
        quint64 value = 0;
        for (int i = 0; i < 4; ++i) {
            const QByteArray name = prefix + QByteArray::number(i + 1);
            value = (value << 8) | quint8(number(name.constData(), defaults[std::size_t(i)]));
        }
        return value;
    };

    using namespace general;
    RecordArray &g = m_general;
    g.setBytes(0, Image_Version, Set_Image_Version());
    g.setBytes(0, Eth_Conn_Device_Name, shortText(textOrEmpty("Eth_Conn_Device_Name"), 31));
    g.set(0, Eth_Conn_Flags,
          (on("Eth_Conn_DHCP_Cable") ? 1u : 0u) | (on("Eth_Conn_DHCP_WiFi") ? 2u : 0u));
    if (on("Eth_Conn_Enable_DNS")) {
        g.set(0, Primary_DNS, octets("Eth_Conn_Primary_DNS", {8, 8, 8, 8}));
        g.set(0, Secondary_DNS, octets("Eth_Conn_Secondary_DNS", {8, 8, 4, 4}));
    }

    // The LoRaWAN header comes from the same file in the same pass.
    {
        using namespace lorawan;
        RecordArray &h = m_loRaWan;
        const quint8 activation = LoRa_Activation_Code(textOrEmpty("LoRa_Activation_Method"));
        h.set(0, Band, LoRa_Band_Code(textOrEmpty("LoRa_RF_Band")));
        h.set(0, Network_Type, LoRa_Network_Code(textOrEmpty("LoRa_Network_Type")));
        h.set(0, Activation_Method, activation);
        h.set(0, Adaptive_DataRate, quint64(number("LoRa_Adaptive_DataRate", 0)));
        h.set(0, DataRate, quint64(dataRateIndex(textOrEmpty("LoRa_DataRate"))));
        h.set(0, Transmission_Type, LoRa_Transmission_Code(textOrEmpty("LoRa_Transmission_Type")));
        h.set(0, Payload_Size, quint64(number("LoRa_Payload_Size", 1)));
        h.setBytes(0, JoinEUI, Hex_Pairs_To_Bytes(textOrEmpty("LoRa_JoinEUI"), 8));
        h.set(0, Transmit_Interval, quint64(number("LoRa_Transmit_Interval", 1)));
        if (activation == 1) {
            h.setBytes(0, Application_Key, Hex_Pairs_To_Bytes(textOrEmpty("LoRa_Application_Key"), 16));
        } else {
            h.setBytes(0, Device_Address, Hex_Pairs_To_Bytes(textOrEmpty("LoRa_Device_Address"), 4));
            h.setBytes(0, Network_Session_Key,
                       Hex_Pairs_To_Bytes(textOrEmpty("LoRa_Network_Session_Key"), 16));
            h.setBytes(0, Application_Session_Key,
                       Hex_Pairs_To_Bytes(textOrEmpty("LoRa_Application_Session_Key"), 16));
        }
        h.set(0, FPort_Mode, fPortMode(textOrEmpty("LoRa_FPort")));
        h.set(0, Frequency_SubBand, quint64(number("LoRa_Frequency_SubBand", 1)));
    }

    g.set(0, Serial_Line6_BitRate, 19200);
    g.set(0, Serial_Line6_Parity, 0);
    g.set(0, Serial_Line6_StopBits, 1);
    g.set(0, Serial_Line6_DataBits, 8);
    g.set(0, Ethernet_IP, octets("Ethernet_IP", {192, 168, 0, 10}));
    g.set(0, Ethernet_SM, octets("Ethernet_SM", {255, 255, 255, 0}));
    g.set(0, Ethernet_GAT,
          on("Ethernet_EN_GAT") ? octets("Ethernet_GAT", {192, 168, 0, 1}) : 0xFFFFFFFF);
    g.set(0, CANopen_IDDev, quint64(number("CANopen_IDDev", 1)));
    g.set(0, CANopen_BitRate, canBitRate(number("CANopen_BAUDRATE", 8)));
    g.set(0, CANopen_Startup_Flags,
          (on("CANopen_Set_Operational") ? 1u : 0u) | (on("CANopen_Network_Start") ? 2u : 0u));
    g.set(0, CANopen_Delay, quint64(number("CANopen_Delay", 10) * 1000));
    g.set(0, CANopen_SDO_TimeOut, quint64(number("CANopen_SDO_TimeOut", 10000)));
    return {};
}

CompileResult DeviceImageCompiler::Load_CANopen_Rules(const ProjectFiles &files)
{
    struct Source
    {
        Placement table;
        TableKind kind;
        const QString *path;
        const char *list;
    };
    const Source sources[] = {
        {SdoServerRead, TableKind::SdoServerRead, &files.sdoServer, "SDO_Read"},
        {SdoServerWrite, TableKind::SdoServerWrite, &files.sdoServer, "SDO_Write"},
        {SdoClientRead, TableKind::SdoClientRead, &files.sdoClient, "SDO_Read"},
        {SdoClientWrite, TableKind::SdoClientWrite, &files.sdoClient, "SDO_Write"},
        {ReceivePdo, TableKind::ReceivePdo, &files.pdo, "Receive_PDO"},
        {TransmitPdo, TableKind::TransmitPdo, &files.pdo, "Transmit_PDO"},
    };

    CompileResult result;
    for (int p = SdoServerRead; p <= TransmitPdo; ++p)
        m_general.set(0, placementOf(Placement(p)).countField, 0);

    // Each file is read once for its two lists.
    for (std::size_t s = 0; s < std::size(sources); s += 2) {
        const QString &path = *sources[s].path;
        const XmlLoad xml = loadXmlFile(path);
        if (xml.failed())
            return failure(readFailure(path, xml));
        if (!xml.loaded())
            continue;
        for (std::size_t t = s; t < s + 2; ++t) {
            const Source &source = sources[t];
            RecordArray &table = tableOf(source.table);
            const QString list = QLatin1String(source.list);
            // A file without one of its lists has no rules in that list.
            const QDomElement listElement = childElement(xml.root(), list);
            int count = 0;
            int leftOut = 0;
            int rowNumber = 0;
            for (QDomElement row = listElement.firstChildElement(); !row.isNull();
                 row = row.nextSiblingElement()) {
                ++rowNumber;
                if (count == table.records()) {
                    ++leftOut;
                    continue;
                }
                RuleRow reader(path, list, rowNumber, row);
                if (table.block() == ImageBlock::SdoRuleEntry)
                    fillSdoEntry(table, count, reader, source.kind);
                else
                    fillPdoEntry(table, count, reader, source.kind);
                if (reader.error())
                    return failure(*reader.error());
                ++count;
            }
            m_general.set(0, placementOf(source.table).countField, quint64(count));
            if (leftOut > 0)
                result.warnings.append(leftOutWarning(path, list, table.records(), leftOut));
        }
    }
    return result;
}

CompileResult DeviceImageCompiler::Load_LoRaWAN_Rules(const QString &accessPath, quint32 blockAddress)
{
    using namespace lorawan;
    m_loRaWan.set(0, Address_Uplink_List, blockAddress + 0x400);
    m_loRaWan.set(0, Address_Downlink_List, blockAddress + 0x1000);
    m_loRaWan.set(0, Count_Uplink, 0);
    m_loRaWan.set(0, Count_Downlink, 0);

    const XmlLoad xml = loadXmlFile(accessPath);
    if (xml.failed())
        return failure(readFailure(accessPath, xml));
    if (!xml.loaded())
        return {};

    const bool variablePort = m_loRaWan.get(0, FPort_Mode) == 1;
    auto flag = [](const QDomElement &row, const char *name) {
        return row.attribute(QLatin1String(name)).toUpper() == u"Y";
    };

    CompileResult result;
    for (const bool uplink : {true, false}) {
        const QString list = uplink ? QStringLiteral("LoRaWAN_Uplink") : QStringLiteral("LoRaWAN_Downlink");
        RecordArray &items = uplink ? m_uplink : m_downlink;
        int count = 0;
        int leftOut = 0;
        for (QDomElement row = childElement(xml.root(), list).firstChildElement(); !row.isNull();
             row = row.nextSiblingElement()) {
            if (trimBlanks(row.attribute(QStringLiteral("Enable"))).toUpper() != u"Y")
                continue;
            if (count == items.records()) {
                ++leftOut;
                continue;
            }
            using namespace rule_item;
            std::memset(items.record(count), 0, std::size_t(items.recordSize()));
            items.set(count, StartByte, quint64(numberOr(row.attribute(QStringLiteral("StartByte")), 0)));
            items.set(count, NumByte, quint64(numberOr(row.attribute(QStringLiteral("NumByte")), 0)));
            items.set(count, rule_item::FPort,
                      variablePort ? quint64(numberOr(row.attribute(QStringLiteral("FPort")), 2)) : 2);
            if (uplink) {
                items.set(count, Trigger_Flags,
                          (flag(row, "OnChange") ? 1u : 0u) | (flag(row, "OnCMD") ? 2u : 0u)
                              | (flag(row, "OnTimer") ? 4u : 0u));
                items.set(count, Timer_Period, quint64(numberOr(row.attribute(QStringLiteral("Time")), 30)));
            }
            ++count;
        }
        m_loRaWan.set(0, uplink ? Count_Uplink : Count_Downlink, quint64(count));
        if (leftOut > 0)
            result.warnings.append(leftOutWarning(accessPath, list, items.records(), leftOut));
    }
    return result;
}

quint32 DeviceImageCompiler::Put_General_Block(quint32 position, ImageBuffer &buffer)
{
    m_general.set(0, general::Checksum, generalChecksum(m_general.record(0)));
    return putRecords(m_general, position, buffer);
}

quint32 DeviceImageCompiler::Put_CANopen_Tables(quint32 position, ImageBuffer &buffer) const
{
    for (const RecordArray &table : m_canopen)
        position = putRecords(table, position, buffer);
    return position;
}

quint32 DeviceImageCompiler::Put_LoRaWAN_Block(quint32 position, ImageBuffer &buffer) const
{
    const quint32 start = position;
    position = putRecords(m_loRaWan, position, buffer);
    position = putRecords(m_uplink, position, buffer);
    position = putRecords(m_downlink, position, buffer);
    // The block ends with zero bytes up to its full size.
    const quint32 end = start + kLoRaWanBlockSize;
    if (end > ImageBuffer::kCapacity || position > end)
        return position;
    std::memset(buffer.data.data() + position, 0, end - position);
    return end;
}

CompileResult DeviceImageCompiler::Compile_Device_Image(const ProjectFiles &files)
{
    Reset_General_Block();
    Reset_LoRaWAN_Block();
    Reset_CANopen_Tables();

    CompileResult result = Load_General_Parameters(files.parGen);
    if (!result.ok)
        return result;

    for (int p = SdoServerRead; p <= TransmitPdo; ++p) {
        const BlockPlacement &table = placementOf(Placement(p));
        m_general.set(0, general::Address_SDO_Server_Read + (p - SdoServerRead), table.deviceAddress);
    }
    m_general.set(0, general::Address_LoRaWAN_Block, placementOf(LoRaWanBlock).deviceAddress);

    const CompileResult canopen = Load_CANopen_Rules(files);
    if (!canopen.ok)
        return canopen;
    result.warnings += canopen.warnings;

    const CompileResult loRaWan = Load_LoRaWAN_Rules(
        files.loRaWanAccess, quint32(m_general.get(0, general::Address_LoRaWAN_Block)));
    if (!loRaWan.ok)
        return loRaWan;
    result.warnings += loRaWan.warnings;

    m_bank1.length = 0;
    m_bank2.length = 0;
    m_bank1.length = Put_General_Block(0, m_bank1);
    m_bank2.length = Put_CANopen_Tables(0, m_bank2);
    m_bank2.length = Put_LoRaWAN_Block(m_bank2.length, m_bank2);
    return result;
}

std::optional<SaveFailure> DeviceImageCompiler::Save_Device_Image(const QString &binFolder) const
{
    const QString bank1Path = binFolder + QDir::separator() + QStringLiteral("bank1.bin");
    const QString bank2Path = binFolder + QDir::separator() + QStringLiteral("bank2.bin");

    // Keep the earlier bank 1 so that it can be put back if bank 2 cannot be written.
    const bool bank1Existed = QFileInfo::exists(bank1Path);
    std::optional<QByteArray> earlierBank1;
    if (bank1Existed) {
        QFile file(bank1Path);
        if (file.open(QIODevice::ReadOnly))
            earlierBank1 = file.readAll();
    }

    if (const std::optional<QString> reason = saveFileAtomically(bank1Path, m_bank1.used()))
        return SaveFailure{bank1Path, *reason};
    if (const std::optional<QString> reason = saveFileAtomically(bank2Path, m_bank2.used())) {
        SaveFailure failed{bank2Path, *reason};
        // Never leave the new bank 1 beside an older bank 2.
        std::optional<QString> undoFailure;
        if (earlierBank1)
            undoFailure = saveFileAtomically(bank1Path, *earlierBank1);
        else if (!bank1Existed && !QFile::remove(bank1Path))
            undoFailure = QStringLiteral("cannot remove it");
        else if (bank1Existed)
            undoFailure = QStringLiteral("the earlier file could not be read");
        if (undoFailure)
            failed.reason += QStringLiteral("; ") + bank1Path + QStringLiteral(" not restored: ")
                             + *undoFailure;
        return failed;
    }
    return std::nullopt;
}

} // namespace swz::image
