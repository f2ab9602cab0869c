#include "cli/check_command.h"

#include "app/payload_gate.h"
#include "app/project.h"
#include "canopen/canopen_rules.h"
#include "common/messages.h"
#include "lang/text_table.h"
#include "lorawan/lora_access.h"
#include "params/par_gen_check.h"

#include <QDir>
#include <QFileInfo>
#include <QIODevice>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <functional>

namespace swz {

namespace {

constexpr const char *kHelp =
    "usage: swz8k20-cli check PROJECT_FOLDER [--json]\n"
    "Runs every check the configurator's windows run at OK on the section files of the\n"
    "project (communication parameters, LoRaWAN uplink and downlink, SDO server, SDO client,\n"
    "PDO) and the payload check of the device update, and lists every fault: one line per\n"
    "fault with the file, the list and row where there is one, and the window's message.\n"
    "The first fault listed for a file is the one its window shows.\n"
    "  --json  print the faults as a JSON array of objects with file, list, row, message\n"
    "Exit status: 0 no fault, 1 faults, 2 a file cannot be read or the arguments are wrong.\n";

struct FileFault
{
    QString file;
    Fault fault;
};

struct ProjectCheck
{
    QList<FileFault> faults;
    QStringList readErrors;
};

// A rule-table section file read the way its window reads it: grids prepared, then the file.
void checkRuleFile(ProjectCheck &result, const QString &path, const RuleTableDefinition &definition,
                   const std::function<void(RuleTable &)> &prepare,
                   const std::function<Faults(const RuleTable &)> &check)
{
    QStringList rowBuffer;
    RuleTable table(definition, rowBuffer);
    prepare(table);
    if (const std::optional<QString> failure = table.load(path)) {
        result.readErrors.append(uiText(kTextCannotReadFile) + *failure);
        return;
    }
    for (const Fault &fault : check(table))
        result.faults.append({QFileInfo(path).fileName(), fault});
}

ProjectCheck checkProject(const ProjectFiles &files)
{
    ProjectCheck result;
    auto add = [&result](const QString &path, const Faults &faults) {
        for (const Fault &fault : faults)
            result.faults.append({QFileInfo(path).fileName(), fault});
    };

    const ParGenLoad parGen = loadParGen(files.parGen);
    if (parGen.status == ParGenLoad::Status::Failed)
        result.readErrors.append(uiText(kTextCannotReadFile) + files.parGen + QStringLiteral(": ")
                                 + parGen.error);
    else
        add(files.parGen, Controllo_Dati(parGen.values));

    // The LoRaWAN window does not open without its limits from the parameter file.
    const LoRaParGenRead limits = readLoRaLimits(files.parGen);
    if (limits.error.isEmpty()) {
        checkRuleFile(
            result, files.loRaWanAccess, loRaAccessDefinition(),
            [&](RuleTable &table) { applyLoRaLimits(table, limits.limits); },
            [&](const RuleTable &table) { return checkLoRaAccess(table, limits.limits); });
        // The device update refuses uplink rules that do not fit; a file it cannot read was
        // reported above.
        const PayloadGateResult gate = Check_Config_LoraWAN(files);
        if (!gate.readFailed())
            add(files.loRaWanAccess, gate.faults);
    }

    auto canopen = [&](const QString &path, const RuleTableDefinition &definition,
                       Faults (*check)(const RuleTable &, qint32, qint32)) {
        checkRuleFile(
            result, path, definition, [](RuleTable &table) { table.prepare(); },
            [check](const RuleTable &table) {
                return check(table, kCanopenArrayBytes, kCanopenArrayBytes);
            });
    };
    canopen(files.sdoServer, sdoServerDefinition(), &checkSdoServer);
    canopen(files.sdoClient, sdoClientDefinition(), &checkSdoClient);
    canopen(files.pdo, pdoDefinition(), &checkPdo);
    return result;
}

QByteArray faultLine(const FileFault &entry)
{
    QString line = entry.file + QStringLiteral(": ");
    if (!entry.fault.list.isEmpty())
        line += entry.fault.list + QStringLiteral(": ");
    if (entry.fault.row > 0)
        line += QStringLiteral("row %1: ").arg(entry.fault.row);
    // One line per fault; a message of several lines keeps its words.
    QString message = entry.fault.message;
    message.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return (line + message).toUtf8() + '\n';
}

QByteArray faultsJson(const QList<FileFault> &faults)
{
    QJsonArray array;
    for (const FileFault &entry : faults) {
        array.append(QJsonObject{{QStringLiteral("file"), entry.file},
                                 {QStringLiteral("list"), entry.fault.list},
                                 {QStringLiteral("row"), entry.fault.row},
                                 {QStringLiteral("message"), entry.fault.message}});
    }
    return QJsonDocument(array).toJson(QJsonDocument::Indented);
}

} // namespace

int runCheckCommand(const QStringList &arguments, QIODevice &out, QIODevice &err)
{
    if (arguments.contains(QStringLiteral("--help"))) {
        out.write(kHelp);
        return 0;
    }
    QStringList rest = arguments;
    const bool json = rest.removeAll(QStringLiteral("--json")) > 0;
    if (rest.size() != 1 || rest.first().startsWith(QLatin1String("--"))) {
        err.write(kHelp);
        return 2;
    }
    if (uiTexts().size() == 0)
        uiTexts().loadBuiltin();

    const QString folder = QDir::cleanPath(rest.first());
    if (!QFileInfo(folder).isDir()) {
        err.write("swz8k20-cli: check: not a project folder: "
                  + QDir::toNativeSeparators(folder).toUtf8() + '\n');
        return 2;
    }
    const ProjectCheck result = checkProject(ProjectFiles::of(QDir::toNativeSeparators(folder)));
    for (const QString &error : result.readErrors) {
        QString line = error;
        line.replace(QLatin1Char('\n'), QStringLiteral(": "));
        err.write("swz8k20-cli: " + line.toUtf8() + '\n');
    }
    if (json) {
        out.write(faultsJson(result.faults));
    } else {
        for (const FileFault &entry : result.faults)
            out.write(faultLine(entry));
    }
    if (!result.readErrors.isEmpty())
        return 2;
    return result.faults.isEmpty() ? 0 : 1;
}

} // namespace swz
