#include "app/main_window.h"
#include "app/shell.h"
#include "common/message_boxes.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("swz8k20"));

    swz::MessageBoxService messageBoxes;
    swz::installMessageService(&messageBoxes);
    swz::BrowserUrlOpener browser;
    swz::installUrlOpener(&browser);

    swz::Shell shell;
    swz::TFCorvaneFirmWare window(shell, QCoreApplication::applicationDirPath());
    swz::centreOnScreen(&window);
    window.show();
    return app.exec();
}
