#pragma once

#include <QString>

#include <optional>

namespace swz {

// The folders beside the executable. Paths never end with a separator.
struct Workspace
{
    QString executableFolder;
    QString masterFolder;
    QString projectsFolder;
    QString languageFolder;

    static Workspace beside(const QString &executableFolder);
    QString settingsFile() const;
    // Creates MASTER, PROJECTS and LANGUAGE where missing; failures show up later, where the
    // folders are used.
    void createFolders() const;
};

inline const QString kDefaultDeviceAddress = QStringLiteral("192.168.2.205");

// The values that live as long as the process; kept in Corvane.xml.
struct AppState
{
    QString projectName;
    QString projectFolder; // empty: no project is active
    QString deviceAddress = kDefaultDeviceAddress;
    QString language = QStringLiteral("English");
    bool enable_internet = false;
    bool enable_update = false;
    bool enable_jump_field_tables = false;
    bool Double_Click_Auto_Size = false;

    bool projectActive() const { return !projectFolder.isEmpty(); }
    bool updateCheckEnabled() const { return enable_internet && enable_update; }

    bool operator==(const AppState &) const = default;
};

// Reads the settings value by value; a missing file, or one that is not well-formed, gives
// the defaults. The active project folder is left empty: start-up rebuilds it.
AppState readSettings(const QString &path);

// The settings document exactly as it is written.
QByteArray settingsDocument(const AppState &state);

// Replaces the settings file; returns the reason when it could not be written.
std::optional<QString> saveSettings(const QString &path, const AppState &state);

} // namespace swz
