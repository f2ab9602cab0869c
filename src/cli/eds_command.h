#pragma once

#include "canopen/eds_file.h"

#include <QStringList>

class QIODevice;

namespace swz {

// swz8k20-cli eds PROJECT_FOLDER OUT.eds: writes the CANopen EDS file of the project, as step 7
// of the configurator does. Returns 0, or 1 with the message on err (2 for wrong arguments).
int runEdsCommand(const QStringList &arguments, QIODevice &out, QIODevice &err,
                  const EdsClock &clock = systemEdsClock());

} // namespace swz
