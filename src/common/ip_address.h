#pragma once

#include <QString>

namespace swz {

// Checks a dotted IPv4 text and splits it into its four part texts, each trimmed of blanks and
// control characters but not converted. A part may be decimal or hexadecimal ("$", "0x"); a part
// that is no integer counts as out of range. The outputs are written as soon as they are found,
// also when a later step fails, so callers use them only when the result is true.
bool Split_IP_Address(const QString &text, QString &A, QString &B, QString &C, QString &D);

} // namespace swz
