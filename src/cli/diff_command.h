#pragma once

#include <QStringList>

class QIODevice;

namespace swz {

// `swz8k20-cli diff BANK1_A BANK2_A BANK1_B BANK2_B`: the fields of two device images that
// differ, by name, with the old and the new value. Exit status 0 when equal, 1 when different,
// 2 when a file cannot be read or the arguments are wrong.
int runDiffCommand(const QStringList &arguments, QIODevice &out, QIODevice &err);

} // namespace swz
