#pragma once

#include "app/app_state.h"

#include <QString>
#include <QStringList>

namespace swz {

// Full paths of the section files of the active project.
struct ProjectFiles
{
    QString parGen;
    QString loRaWanAccess;
    QString sdoServer;
    QString sdoClient;
    QString pdo;
    QString binFolder;

    // With no project active the paths are built from an empty folder; no step uses them.
    static ProjectFiles of(const QString &projectFolder);
};

// The project folder for a name: PROJECTS folder + separator + name.
QString projectFolderFor(const Workspace &workspace, const QString &name);

enum class NewProjectResult {
    Created,
    EmptyName,     // "Error! Name Project is not valid"
    AlreadyExists, // "Error! Name project is not valid because directory already exists"
    InvalidName,   // "Error! Name project is not valid"
};

// UI text of the message for a refused name; -1 for Created.
int messageIndexFor(NewProjectResult result);

// True when the name can become exactly one folder inside PROJECTS on every system the
// configurator runs on: no separators, no "." or "..", none of the characters Windows forbids
// in folder names, no control characters, no blank or dot at the end (Windows drops those,
// so the folder would not carry the project's name) and no Windows device name.
bool isSafeProjectName(const QString &name);

// Creates PROJECTS/name and its bin folder and makes it the active project. The name is used
// exactly as typed. Nothing is created and the state is unchanged when the name is refused.
NewProjectResult createProject(const Workspace &workspace, const QString &name, AppState &state);

// Project folders in the order the file system lists them; files and hidden folders are left
// out.
QStringList listProjects(const Workspace &workspace);

// The name of the active project as the open window compares it: the active folder without
// the PROJECTS folder in front; empty when no project is active.
QString activeProjectFolderName(const Workspace &workspace, const AppState &state);

// Index of the first entry equal to name when both are compared in upper case, or -1.
int Search_Open_Conf(const QStringList &list, const QString &name);

// Makes the chosen project active, or none when chosen is empty.
void openProject(const Workspace &workspace, const QString &chosen, AppState &state);

// At start-up: the remembered project is active only if its folder still exists; the name
// stays in memory either way.
void reopenLastProject(const Workspace &workspace, AppState &state);

} // namespace swz
