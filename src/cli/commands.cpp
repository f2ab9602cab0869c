#include "cli/commands.h"

#include "cli/check_command.h"
#include "cli/compile_command.h"
#include "cli/decode_command.h"
#include "cli/diff_command.h"
#include "cli/eds_command.h"
#include "cli/update_command.h"
#include "lang/text_table.h"

#include <QFile>

#include <cstdio>

namespace swz {

namespace {

constexpr const char *kUsage =
    "usage: swz8k20-cli <command>\n"
    "commands:\n"
    "  texts   write the built-in English UI texts as a language file to standard output\n"
    "  eds PROJECT_FOLDER OUT.eds\n"
    "          write the CANopen EDS file of a configuration project to OUT.eds\n"
    "  compile PROJECT_FOLDER\n"
    "          check the uplink payloads, compile the section files and write\n"
    "          bin/bank1.bin and bin/bank2.bin of the project\n"
    "  check PROJECT_FOLDER [--json]\n"
    "          list every fault the configurator's checks find in a project\n"
    "  decode BANK1 BANK2 [--json]\n"
    "          print every field of a device image by name\n"
    "  diff BANK1_A BANK2_A BANK1_B BANK2_B\n"
    "          print the fields in which two device images differ\n"
    "  update PROJECT_FOLDER ADDRESS [--option both|firmware|configuration] [--no-read-back]\n"
    "          compile the project and update the gateway at ADDRESS\n"
    "Each command takes --help.\n";

int writeTexts(QIODevice &out, QIODevice &err)
{
    TextTable table;
    table.loadBuiltin();
    const QByteArray file = languageFileFromTable(table);
    if (out.write(file) != file.size()) {
        err.write("swz8k20-cli: cannot write the texts: " + out.errorString().toUtf8() + '\n');
        return 1;
    }
    return 0;
}

} // namespace

int runCli(const QStringList &arguments, QIODevice &out, QIODevice &err)
{
    if (arguments.size() == 1 && arguments.first() == QLatin1String("texts"))
        return writeTexts(out, err);
    if (!arguments.isEmpty() && arguments.first() == QLatin1String("eds"))
        return runEdsCommand(arguments.mid(1), out, err);
    if (!arguments.isEmpty()) {
        const QString &command = arguments.first();
        const QStringList rest = arguments.mid(1);
        if (command == QLatin1String("check"))
            return runCheckCommand(rest, out, err);
        if (command == QLatin1String("decode"))
            return runDecodeCommand(rest, out, err);
        if (command == QLatin1String("diff"))
            return runDiffCommand(rest, out, err);
        if (command == QLatin1String("update"))
            return runUpdateCommand(rest, out, err);
    }
    if (arguments.size() == 2 && arguments.first() == QLatin1String("compile"))
        return runCompileCommand(arguments.at(1), err);
    err.write(kUsage);
    return 2;
}

int runCli(const QStringList &arguments)
{
    QFile out;
    QFile err;
    out.open(stdout, QIODevice::WriteOnly);
    err.open(stderr, QIODevice::WriteOnly);
    const int code = runCli(arguments, out, err);
    if (!out.flush() && code == 0) {
        err.write("swz8k20-cli: cannot write to standard output\n");
        return 1;
    }
    return code;
}

} // namespace swz
