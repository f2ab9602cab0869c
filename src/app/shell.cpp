#include "app/shell.h"

#include "lang/text_table.h"

namespace swz {

void runStartup(Shell &shell, const QString &executableFolder)
{
    uiTexts().clear();
    shell.workspace = Workspace::beside(executableFolder);
    shell.workspace.createFolders();
    shell.state = AppState();
    shell.state = readSettings(shell.workspace.settingsFile());
    loadLanguage(uiTexts(), shell.workspace.languageFolder, shell.state.language);
    reopenLastProject(shell.workspace, shell.state);
    shell.Set_Files();
    shell.rowBuffer.clear();
}

std::optional<QString> Save_Setting(const Shell &shell)
{
    const QString path = shell.workspace.settingsFile();
    if (const std::optional<QString> reason = saveSettings(path, shell.state))
        return uiText(kTextCannotWriteFile) + path + QStringLiteral("\n") + *reason;
    return std::nullopt;
}

} // namespace swz
