#pragma once

#include "app/project.h"
#include "common/faults.h"

#include <QString>

namespace swz {

// Outcome of the check that every enabled LoRaWAN uplink rule fits the maximum payload.
struct PayloadGateResult
{
    bool passed = false;
    // Set when a section file is present but cannot be read as XML; the update must stop
    // with this text.
    QString readError;
    // Every enabled uplink rule that does not fit, in file order (list LoRaWAN_Uplink, row =
    // position in the list from 1). Step 8 stops at the first; the headless check lists all.
    Faults faults;

    bool readFailed() const { return !readError.isEmpty(); }
};

// Every enabled uplink rule must have 0 <= NumByte <= LoRa_Payload_Size - 2, with the payload
// size as stored in ParGen.xml (0 when it cannot be found).
PayloadGateResult Check_Config_LoraWAN(const ProjectFiles &files);

} // namespace swz
