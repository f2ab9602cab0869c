#pragma once

#include "app/app_state.h"
#include "app/project.h"

#include <QString>
#include <QStringList>

namespace swz {

// The process-wide values of the configurator: workspace folders, application state and the
// file set of the active project. The windows share one instance.
struct Shell
{
    Workspace workspace;
    AppState state;
    ProjectFiles files;
    // Texts of the last copied rule-table row, shared by every rule table.
    QStringList rowBuffer;

    // Recomputes the project file set from the active project folder.
    void Set_Files() { files = ProjectFiles::of(state.projectFolder); }
};

// The domain part of start-up: folders, settings, language texts (into the process-wide
// table), the last project and the file set.
void runStartup(Shell &shell, const QString &executableFolder);

// Writes Corvane.xml; returns the message to show when that failed.
std::optional<QString> Save_Setting(const Shell &shell);

} // namespace swz
