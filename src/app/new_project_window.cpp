#include "app/new_project_window.h"

#include "app/shell.h"
#include "common/messages.h"
#include "lang/text_table.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace swz {

TFNew_Project::TFNew_Project(Shell &shell, QWidget *parent)
    : QDialog(parent)
    , m_shell(shell)
{
    setUpFixedDialog(this, QStringLiteral("TFNew_Project"), 331, 162);

    m_title = makeTitleBand(this, 331);
    m_label1 = makeLabel(this, QStringLiteral("Label1"), 16, 70);

    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("E_New_Proj"));
    m_name->setGeometry(16, 94, 297, 21);
    // Enter in the name field confirms, like the OK button.
    connect(m_name, &QLineEdit::returnPressed, this, &TFNew_Project::Btn_OKClick);

    auto *bottom = new QFrame(this);
    bottom->setObjectName(QStringLiteral("P_Button"));
    bottom->setGeometry(0, 162 - 40, 331, 40);
    m_ok = makeButton(bottom, QStringLiteral("Btn_OK"), 85, 6, 110, 28);
    m_cancel = makeButton(bottom, QStringLiteral("Btn_Cancel"), 203, 6, 110, 28);
    connect(m_ok, &QPushButton::clicked, this, &TFNew_Project::Btn_OKClick);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    Set_Lang();
}

void TFNew_Project::Set_Lang()
{
    setWindowTitle(uiText(100));
    setLabelText(m_title.L_SW_Desc, uiText(101));
    setLabelText(m_label1, uiText(102));
    m_name->setToolTip(uiText(108));
    m_ok->setText(uiText(103));
    m_ok->setToolTip(uiText(109));
    m_cancel->setText(uiText(104));
    m_cancel->setToolTip(uiText(110));
}

void TFNew_Project::showEvent(QShowEvent *event)
{
    centreOnScreen(this);
    QDialog::showEvent(event);
    FormShow();
}

void TFNew_Project::FormShow()
{
    m_name->clear();
    m_name->setFocus();
}

void TFNew_Project::Btn_OKClick()
{
    const NewProjectResult result = createProject(m_shell.workspace, m_name->text(), m_shell.state);
    if (result != NewProjectResult::Created) {
        showError(messageIndexFor(result));
        return;
    }
    m_shell.Set_Files();
    accept();
}

} // namespace swz
