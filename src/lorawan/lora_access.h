#pragma once

#include "common/faults.h"
#include "common/rule_table.h"

#include <QString>

namespace swz {

// Grid columns of the two LoRaWAN lists.
namespace lora {
inline constexpr int kEnable = 1;
inline constexpr int kStartByte = 2;
inline constexpr int kNumByte = 3;
inline constexpr int kUpOnChange = 4;
inline constexpr int kUpOnCmd = 5;
inline constexpr int kUpOnTimer = 6;
inline constexpr int kUpTime = 7;
inline constexpr int kUpFPort = 8;
inline constexpr int kDownFPort = 4;

inline constexpr int kUplink = 0;
inline constexpr int kDownlink = 1;

inline constexpr int kRowsFixedFPort = 257;
inline constexpr int kRowsVariableFPort = 224;

inline constexpr int kTextPayloadNotSet = 1242;
} // namespace lora

// The LoRaWAN uplink and downlink rule lists and LoRaWAN_SetAccess.xml.
const RuleTableDefinition &loRaAccessDefinition();

// What the rules depend on in the communication parameters.
struct LoRaAccessLimits
{
    qint32 MaxPayloadSize = 0; // 0 when unknown
    bool FPortFixed = true;
};

// Reads LoRa_Payload_Size and LoRa_FPort from ParGen.xml. A missing file or element gives
// the defaults; a file that cannot be read gives the reason.
struct LoRaParGenRead
{
    LoRaAccessLimits limits;
    QString error;
};
LoRaParGenRead readLoRaLimits(const QString &parGenPath);

// Grid rows for an FPort mode, header included.
inline int loRaGridRows(bool fPortFixed)
{
    return fPortFixed ? lora::kRowsFixedFPort : lora::kRowsVariableFPort;
}

// Resizes both grids for the FPort mode, hides or shows the FPort columns and prepares every
// row.
void applyLoRaLimits(RuleTable &table, const LoRaAccessLimits &limits);

// Checks the enabled rules, uplink list first, in check order.
Faults checkLoRaAccess(const RuleTable &table, const LoRaAccessLimits &limits);

} // namespace swz
