#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <optional>

namespace swz {

// Positions of the update option list.
enum class UpdateOption { FirmwareAndConfiguration = 0, Firmware = 1, Configuration = 2 };

// What the update window hands to the job file: the four address field texts as typed, the
// chosen option and the Read Back box.
struct UpdateRequest
{
    std::array<QString, 4> addressFields;
    UpdateOption option = UpdateOption::FirmwareAndConfiguration;
    bool readBack = true;

    // The four field texts joined by ".", unchanged.
    QString address() const;
};

// The update job document for the external updater. Firmware comes from masterFolder, the two
// bank files from the project's bin folder; both folders are given without a trailing separator.
QByteArray Compile_XML_Parameter_New_Boot(const UpdateRequest &request, const QString &masterFolder,
                                          const QString &projectFolder);

// Ethernet_Update.xml in the executable's folder.
QString updateJobPath(const QString &executableFolder);

// The external updater beside the configurator: Ethernet_Update plus the platform's
// executable suffix.
QString updaterPath(const QString &executableFolder);

// Writes the job file atomically; returns the message to show when that failed.
std::optional<QString> saveUpdateJob(const QString &path, const QByteArray &document);

} // namespace swz
