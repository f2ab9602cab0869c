// Headless companion of the configurator: commands that need no display.
#include "cli/commands.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    return swz::runCli(QCoreApplication::arguments().mid(1));
}
