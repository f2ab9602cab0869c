#pragma once

#include "update/device_check.h"
#include "update/updater_launch.h"
#include "update/wait_clock.h"

#include <QString>
#include <QStringList>

class QIODevice;

namespace swz {

// The outside world of the update command; what is left empty is the real thing (ICMP echo,
// the steady clock, the default limits, the updater process with its 150 s wait, the folder of
// the running executable). Tests replace them so that nothing waits out a real limit.
struct UpdateSeams
{
    EchoClient *echo = nullptr;
    WaitClock *clock = nullptr;
    CheckLimits limits;
    ProgramLauncher *launcher = nullptr;
    QString executableFolder;
};

// `swz8k20-cli update PROJECT_FOLDER ADDRESS [--option both|firmware|configuration]
// [--no-read-back]`: step 8 and the update window without a display. Exit status 0 when the
// updater was started, 1 on any failure (message on err), 2 for wrong arguments.
int runUpdateCommand(const QStringList &arguments, QIODevice &out, QIODevice &err,
                     const UpdateSeams &seams = {});

} // namespace swz
