#pragma once

#include "app/project.h"
#include "image/device_image.h"

#include <QString>
#include <QStringList>

namespace swz::image {

// What step 8 does before the update window opens, shared by the main window and the
// command-line compile: the payload gate, the compile and the save of both bank files.
struct ImageBuildResult
{
    enum class Outcome { Written, GateRefused, ReadFailed, CompileFailed, SaveFailed };

    Outcome outcome = Outcome::Written;
    QString message;      // the error text to show, from the UI text table; empty when written
    QStringList warnings; // rows left out beyond a table's capacity

    bool written() const { return outcome == Outcome::Written; }
};

ImageBuildResult buildDeviceImage(DeviceImageCompiler &compiler, const ProjectFiles &files);

} // namespace swz::image
