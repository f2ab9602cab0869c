#pragma once

#include <QList>
#include <QString>

namespace swz {

// Texts of the configurator's own file messages, kept in the main window's block of the UI
// text table.
inline constexpr int kTextCannotWriteFile = 90; // "Error! Cannot write the file "
inline constexpr int kTextCannotReadFile = 91;  // "Error! Cannot read the file "

// Every message box of the configurator goes through this service, so that tests can record
// the messages and answer the questions instead of a person.
class MessageService
{
public:
    enum class Kind { Error, Warning, Question };

    virtual ~MessageService() = default;
    virtual void showError(const QString &text) = 0;
    virtual void showWarning(const QString &text) = 0;
    // True when the user answered Yes.
    virtual bool askYesNo(const QString &text) = 0;
};

// The service in use; until one is installed messages go to the log (useful for the
// command-line tool, which has no windows).
MessageService &messages();
void installMessageService(MessageService *service);

// Records every message and answers questions from a queue (No when it is empty). Installs
// itself for its lifetime and restores the previous service afterwards.
class MessageRecorder final : public MessageService
{
public:
    struct Message
    {
        Kind kind;
        QString text;
    };

    MessageRecorder();
    ~MessageRecorder() override;
    MessageRecorder(const MessageRecorder &) = delete;
    MessageRecorder &operator=(const MessageRecorder &) = delete;

    void showError(const QString &text) override;
    void showWarning(const QString &text) override;
    bool askYesNo(const QString &text) override;

    void queueAnswer(bool yes) { m_answers.append(yes); }
    const QList<Message> &recorded() const { return m_messages; }
    QString lastText() const { return m_messages.isEmpty() ? QString() : m_messages.last().text; }
    void clear() { m_messages.clear(); }

private:
    MessageService *m_previous;
    QList<Message> m_messages;
    QList<bool> m_answers;
};

} // namespace swz
