#pragma once

#include "common/desktop.h"
#include "common/messages.h"

namespace swz {

// Message boxes of the configurator: error, warning and Yes/No question, modal.
class MessageBoxService final : public MessageService
{
public:
    void showError(const QString &text) override;
    void showWarning(const QString &text) override;
    bool askYesNo(const QString &text) override;
};

class BrowserUrlOpener final : public UrlOpener
{
public:
    void openUrl(const QString &url) override;
};

} // namespace swz
