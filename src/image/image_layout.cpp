#include "image/image_layout.h"

#include <algorithm>
#include <cstring>

namespace swz::image {

namespace {

using enum ByteOrder;
using enum Encoder;

constexpr ImageBlock G = ImageBlock::General;

constexpr std::array<ImageField, general::FieldCount> kGeneral{{
    {"CANopen_BitRate", G, 0, 4, LittleEndian, CanBitRate},
    {"Fixed_BitRate", G, 4, 4, LittleEndian, Fixed},
    {"Fixed_Serial_BitRate", G, 12, 4, LittleEndian, Fixed},
    {"Ethernet_IP", G, 40, 4, AsWritten, Octets},
    {"Ethernet_SM", G, 44, 4, AsWritten, Octets},
    {"Ethernet_GAT", G, 48, 4, AsWritten, Octets},
    {"Port_1", G, 52, 2, LittleEndian, Fixed},
    {"Port_2", G, 54, 2, LittleEndian, Fixed},
    {"Port_3", G, 56, 2, LittleEndian, Fixed},
    {"CANopen_IDDev", G, 156, 4, LittleEndian, Number},
    {"CANopen_Startup_Flags", G, 160, 4, LittleEndian, Switches},
    {"CANopen_Delay", G, 164, 4, LittleEndian, Milliseconds},
    {"CANopen_SDO_TimeOut", G, 168, 4, LittleEndian, Number},
    {"Count_SDO_Server_Read", G, 172, 4, LittleEndian, RuleCount},
    {"Count_SDO_Server_Write", G, 176, 4, LittleEndian, RuleCount},
    {"Count_SDO_Client_Read", G, 180, 4, LittleEndian, RuleCount},
    {"Count_SDO_Client_Write", G, 184, 4, LittleEndian, RuleCount},
    {"Count_Receive_PDO", G, 188, 4, LittleEndian, RuleCount},
    {"Count_Transmit_PDO", G, 192, 4, LittleEndian, RuleCount},
    {"Address_SDO_Server_Read", G, 224, 4, LittleEndian, DeviceAddress},
    {"Address_SDO_Server_Write", G, 228, 4, LittleEndian, DeviceAddress},
    {"Address_SDO_Client_Read", G, 232, 4, LittleEndian, DeviceAddress},
    {"Address_SDO_Client_Write", G, 236, 4, LittleEndian, DeviceAddress},
    {"Address_Receive_PDO", G, 240, 4, LittleEndian, DeviceAddress},
    {"Address_Transmit_PDO", G, 244, 4, LittleEndian, DeviceAddress},
    {"Serial_Line6_BitRate", G, 420, 4, LittleEndian, Fixed},
    {"Serial_Line6_Parity", G, 429, 1, LittleEndian, Fixed},
    {"Serial_Line6_StopBits", G, 435, 1, LittleEndian, Fixed},
    {"Serial_DataBits_Lines1to5", G, 436, 5, AsWritten, Fixed},
    {"Serial_Line6_DataBits", G, 441, 1, LittleEndian, Fixed},
    {"Serial_DataBits_Spare", G, 442, 2, AsWritten, Fixed},
    {"Eth_Conn_Flags", G, 1256, 2, LittleEndian, Switches},
    {"Eth_Conn_Device_Name", G, 1300, 32, AsWritten, ShortText},
    {"Secondary_DNS", G, 1340, 4, AsWritten, Octets},
    {"Primary_DNS", G, 1420, 4, AsWritten, Octets},
    {"Address_LoRaWAN_Block", G, 1628, 4, LittleEndian, DeviceAddress},
    {"Image_Version", G, 1644, 8, AsWritten, VersionText},
    {"Checksum", G, 2044, 4, LittleEndian, Encoder::Checksum},
}};

constexpr ImageBlock S = ImageBlock::SdoRuleEntry;

constexpr std::array<ImageField, sdo::FieldCount> kSdo{{
    {"Reserved", S, 0, 4, LittleEndian, Fixed},
    {"Index", S, 4, 2, LittleEndian, StrictNumber},
    {"SubIndex", S, 6, 1, LittleEndian, StrictNumber},
    {"Device_ID", S, 7, 1, LittleEndian, StrictNumber},
    {"Poll_Time", S, 8, 4, LittleEndian, StrictNumber64},
    {"Spare_Word1", S, 12, 2, LittleEndian, Fixed},
    {"Spare_Word2", S, 14, 2, LittleEndian, Fixed},
    {"Spare_Word3", S, 16, 2, LittleEndian, Fixed},
    {"Spare_Word4", S, 18, 2, LittleEndian, Fixed},
    {"Address_B1", S, 20, 2, LittleEndian, StrictNumber},
    {"Address_B2", S, 22, 2, LittleEndian, StrictNumber},
    {"Address_B3", S, 24, 2, LittleEndian, StrictNumber},
    {"Address_B4", S, 26, 2, LittleEndian, StrictNumber},
    {"NByte", S, 28, 1, LittleEndian, StrictNumber},
    {"Mode", S, 29, 1, LittleEndian, Mode},
}};

constexpr ImageBlock P = ImageBlock::PdoRuleEntry;

constexpr std::array<ImageField, pdo::FieldCount> kPdo{{
    {"COB-ID", P, 0, 4, LittleEndian, StrictNumber64},
    {"Time", P, 8, 4, LittleEndian, StrictNumber64},
    {"Address_B1", P, 12, 2, LittleEndian, StrictNumber},
    {"Address_B2", P, 14, 2, LittleEndian, StrictNumber},
    {"Address_B3", P, 16, 2, LittleEndian, StrictNumber},
    {"Address_B4", P, 18, 2, LittleEndian, StrictNumber},
    {"Address_B5", P, 20, 2, LittleEndian, StrictNumber},
    {"Address_B6", P, 22, 2, LittleEndian, StrictNumber},
    {"Address_B7", P, 24, 2, LittleEndian, StrictNumber},
    {"Address_B8", P, 26, 2, LittleEndian, StrictNumber},
    {"Dimension", P, 28, 1, LittleEndian, StrictNumber},
    {"Mode", P, 29, 1, LittleEndian, Mode},
}};

constexpr ImageBlock L = ImageBlock::LoRaWanHeader;

constexpr std::array<ImageField, lorawan::FieldCount> kLoRaWan{{
    {"LoRa_RF_Band", L, 0, 1, LittleEndian, BandCode},
    {"LoRa_Network_Type", L, 1, 1, LittleEndian, NetworkCode},
    {"LoRa_Activation_Method", L, 2, 1, LittleEndian, ActivationCode},
    {"LoRa_DataRate", L, 3, 1, LittleEndian, DataRateIndex},
    {"LoRa_Device_Address", L, 4, 4, AsWritten, HexPairs},
    {"LoRa_JoinEUI", L, 8, 8, AsWritten, HexPairs},
    {"LoRa_Network_Session_Key", L, 16, 16, AsWritten, HexPairs},
    {"LoRa_Application_Session_Key", L, 32, 16, AsWritten, HexPairs},
    {"LoRa_Application_Key", L, 48, 16, AsWritten, HexPairs},
    {"LoRa_Adaptive_DataRate", L, 64, 1, LittleEndian, Number},
    {"LoRa_Transmission_Type", L, 65, 1, LittleEndian, TransmissionCode},
    {"LoRa_Payload_Size", L, 66, 1, LittleEndian, Number},
    {"LoRa_FPort", L, 67, 1, LittleEndian, FPortMode},
    {"LoRa_Transmit_Interval", L, 68, 4, LittleEndian, Number},
    {"Address_Uplink_List", L, 72, 4, LittleEndian, DeviceAddress},
    {"Address_Downlink_List", L, 76, 4, LittleEndian, DeviceAddress},
    {"Count_Uplink", L, 80, 2, LittleEndian, RuleCount},
    {"Count_Downlink", L, 82, 2, LittleEndian, RuleCount},
    {"LoRa_Frequency_SubBand", L, 84, 1, LittleEndian, Number},
}};

constexpr ImageBlock R = ImageBlock::LoRaWanRuleItem;

constexpr std::array<ImageField, rule_item::FieldCount> kRuleItem{{
    {"StartByte", R, 0, 2, LittleEndian, Number},
    {"NumByte", R, 2, 2, LittleEndian, Number},
    {"Trigger_Flags", R, 4, 1, LittleEndian, Switches},
    {"FPort", R, 5, 1, LittleEndian, Encoder::FPort},
    {"Time", R, 8, 4, LittleEndian, Number},
}};

constexpr std::array<BlockPlacement, PlacementCount> kPlacements{{
    {"General parameter block", Bank::Bank1, 0, ImageBlock::General, 1, 0x07000, -1},
    {"SDO server read", Bank::Bank2, 0, ImageBlock::SdoRuleEntry, 512, 0x80000,
     general::Count_SDO_Server_Read},
    {"SDO server write", Bank::Bank2, 16384, ImageBlock::SdoRuleEntry, 512, 0x84000,
     general::Count_SDO_Server_Write},
    {"SDO client read", Bank::Bank2, 32768, ImageBlock::SdoRuleEntry, 256, 0x88000,
     general::Count_SDO_Client_Read},
    {"SDO client write", Bank::Bank2, 40960, ImageBlock::SdoRuleEntry, 256, 0x8A000,
     general::Count_SDO_Client_Write},
    {"Receive PDO", Bank::Bank2, 49152, ImageBlock::PdoRuleEntry, 128, 0x8C000,
     general::Count_Receive_PDO},
    {"Transmit PDO", Bank::Bank2, 53248, ImageBlock::PdoRuleEntry, 128, 0x8D000,
     general::Count_Transmit_PDO},
    {"LoRaWAN header", Bank::Bank2, 57344, ImageBlock::LoRaWanHeader, 1, 0x8E000, -1},
    {"LoRaWAN uplink list", Bank::Bank2, 58368, ImageBlock::LoRaWanRuleItem, 256, 0x8E400, -1},
    {"LoRaWAN downlink list", Bank::Bank2, 61440, ImageBlock::LoRaWanRuleItem, 256, 0x8F000, -1},
}};

// The description must hold together: every field inside its record, in offset order.
template<std::size_t N>
constexpr bool fieldsFit(const std::array<ImageField, N> &fields, int size)
{
    int end = 0;
    for (const ImageField &f : fields) {
        if (f.offset < end || f.width < 1 || f.offset + f.width > size)
            return false;
        if (f.order == LittleEndian && f.width > 8)
            return false;
        end = f.offset + f.width;
    }
    return true;
}

static_assert(fieldsFit(kGeneral, general::kSize));
static_assert(fieldsFit(kSdo, sdo::kSize));
static_assert(fieldsFit(kPdo, pdo::kSize));
static_assert(fieldsFit(kLoRaWan, lorawan::kSize));
static_assert(fieldsFit(kRuleItem, rule_item::kSize));
static_assert(kGeneral[general::Checksum].offset == 2044);

constexpr bool placementsFit()
{
    int bank2End = 0;
    for (const BlockPlacement &p : kPlacements) {
        if (p.bank != Bank::Bank2)
            continue;
        if (p.fileOffset != bank2End)
            return false;
        int size = 0;
        switch (p.block) {
        case ImageBlock::SdoRuleEntry: size = sdo::kSize; break;
        case ImageBlock::PdoRuleEntry: size = pdo::kSize; break;
        case ImageBlock::LoRaWanHeader: size = lorawan::kSize; break;
        case ImageBlock::LoRaWanRuleItem: size = rule_item::kSize; break;
        case ImageBlock::General: size = general::kSize; break;
        }
        bank2End = p.fileOffset + size * p.records;
        if (p.deviceAddress != kBank2DeviceAddress + quint32(p.fileOffset))
            return false;
    }
    // The last 1024 bytes of bank 2 are zero.
    return bank2End == kBank2Size - 1024;
}
static_assert(placementsFit());
static_assert(kPlacements[LoRaWanBlock].fileOffset == kCANopenTablesSize);

} // namespace

std::span<const ImageField> fieldsOf(ImageBlock block)
{
    switch (block) {
    case ImageBlock::General: return kGeneral;
    case ImageBlock::SdoRuleEntry: return kSdo;
    case ImageBlock::PdoRuleEntry: return kPdo;
    case ImageBlock::LoRaWanHeader: return kLoRaWan;
    case ImageBlock::LoRaWanRuleItem: return kRuleItem;
    }
    return {};
}

int recordSizeOf(ImageBlock block)
{
    switch (block) {
    case ImageBlock::General: return general::kSize;
    case ImageBlock::SdoRuleEntry: return sdo::kSize;
    case ImageBlock::PdoRuleEntry: return pdo::kSize;
    case ImageBlock::LoRaWanHeader: return lorawan::kSize;
    case ImageBlock::LoRaWanRuleItem: return rule_item::kSize;
    }
    return 0;
}

const ImageField &fieldOf(ImageBlock block, int field)
{
    return fieldsOf(block)[std::size_t(field)];
}

std::span<const BlockPlacement> placements()
{
    return kPlacements;
}

const BlockPlacement &placementOf(Placement placement)
{
    return kPlacements[std::size_t(placement)];
}

void writeField(quint8 *record, const ImageField &field, quint64 value)
{
    quint8 *at = record + field.offset;
    const int width = std::min(field.width, 8);
    if (field.order == ByteOrder::LittleEndian) {
        for (int i = 0; i < width; ++i)
            at[i] = quint8(value >> (8 * i));
    } else {
        for (int i = 0; i < width; ++i)
            at[i] = quint8(value >> (8 * (width - 1 - i)));
    }
    std::memset(at + width, 0, std::size_t(field.width - width));
}

quint64 readField(const quint8 *record, const ImageField &field)
{
    const quint8 *at = record + field.offset;
    const int width = std::min(field.width, 8);
    quint64 value = 0;
    for (int i = 0; i < width; ++i) {
        const int shift = field.order == ByteOrder::LittleEndian ? 8 * i : 8 * (width - 1 - i);
        value |= quint64(at[i]) << shift;
    }
    return value;
}

void writeFieldBytes(quint8 *record, const ImageField &field, std::span<const quint8> bytes)
{
    quint8 *at = record + field.offset;
    const std::size_t n = std::min<std::size_t>(bytes.size(), std::size_t(field.width));
    if (n > 0)
        std::memcpy(at, bytes.data(), n);
    std::memset(at + n, 0, std::size_t(field.width) - n);
}

quint32 generalChecksum(const quint8 *record)
{
    const ImageField &checksum = fieldOf(ImageBlock::General, general::Checksum);
    quint32 total = 0;
    for (int i = 0; i < checksum.offset; ++i)
        total += record[i];
    return total;
}

} // namespace swz::image
