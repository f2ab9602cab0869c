#pragma once

// The device image layout, described once as data. The compiler writes every field through
// these tables and an image reader (decoder, diff) reads through the same ones, so an offset,
// width or byte order is never stated twice.

#include <QtGlobal>

#include <array>
#include <cstddef>
#include <span>
#include <string_view>

namespace swz::image {

// The kinds of fixed records the image is made of. Each kind has one field table.
enum class ImageBlock : quint8 {
    General,        // bank 1: the general parameter block
    SdoRuleEntry,   // bank 2: one entry of the four SDO rule tables
    PdoRuleEntry,   // bank 2: one entry of the two PDO rule tables
    LoRaWanHeader,  // bank 2: the LoRaWAN header with its padding
    LoRaWanRuleItem // bank 2: one item of the uplink or downlink list
};

enum class ByteOrder : quint8 {
    LittleEndian, // integers: least significant byte first
    AsWritten     // byte strings (text, octets, key digits): first byte first, as in the source
};

// How a field's value is produced from the section files (and so how a reader shows it).
enum class Encoder : quint8 {
    Fixed,            // a constant of the layout, not read from any file
    Number,           // number with default
    StrictNumber,     // number that must be present and valid, else the compile stops
    StrictNumber64,   // the same, read as 64-bit, low bits stored
    Switches,         // bit flags from "1" switches or "Y" flags
    Octets,           // IPv4 address, one number per octet, first octet first
    ShortText,        // text, one byte per character, zero-filled
    VersionText,      // the image version text
    CanBitRate,       // list position of the CANopen bit rate -> bit/s
    Milliseconds,     // seconds from the file, times 1000
    RuleCount,        // number of compiled rules of a table or list
    DeviceAddress,    // device address of a table or list
    Checksum,         // sum of the bytes before it
    BandCode,         // LoRa_Band_Code
    NetworkCode,      // LoRa_Network_Code
    ActivationCode,   // LoRa_Activation_Code
    TransmissionCode, // LoRa_Transmission_Code
    DataRateIndex,    // leading number of the data-rate text
    FPortMode,        // 1 variable, 0 fixed
    HexPairs,         // Hex_Pairs_To_Bytes
    FPort,            // rule FPort, or 2 in fixed mode
    Mode              // direction or transmission mode of a rule entry
};

struct ImageField
{
    std::string_view name;
    ImageBlock block;
    int offset; // from the start of its record
    int width;  // in bytes
    ByteOrder order;
    Encoder encoder;
};

// Field identifiers: the index of the field in its block's table.
namespace general {
enum Field : int {
    CANopen_BitRate, Fixed_BitRate, Fixed_Serial_BitRate, Ethernet_IP, Ethernet_SM, Ethernet_GAT,
    Port_1, Port_2, Port_3, CANopen_IDDev, CANopen_Startup_Flags, CANopen_Delay,
    CANopen_SDO_TimeOut, Count_SDO_Server_Read, Count_SDO_Server_Write, Count_SDO_Client_Read,
    Count_SDO_Client_Write, Count_Receive_PDO, Count_Transmit_PDO, Address_SDO_Server_Read,
    Address_SDO_Server_Write, Address_SDO_Client_Read, Address_SDO_Client_Write,
    Address_Receive_PDO, Address_Transmit_PDO, Serial_Line6_BitRate, Serial_Line6_Parity,
    Serial_Line6_StopBits, Serial_DataBits_Lines1to5, Serial_Line6_DataBits, Serial_DataBits_Spare,
    Eth_Conn_Flags, Eth_Conn_Device_Name, Secondary_DNS, Primary_DNS, Address_LoRaWAN_Block,
    Image_Version, Checksum, FieldCount
};
inline constexpr int kSize = 2048;
} // namespace general

namespace sdo {
enum Field : int {
    Reserved, Index, SubIndex, Device_ID, Poll_Time, Spare_Word1, Spare_Word2, Spare_Word3,
    Spare_Word4, Address_B1, Address_B2, Address_B3, Address_B4, NByte, Mode, FieldCount
};
inline constexpr int kSize = 32;
} // namespace sdo

namespace pdo {
enum Field : int {
    COB_ID, Time, Address_B1, Address_B2, Address_B3, Address_B4, Address_B5, Address_B6,
    Address_B7, Address_B8, Dimension, Mode, FieldCount
};
inline constexpr int kSize = 32;
} // namespace pdo

namespace lorawan {
enum Field : int {
    Band, Network_Type, Activation_Method, DataRate, Device_Address, JoinEUI, Network_Session_Key,
    Application_Session_Key, Application_Key, Adaptive_DataRate, Transmission_Type, Payload_Size,
    FPort_Mode, Transmit_Interval, Address_Uplink_List, Address_Downlink_List, Count_Uplink,
    Count_Downlink, Frequency_SubBand, FieldCount
};
inline constexpr int kSize = 1024; // the 88 header bytes and their zero padding
} // namespace lorawan

namespace rule_item {
enum Field : int { StartByte, NumByte, Trigger_Flags, FPort, Timer_Period, FieldCount };
inline constexpr int kSize = 12;
} // namespace rule_item

// The unused entry of a CANopen rule table: zero except the eight address words at 12 to 26.
inline constexpr int kUnusedWordsOffset = 12;
inline constexpr int kUnusedWordsWidth = 16;
inline constexpr quint8 kUnusedWordsByte = 0xFF;

std::span<const ImageField> fieldsOf(ImageBlock block);
int recordSizeOf(ImageBlock block);
const ImageField &fieldOf(ImageBlock block, int field);

// Where the records lie in the two bank files.
enum class Bank : quint8 { Bank1, Bank2 };

struct BlockPlacement
{
    std::string_view name;
    Bank bank;
    int fileOffset;         // of the first record in its bank file
    ImageBlock block;
    int records;            // number of records of the block kind
    quint32 deviceAddress;  // where the updater puts the first record in the gateway
    int countField;         // general-block field holding the rule count, or -1
};

enum Placement : int {
    GeneralBlock, SdoServerRead, SdoServerWrite, SdoClientRead, SdoClientWrite, ReceivePdo,
    TransmitPdo, LoRaWanBlock, UplinkList, DownlinkList, PlacementCount
};

std::span<const BlockPlacement> placements();
const BlockPlacement &placementOf(Placement placement);

inline constexpr int kBank1Size = 2048;
inline constexpr int kBank2Size = 65536;
inline constexpr int kCANopenTablesSize = 57344;
inline constexpr int kLoRaWanBlockSize = 8192;
inline constexpr quint32 kBank1DeviceAddress = 0x07000;
inline constexpr quint32 kBank2DeviceAddress = 0x80000;

// Little-endian (or as-written) access to one field of a record. Values wider than the field
// keep their low bits; nothing outside the field is ever touched.
// An AsWritten field up to 8 bytes wide takes the value's bytes most significant first, so that
// 0xC0A802CD is the address 192.168.2.205.
void writeField(quint8 *record, const ImageField &field, quint64 value);
quint64 readField(const quint8 *record, const ImageField &field);
// The checksum of a general parameter block: the sum of the bytes before its Checksum field.
quint32 generalChecksum(const quint8 *record);
// Byte strings: the first bytes that fit, the rest of the field zero.
void writeFieldBytes(quint8 *record, const ImageField &field, std::span<const quint8> bytes);

} // namespace swz::image
