#include "cli/eds_command.h"

#include "app/project.h"
#include "lang/text_table.h"

#include <QDir>
#include <QFileInfo>
#include <QIODevice>

namespace swz {

int runEdsCommand(const QStringList &arguments, QIODevice &, QIODevice &err,
                  const EdsClock &clock)
{
    if (arguments.size() != 2) {
        err.write("usage: swz8k20-cli eds PROJECT_FOLDER OUT.eds\n");
        return 2;
    }
    // The messages come from the same text table as the configurator's.
    if (uiTexts().size() == 0)
        uiTexts().loadBuiltin();

    const QString folder = QDir::cleanPath(arguments.at(0));
    if (!QFileInfo(folder).isDir()) {
        // Without this check a mistyped folder would give the data sheet of an empty project.
        err.write("swz8k20-cli: the project folder " + QDir::toNativeSeparators(folder).toUtf8()
                  + " does not exist\n");
        return 1;
    }
    EdsGenerator generator(ProjectFiles::of(QDir::toNativeSeparators(folder)), clock);
    if (const std::optional<QString> failure = generator.Write_EDS_File(arguments.at(1))) {
        // One line per message on a terminal; the window shows the reason on a line of its own.
        QString line = *failure;
        line.replace(QLatin1Char('\n'), QStringLiteral(": "));
        err.write("swz8k20-cli: " + line.toUtf8() + '\n');
        return 1;
    }
    return 0;
}

} // namespace swz
