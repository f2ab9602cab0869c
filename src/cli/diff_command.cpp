#include "cli/diff_command.h"

#include "cli/decode_command.h"

#include <QIODevice>

namespace swz {

namespace {

constexpr const char *kHelp =
    "usage: swz8k20-cli diff BANK1_A BANK2_A BANK1_B BANK2_B\n"
    "Compares two device images field by field and prints each field that differs:\n"
    "  NAME: OLD -> NEW\n"
    "A field only one image has (a table entry used in one of them) shows \"(none)\" on the\n"
    "other side. Size and checksum problems of either image are reported on standard error.\n"
    "Exit status: 0 equal, 1 different, 2 a file cannot be read or the arguments are wrong.\n";

} // namespace

int runDiffCommand(const QStringList &arguments, QIODevice &out, QIODevice &err)
{
    if (arguments.contains(QStringLiteral("--help"))) {
        out.write(kHelp);
        return 0;
    }
    if (arguments.size() != 4) {
        err.write(kHelp);
        return 2;
    }
    const auto before = readImageFiles(arguments.at(0), arguments.at(1), QStringLiteral("A"), err);
    const auto after = readImageFiles(arguments.at(2), arguments.at(3), QStringLiteral("B"), err);
    if (!before || !after)
        return 2;

    const QString none = QStringLiteral("(none)");
    const QList<image::FieldChange> changes = image::diffImages(*before, *after);
    for (const image::FieldChange &change : changes)
        out.write((change.name + QStringLiteral(": ") + (change.inBefore ? change.before : none)
                   + QStringLiteral(" -> ") + (change.inAfter ? change.after : none))
                      .toUtf8()
                  + '\n');
    return changes.isEmpty() ? 0 : 1;
}

} // namespace swz
