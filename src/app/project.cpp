#include "app/project.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QRegularExpression>

namespace swz {

ProjectFiles ProjectFiles::of(const QString &projectFolder)
{
    auto inFolder = [&projectFolder](const char *name) {
        return projectFolder + QDir::separator() + QLatin1String(name);
    };
    ProjectFiles files;
    files.parGen = inFolder("ParGen.xml");
    files.loRaWanAccess = inFolder("LoRaWAN_SetAccess.xml");
    files.sdoServer = inFolder("SDO_Server_CANopen.xml");
    files.sdoClient = inFolder("SDO_Client_CANopen.xml");
    files.pdo = inFolder("PDO_CANopen.xml");
    files.binFolder = inFolder("bin");
    return files;
}

QString projectFolderFor(const Workspace &workspace, const QString &name)
{
    return workspace.projectsFolder + QDir::separator() + name;
}

int messageIndexFor(NewProjectResult result)
{
    switch (result) {
    case NewProjectResult::EmptyName:
        return 107;
    case NewProjectResult::AlreadyExists:
        return 106;
    case NewProjectResult::InvalidName:
        return 105;
    case NewProjectResult::Created:
        break;
    }
    return -1;
}

bool isSafeProjectName(const QString &name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    static const QString forbidden = QStringLiteral("<>:\"/\\|?*");
    for (const QChar c : name) {
        if (c.unicode() < 32 || forbidden.contains(c))
            return false;
    }
    if (name.endsWith(u' ') || name.endsWith(u'.'))
        return false;
    // Device names of Windows, also with an extension ("NUL.txt"), cannot be folders there.
    static const QRegularExpression deviceName(
        QStringLiteral("^(CON|PRN|AUX|NUL|COM[1-9]|LPT[1-9])(\\..*)?$"),
        QRegularExpression::CaseInsensitiveOption);
    return !deviceName.match(name).hasMatch();
}

NewProjectResult createProject(const Workspace &workspace, const QString &name, AppState &state)
{
    if (name.isEmpty())
        return NewProjectResult::EmptyName;
    if (!isSafeProjectName(name))
        return NewProjectResult::InvalidName;

    const QString folder = projectFolderFor(workspace, name);
    // Belt and braces: whatever the name, the folder must sit directly inside PROJECTS.
    const QString parent = QFileInfo(QDir::cleanPath(QDir::fromNativeSeparators(folder))).path();
    if (QDir::cleanPath(parent) != QDir::cleanPath(QDir::fromNativeSeparators(workspace.projectsFolder)))
        return NewProjectResult::InvalidName;

    if (QFileInfo::exists(folder))
        return NewProjectResult::AlreadyExists;
    if (!QDir().mkdir(folder))
        return NewProjectResult::InvalidName;
    // A missing bin folder is not reported here: writing the images reports it.
    QDir().mkpath(folder + QDir::separator() + QStringLiteral("bin"));

    state.projectName = name;
    state.projectFolder = folder;
    return NewProjectResult::Created;
}

QStringList listProjects(const Workspace &workspace)
{
    QStringList names;
    QDirIterator it(workspace.projectsFolder, QDir::Dirs | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        names.append(it.fileName());
    }
    return names;
}

QString activeProjectFolderName(const Workspace &workspace, const AppState &state)
{
    const QString prefix = workspace.projectsFolder + QDir::separator();
    if (state.projectFolder.startsWith(prefix))
        return state.projectFolder.mid(prefix.size());
    return state.projectFolder;
}

int Search_Open_Conf(const QStringList &list, const QString &name)
{
    const QString wanted = name.toUpper();
    for (int i = 0; i < list.size(); ++i) {
        if (list.at(i).toUpper() == wanted)
            return i;
    }
    return -1;
}

void openProject(const Workspace &workspace, const QString &chosen, AppState &state)
{
    if (chosen.isEmpty()) {
        state.projectName.clear();
        state.projectFolder.clear();
        return;
    }
    state.projectName = chosen;
    state.projectFolder = projectFolderFor(workspace, chosen);
}

void reopenLastProject(const Workspace &workspace, AppState &state)
{
    const QString folder = projectFolderFor(workspace, state.projectName);
    // A hand-edited settings file must not point the configurator outside PROJECTS.
    const QString &name = state.projectName;
    const bool plainName = !name.isEmpty() && name != QLatin1String(".")
                           && name != QLatin1String("..") && !name.contains(u'/')
                           && !name.contains(u'\\');
    if (plainName && QFileInfo(folder).isDir())
        state.projectFolder = folder;
    else
        state.projectFolder.clear();
}

} // namespace swz
