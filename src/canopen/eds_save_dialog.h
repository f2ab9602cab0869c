#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QWidget;

namespace swz {

// What the EDS save dialog is asked for.
struct SaveDialogRequest
{
    QString initialFolder;
    QString filter;
};

// The save dialog of step 7 behind a seam: the configurator shows a real file dialog, tests
// hand over the next file name instead, so that no modal dialog ever waits for a person.
class EdsSaveDialog
{
public:
    virtual ~EdsSaveDialog() = default;
    // The chosen full file name, or an empty text when the user cancelled.
    virtual QString askFileName(QWidget *parent, const SaveDialogRequest &request) = 0;
};

// The dialog in use: the file dialog SaveEDS unless another one is installed.
EdsSaveDialog &edsSaveDialog();
void installEdsSaveDialog(EdsSaveDialog *dialog);

// The filter of the save dialog.
QString edsFileFilter();

// The file name to write for what the user chose: ".eds" is added to a name typed without an
// extension.
QString withEdsExtension(const QString &fileName);

// For tests: answers each request with the next queued file name (cancel when the queue is
// empty) and records the requests. Installs itself for its lifetime.
class NextEdsFileName final : public EdsSaveDialog
{
public:
    NextEdsFileName();
    ~NextEdsFileName() override;
    NextEdsFileName(const NextEdsFileName &) = delete;
    NextEdsFileName &operator=(const NextEdsFileName &) = delete;

    QString askFileName(QWidget *parent, const SaveDialogRequest &request) override;

    void queue(const QString &fileName) { m_names.append(fileName); }
    const QList<SaveDialogRequest> &requests() const { return m_requests; }

private:
    EdsSaveDialog *m_previous;
    QStringList m_names;
    QList<SaveDialogRequest> m_requests;
};

} // namespace swz
