#include "app/placeholder_windows.h"

#include "app/model_profile.h"
#include "lang/text_table.h"

#include <QLabel>
#include <QPushButton>

namespace swz {

TFSoftOptions::TFSoftOptions(QWidget *parent)
    : QDialog(parent)
{
    setUpFixedDialog(this, QStringLiteral("TFSoftOptions"), 509, 373);
    m_title = makeTitleBand(this, 509);
    m_ok = makeButton(this, QStringLiteral("Btn_OK"), 16, 373 - 34, 110, 28);
    m_cancel = makeButton(this, QStringLiteral("Btn_Cancel"), 134, 373 - 34, 110, 28);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    Set_Lang();
}

void TFSoftOptions::Set_Lang()
{
    setWindowTitle(uiText(300));
    setLabelText(m_title.L_SW_Desc, uiText(301));
    m_ok->setText(uiText(312));
    m_cancel->setText(uiText(313));
}

TFAbout::TFAbout(QWidget *parent)
    : QDialog(parent)
{
    setUpFixedDialog(this, QStringLiteral("TFAbout"), 425, 148);
    setWindowTitle(profile::softwareCode);
    setLabelText(makeLabel(this, QStringLiteral("Label2"), 128, 39), profile::modelDescription);
    auto *ok = makeButton(this, QStringLiteral("LbButton1"), 32, 115, 81, 22);
    ok->setText(QStringLiteral("OK"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

} // namespace swz
