#pragma once

#include <QString>

class QIODevice;

namespace swz {

// `swz8k20-cli compile PROJECT_FOLDER`: step 8 without its window. Runs the payload gate,
// compiles the section files and writes bin/bank1.bin and bin/bank2.bin. Exit status 0 when
// both files are written; otherwise 1 with the message on err. Warnings go to err as well.
int runCompileCommand(const QString &projectFolder, QIODevice &err);

} // namespace swz
