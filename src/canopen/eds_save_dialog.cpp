#include "canopen/eds_save_dialog.h"

#include <QFileDialog>
#include <QFileInfo>

namespace swz {

namespace {

class FileDialogEdsSave final : public EdsSaveDialog
{
public:
    QString askFileName(QWidget *parent, const SaveDialogRequest &request) override
    {
        QFileDialog dialog(parent);
        dialog.setObjectName(QStringLiteral("SaveEDS"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setNameFilter(request.filter);
        dialog.setDefaultSuffix(QStringLiteral("eds"));
        dialog.setDirectory(request.initialFolder);
        // An existing data sheet is replaced without a question.
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        if (dialog.exec() != QDialog::Accepted)
            return QString();
        return dialog.selectedFiles().value(0);
    }
};

FileDialogEdsSave g_fileDialog;
EdsSaveDialog *g_dialog = &g_fileDialog;

} // namespace

EdsSaveDialog &edsSaveDialog()
{
    return *g_dialog;
}

void installEdsSaveDialog(EdsSaveDialog *dialog)
{
    g_dialog = dialog ? dialog : &g_fileDialog;
}

QString edsFileFilter()
{
    return QStringLiteral("Electronic Data Sheet (*.eds)");
}

QString withEdsExtension(const QString &fileName)
{
    if (fileName.isEmpty() || QFileInfo(fileName).fileName().contains(QLatin1Char('.')))
        return fileName;
    return fileName + QStringLiteral(".eds");
}

NextEdsFileName::NextEdsFileName()
    : m_previous(&edsSaveDialog())
{
    installEdsSaveDialog(this);
}

NextEdsFileName::~NextEdsFileName()
{
    installEdsSaveDialog(m_previous);
}

QString NextEdsFileName::askFileName(QWidget *, const SaveDialogRequest &request)
{
    m_requests.append(request);
    return m_names.isEmpty() ? QString() : m_names.takeFirst();
}

} // namespace swz
