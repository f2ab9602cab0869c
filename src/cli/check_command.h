#pragma once

#include <QStringList>

class QIODevice;

namespace swz {

// `swz8k20-cli check PROJECT_FOLDER [--json]`: every check the windows run at OK, on the
// section files of a project, plus the payload gate of step 8, listing every fault. Exit
// status 0 without faults, 1 with faults, 2 when a file cannot be read (or wrong arguments).
int runCheckCommand(const QStringList &arguments, QIODevice &out, QIODevice &err);

} // namespace swz
