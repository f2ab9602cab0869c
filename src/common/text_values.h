#pragma once

#include <QString>
#include <QStringView>

#include <optional>

namespace swz {

// Reads a whole text as a signed 32-bit integer: leading spaces (code 32 only) skipped, an
// optional sign, then decimal digits or hexadecimal digits after "$", "x", "X", "0x" or "0X".
// Anything else (trailing blank included), an empty text or an overflow gives no integer; each
// caller decides what "no integer" becomes.
std::optional<qint32> readInteger(QStringView text);

// The same rules for a signed 64-bit integer (values whose low 32 bits are stored).
std::optional<qint64> readInteger64(QStringView text);

// Convenience for callers with a fixed fallback (-1 in the rule checks, 0 for payload size).
qint32 readIntegerOr(QStringView text, qint32 fallback);

// Removes every character of code 32 and below at both ends. Deliberately not
// QString::trimmed(): that keeps control characters such as 0x01 and drops non-ASCII spaces.
QString trimBlanks(QStringView text);

} // namespace swz
