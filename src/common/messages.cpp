#include "common/messages.h"

#include <QDebug>

namespace swz {

namespace {

class LogMessageService final : public MessageService
{
public:
    void showError(const QString &text) override { qWarning().noquote() << "Error:" << text; }
    void showWarning(const QString &text) override { qWarning().noquote() << "Warning:" << text; }
    bool askYesNo(const QString &text) override
    {
        qWarning().noquote() << "Question (answered No):" << text;
        return false;
    }
};

LogMessageService g_logService;
MessageService *g_service = &g_logService;

} // namespace

MessageService &messages()
{
    return *g_service;
}

void installMessageService(MessageService *service)
{
    g_service = service ? service : &g_logService;
}

MessageRecorder::MessageRecorder()
    : m_previous(&messages())
{
    installMessageService(this);
}

MessageRecorder::~MessageRecorder()
{
    installMessageService(m_previous);
}

void MessageRecorder::showError(const QString &text)
{
    m_messages.append({Kind::Error, text});
}

void MessageRecorder::showWarning(const QString &text)
{
    m_messages.append({Kind::Warning, text});
}

bool MessageRecorder::askYesNo(const QString &text)
{
    m_messages.append({Kind::Question, text});
    return m_answers.isEmpty() ? false : m_answers.takeFirst();
}

} // namespace swz
