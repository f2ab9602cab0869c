#pragma once

#include "common/desktop.h"

#include <QApplication>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <functional>

// Runs action on the next modal window once it is shown, so a test can fill in a dialog that
// the code under test opens with exec().
inline void whenModalShown(std::function<void(QWidget *)> action)
{
    auto *timer = new QTimer;
    timer->setInterval(10);
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, tries, action] {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal && modal->isVisible()) {
            timer->stop();
            timer->deleteLater();
            action(modal);
            // A check that failed inside action returns early; close the window anyway so
            // that exec() returns and the test reports the failure instead of hanging.
            if (modal->isVisible())
                QMetaObject::invokeMethod(modal, "reject", Qt::QueuedConnection);
        } else if (++*tries > 500) {
            // Give up rather than hang: the test then fails on its own checks.
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start();
}

// Records every web address the code under test asks to open, instead of starting a browser.
class RecordingUrlOpener final : public swz::UrlOpener
{
public:
    RecordingUrlOpener() { swz::installUrlOpener(this); }
    ~RecordingUrlOpener() override { swz::installUrlOpener(nullptr); }
    void openUrl(const QString &url) override { urls.append(url); }
    QStringList urls;
};
