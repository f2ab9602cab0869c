#include "common/message_boxes.h"

#include "common/model_profile.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QUrl>

namespace swz {

namespace {

QWidget *messageParent()
{
    if (QWidget *modal = QApplication::activeModalWidget())
        return modal;
    return QApplication::activeWindow();
}

} // namespace

void MessageBoxService::showError(const QString &text)
{
    QMessageBox::critical(messageParent(), profile::softwareCode, text, QMessageBox::Ok);
}

void MessageBoxService::showWarning(const QString &text)
{
    QMessageBox::warning(messageParent(), profile::softwareCode, text, QMessageBox::Ok);
}

bool MessageBoxService::askYesNo(const QString &text)
{
    return QMessageBox::question(messageParent(), profile::softwareCode, text,
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
           == QMessageBox::Yes;
}

void BrowserUrlOpener::openUrl(const QString &url)
{
    QDesktopServices::openUrl(QUrl(url));
}

} // namespace swz
