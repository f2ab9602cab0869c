#include "cli/compile_command.h"

#include "app/project.h"
#include "image/device_update_build.h"
#include "lang/text_table.h"

#include <QDir>
#include <QFileInfo>
#include <QIODevice>

namespace swz {

int runCompileCommand(const QString &projectFolder, QIODevice &err)
{
    if (uiTexts().size() == 0)
        uiTexts().loadBuiltin();

    auto say = [&err](const QString &line) { err.write("swz8k20-cli: " + line.toUtf8() + '\n'); };

    if (!QFileInfo(projectFolder).isDir()) {
        say(QStringLiteral("compile: not a project folder: ") + projectFolder);
        return 1;
    }
    const ProjectFiles files = ProjectFiles::of(QDir::cleanPath(projectFolder));
    image::DeviceImageCompiler compiler;
    const image::ImageBuildResult built = image::buildDeviceImage(compiler, files);
    for (const QString &warning : built.warnings)
        say(warning);
    if (!built.written()) {
        say(built.message);
        return 1;
    }
    return 0;
}

} // namespace swz
