#pragma once

#include "common/faults.h"
#include "common/rule_table.h"

namespace swz {

// Size of the data array areas the CANopen rule addresses point into; the last address is
// one less.
inline constexpr qint32 kCanopenArrayBytes = 1500;

// The three CANopen rule-table editors, each a declaration of its two lists and its file.
const RuleTableDefinition &sdoServerDefinition();
const RuleTableDefinition &sdoClientDefinition();
const RuleTableDefinition &pdoDefinition();

// Their checks, first list first, in check order. nByteIn and nByteOut are the sizes of the
// areas of the first and the second list.
Faults checkSdoServer(const RuleTable &table, qint32 nByteIn, qint32 nByteOut);
Faults checkSdoClient(const RuleTable &table, qint32 nByteIn, qint32 nByteOut);
Faults checkPdo(const RuleTable &table, qint32 nByteIn, qint32 nByteOut);

} // namespace swz
