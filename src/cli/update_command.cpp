#include "cli/update_command.h"

#include "app/shell.h"
#include "image/device_update_build.h"
#include "lang/text_table.h"
#include "update/update_job.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QIODevice>

#include <memory>

namespace swz {

namespace {

constexpr const char *kHelp =
    "usage: swz8k20-cli update PROJECT_FOLDER ADDRESS [--option both|firmware|configuration]\n"
    "                          [--no-read-back]\n"
    "Updates the gateway at the IPv4 ADDRESS the way step 8 and the update window do: checks\n"
    "the uplink payloads, compiles and saves bin/bank1.bin and bin/bank2.bin, checks that the\n"
    "device answers, stores the address in Corvane.xml, writes Ethernet_Update.xml and starts\n"
    "the updater beside this program.\n"
    "  --option        what to update (default both)\n"
    "  --no-read-back  do not read the configuration back after writing it\n"
    "Exit status: 0 when the updater was started, 1 on any failure, 2 for wrong arguments.\n";

struct Arguments
{
    QString folder;
    QString address;
    UpdateOption option = UpdateOption::FirmwareAndConfiguration;
    bool readBack = true;
};

std::optional<Arguments> parse(const QStringList &arguments)
{
    Arguments parsed;
    QStringList positional;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == QLatin1String("--no-read-back")) {
            parsed.readBack = false;
        } else if (argument == QLatin1String("--option") && i + 1 < arguments.size()) {
            const QString value = arguments.at(++i);
            if (value == QLatin1String("both"))
                parsed.option = UpdateOption::FirmwareAndConfiguration;
            else if (value == QLatin1String("firmware"))
                parsed.option = UpdateOption::Firmware;
            else if (value == QLatin1String("configuration"))
                parsed.option = UpdateOption::Configuration;
            else
                return std::nullopt;
        } else if (argument.startsWith(QLatin1String("--"))) {
            return std::nullopt;
        } else {
            positional.append(argument);
        }
    }
    if (positional.size() != 2)
        return std::nullopt;
    parsed.folder = positional.at(0);
    parsed.address = positional.at(1);
    return parsed;
}

} // namespace

int runUpdateCommand(const QStringList &arguments, QIODevice &out, QIODevice &err,
                     const UpdateSeams &seams)
{
    if (arguments.contains(QStringLiteral("--help"))) {
        out.write(kHelp);
        return 0;
    }
    auto say = [&err](QString line) {
        line.replace(QLatin1Char('\n'), QStringLiteral(": "));
        err.write("swz8k20-cli: " + line.toUtf8() + '\n');
    };
    const std::optional<Arguments> parsed = parse(arguments);
    if (!parsed) {
        err.write(kHelp);
        return 2;
    }
    // Only a dotted IPv4 address: nothing is looked up by name, nothing is sent elsewhere.
    if (!parseDottedIPv4(parsed->address)) {
        say(QStringLiteral("update: not an IPv4 address: ") + parsed->address);
        return 2;
    }
    const QString folder = QDir::cleanPath(QFileInfo(parsed->folder).absoluteFilePath());
    if (!QFileInfo(folder).isDir()) {
        say(QStringLiteral("update: not a project folder: ") + QDir::toNativeSeparators(folder));
        return 1;
    }

    // The configurator's start-up: its folders, Corvane.xml and its language beside the program.
    Shell shell;
    runStartup(shell, seams.executableFolder.isEmpty() ? QCoreApplication::applicationDirPath()
                                                       : seams.executableFolder);
    shell.state.projectFolder = QDir::toNativeSeparators(folder);
    shell.Set_Files();

    image::DeviceImageCompiler compiler;
    const image::ImageBuildResult built = image::buildDeviceImage(compiler, shell.files);
    for (const QString &warning : built.warnings)
        say(warning);
    if (!built.written()) {
        say(built.message);
        return 1;
    }

    UpdateRequest request;
    const QStringList octets = parsed->address.split(QLatin1Char('.'));
    for (std::size_t i = 0; i < request.addressFields.size(); ++i)
        request.addressFields[i] = octets.at(qsizetype(i));
    request.option = parsed->option;
    request.readBack = parsed->readBack;

    IcmpEchoClient icmp;
    const DeviceCheck check = Send_Ping(seams.echo ? *seams.echo : icmp, request.address(),
                                        seams.clock ? *seams.clock : steadyClock(), seams.limits);
    if (!check.cannotRun.isEmpty()) {
        say(uiText(kTextCheckCannotRun) + check.cannotRun);
        return 1;
    }
    if (!check.reachable) {
        say(uiText(check.ping_res == 2 ? kTextDeviceNotFound : kTextCheckAddress));
        return 1;
    }

    int status = 0;
    shell.state.deviceAddress = request.address();
    if (const std::optional<QString> failure = Save_Setting(shell)) {
        // The window goes on as well; the update itself does not need the setting.
        say(*failure);
        status = 1;
    }

    const QString executableFolder = shell.workspace.executableFolder;
    const QByteArray job = Compile_XML_Parameter_New_Boot(request, shell.workspace.masterFolder,
                                                          shell.state.projectFolder);
    if (const std::optional<QString> failure = saveUpdateJob(updateJobPath(executableFolder), job)) {
        say(*failure);
        return 1;
    }

    std::unique_ptr<ProcessLauncher> process;
    ProgramLauncher *launcher = seams.launcher;
    if (!launcher) {
        process = std::make_unique<ProcessLauncher>(steadyClock(), kUpdaterWaitMs);
        launcher = process.get();
    }
    const QString updater = updaterPath(executableFolder);
    const LaunchResult launch = launcher->Start_Program(updater, QString(), 0);
    if (!launch.started()) {
        say(uiText(kTextCannotStartProgram) + updater + QStringLiteral("\n") + launch.error);
        return 1;
    }
    if (launch.status == LaunchResult::Status::StillRunning)
        say(QStringLiteral("update: the updater is still running (process %1)").arg(launch.pid));
    return status;
}

} // namespace swz
