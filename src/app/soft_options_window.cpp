#include "app/soft_options_window.h"

#include "app/language_choice.h"
#include "app/model_profile.h"
#include "app/shell.h"
#include "common/desktop.h"
#include "common/messages.h"
#include "lang/text_table.h"

#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>

#include <algorithm>

namespace swz {

namespace {

constexpr int kWidth = 509;
constexpr int kHeight = 373;
constexpr int kTitleHeight = 69;
constexpr int kBottomHeight = 40;

// Slot positions: pictures and labels of the left column (slots 1 to 3) and the right column.
constexpr int kPictureLeft[6] = {24, 26, 24, 254, 254, 254};
constexpr int kNameLeft[6] = {80, 80, 80, 310, 310, 310};
constexpr int kPictureTop[3] = {40, 94, 148};
constexpr int kNameTop[3] = {56, 110, 164};

QCheckBox *makeCheckBox(QWidget *parent, const QString &name, int left, int top)
{
    auto *box = new QCheckBox(parent);
    box->setObjectName(name);
    box->move(left, top);
    return box;
}

void setCheckBoxText(QCheckBox *box, const QString &text)
{
    box->setText(text);
    box->adjustSize();
}

} // namespace

TFSoftOptions::TFSoftOptions(Shell &shell, std::function<void()> changeLanguage,
                             std::function<bool()> checkVersion, QWidget *parent)
    : QDialog(parent)
    , m_shell(shell)
    , m_changeLanguage(std::move(changeLanguage))
    , m_checkVersion(std::move(checkVersion))
{
    layOut();
    // FormCreate: the software code, the connection page, the texts.
    setLabelText(m_title.L_SW_Code, profile::softwareCode);
    m_pages->setCurrentWidget(m_tsConOptions);
    Set_Lang();
}

void TFSoftOptions::layOut()
{
    setUpFixedDialog(this, QStringLiteral("TFSoftOptions"), kWidth, kHeight);
    m_title = makeTitleBand(this, kWidth, kTitleHeight);

    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("PC_Options"));
    m_pages->setGeometry(0, kTitleHeight, kWidth, kHeight - kTitleHeight - kBottomHeight);

    m_tsLanguage = new QWidget;
    m_tsLanguage->setObjectName(QStringLiteral("TS_Language"));
    m_tsConOptions = new QWidget;
    m_tsConOptions->setObjectName(QStringLiteral("TS_Con_Options"));
    m_tsSoftSettings = new QWidget;
    m_tsSoftSettings->setObjectName(QStringLiteral("TS_Soft_Settings"));
    m_pages->addTab(m_tsLanguage, QString());
    m_pages->addTab(m_tsConOptions, QString());
    m_pages->addTab(m_tsSoftSettings, QString());

    // Language page.
    m_selLang = makeLabel(m_tsLanguage, QStringLiteral("L_Sel_Lang"), 12, 11);
    for (int i = 0; i < kLanguageSlots; ++i) {
        Slot &slot = m_slots[std::size_t(i)];
        slot.picture = makeLabel(m_tsLanguage, QStringLiteral("Image_Lang%1").arg(i + 1),
                                 kPictureLeft[i], kPictureTop[i % 3]);
        slot.picture->resize(48, 48);
        slot.picture->setScaledContents(true);
        slot.name = makeLabel(m_tsLanguage, QStringLiteral("L_Lang%1").arg(i + 1), kNameLeft[i],
                              kNameTop[i % 3]);
        for (QLabel *label : {slot.picture, slot.name}) {
            label->setCursor(Qt::PointingHandCursor);
            label->installEventFilter(this);
            label->hide();
        }
    }
    m_pageLang = makeLabel(m_tsLanguage, QStringLiteral("L_Page_Lang"), 220, 212);
    m_prev = makeButton(m_tsLanguage, QStringLiteral("Btn_Prev"), 12, 204, 110, 28);
    m_next = makeButton(m_tsLanguage, QStringLiteral("Btn_Next"), 379, 205, 110, 28);
    connect(m_prev, &QPushButton::clicked, this, [this] { Btn_NextClick(false); });
    connect(m_next, &QPushButton::clicked, this, [this] { Btn_NextClick(true); });

    // Connection page.
    m_enCon = makeCheckBox(m_tsConOptions, QStringLiteral("CB_En_Con"), 12, 16);
    m_update = makeCheckBox(m_tsConOptions, QStringLiteral("CB_Update"), 36, 47);
    m_checkUpdate = makeButton(m_tsConOptions, QStringLiteral("Btn_Check_Update"), 36, 78, 204, 28);
    connect(m_checkUpdate, &QPushButton::clicked, this, &TFSoftOptions::Btn_Check_UpdateClick);
    m_checkUpdateLink = makeLabel(m_tsConOptions, QStringLiteral("LL_Check_Update"), 40, 120);
    m_checkUpdateLink->setTextInteractionFlags(Qt::LinksAccessibleByMouse
                                               | Qt::LinksAccessibleByKeyboard);
    m_checkUpdateLink->setOpenExternalLinks(false);
    connect(m_checkUpdateLink, &QLabel::linkActivated, this,
            &TFSoftOptions::LL_Check_UpdateLinkClick);
    m_checkUpdateLink->hide();

    // Software settings page.
    m_jumpTable = makeCheckBox(m_tsSoftSettings, QStringLiteral("CB_Soft_Set_Jump_Table"), 12, 16);
    m_autoSize = makeCheckBox(m_tsSoftSettings, QStringLiteral("CB_DoubleClick_Auto_Size"), 12, 39);
    for (QCheckBox *box : {m_enCon, m_update, m_jumpTable, m_autoSize})
        connect(box, &QCheckBox::toggled, this, &TFSoftOptions::CB_En_ConClick);

    // Bottom panel.
    auto *bottom = new QFrame(this);
    bottom->setObjectName(QStringLiteral("P_Bottom"));
    bottom->setGeometry(0, kHeight - kBottomHeight, kWidth, kBottomHeight);
    m_ok = makeButton(bottom, QStringLiteral("Btn_OK"), 16, 6, 110, 28);
    m_cancel = makeButton(bottom, QStringLiteral("Btn_Cancel"), 134, 6, 110, 28);
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &TFSoftOptions::Btn_OKClick);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TFSoftOptions::Set_Lang()
{
    setWindowTitle(uiText(300));
    setLabelText(m_title.L_SW_Desc, uiText(301));
    m_pages->setTabText(m_pages->indexOf(m_tsLanguage), uiText(302));
    m_pages->setTabText(m_pages->indexOf(m_tsConOptions), uiText(303));
    m_pages->setTabText(m_pages->indexOf(m_tsSoftSettings), uiText(319));
    m_prev->setText(uiText(307));
    m_next->setText(uiText(308));
    setCheckBoxText(m_enCon, uiText(309));
    setCheckBoxText(m_update, uiText(310));
    m_checkUpdate->setText(uiText(311));
    setCheckBoxText(m_jumpTable, uiText(320));
    setCheckBoxText(m_autoSize, uiText(321));
    m_ok->setText(uiText(312));
    m_cancel->setText(uiText(313));
    setLabelText(m_selLang, uiText(304) + Language_In_Use);
    showPageLabel();
}

void TFSoftOptions::showPageLabel()
{
    // With no language file at all the page still reads "1 / 1", as on a fresh window.
    const int pages = std::max(1, languagePageCount(int(SL_Languages.size())));
    setLabelText(m_pageLang, uiText(305) + QString::number(Show_Page) + uiText(306)
                                 + QString::number(pages));
}

void TFSoftOptions::showEvent(QShowEvent *event)
{
    if (!event->spontaneous()) {
        FormShow();
        centreOnScreen(this);
    }
    QDialog::showEvent(event);
}

void TFSoftOptions::FormShow()
{
    Language_In_Use = m_shell.state.language;
    Create_Lang_List();
    Update_CheckBox();
    m_checkUpdateLink->hide();
    m_pages->setCurrentWidget(m_tsLanguage);
    // Every change below runs Update_CheckBox through the toggled signal.
    m_enCon->setChecked(m_shell.state.enable_internet);
    m_update->setChecked(m_shell.state.enable_update);
    m_jumpTable->setChecked(m_shell.state.enable_jump_field_tables);
    m_autoSize->setChecked(m_shell.state.Double_Click_Auto_Size);
    Update_CheckBox();
}

void TFSoftOptions::Create_Lang_List()
{
    SL_Languages = swz::Create_Lang_List(m_shell.workspace.languageFolder);
    Show_Page = 1;
    Update_Lang_Page(Show_Page);
}

void TFSoftOptions::Update_Lang_Page(int page)
{
    const int pages = languagePageCount(int(SL_Languages.size()));
    setLabelText(m_selLang, uiText(304) + Language_In_Use);
    showPageLabel();
    m_prev->setVisible(page != 1);
    // Without any language file there is no further page to go to.
    m_next->setVisible(page < pages);

    const QList<LanguageSlot> shown =
        languageSlots(SL_Languages, page, m_shell.workspace.languageFolder);
    for (int i = 0; i < kLanguageSlots; ++i) {
        Slot &slot = m_slots[std::size_t(i)];
        if (i >= shown.size()) {
            slot.picture->hide();
            slot.name->hide();
            continue;
        }
        const LanguageSlot &language = shown[i];
        setLabelText(slot.name, language.name);
        slot.name->show();
        const QPixmap flag = language.picture.isEmpty() ? QPixmap() : QPixmap(language.picture);
        slot.picture->setPixmap(flag);
        slot.picture->setAccessibleName(language.name);
        slot.picture->setVisible(!flag.isNull());
    }
}

void TFSoftOptions::Btn_NextClick(bool next)
{
    const int pages = languagePageCount(int(SL_Languages.size()));
    if (next && pages >= Show_Page + 1)
        ++Show_Page;
    else if (!next && Show_Page - 1 > 0)
        --Show_Page;
    Update_Lang_Page(Show_Page);
}

void TFSoftOptions::LangClick(int slot)
{
    const QString language = languageOfSlot(SL_Languages, Show_Page, slot);
    if (language.isEmpty())
        return;
    if (!messages().askYesNo(uiText(316) + Language_In_Use + uiText(317) + language + uiText(318)))
        return;
    // The setting itself changes only on OK; the texts change now, for the rest of the run.
    QString loaded = language;
    loadLanguage(uiTexts(), m_shell.workspace.languageFolder, loaded);
    // A file that went away in the meantime leaves English in use, and says so.
    Language_In_Use = loaded;
    if (m_changeLanguage)
        m_changeLanguage();
    setLabelText(m_selLang, uiText(304) + Language_In_Use);
}

void TFSoftOptions::CB_En_ConClick()
{
    Update_CheckBox();
}

void TFSoftOptions::Update_CheckBox()
{
    m_update->setEnabled(m_enCon->isChecked());
    m_checkUpdate->setEnabled(m_update->isEnabled() && m_update->isChecked());
}

void TFSoftOptions::Btn_Check_UpdateClick()
{
    const bool newer = m_checkVersion && m_checkVersion();
    if (newer) {
        m_checkUpdateLink->setTextFormat(Qt::RichText);
        m_checkUpdateLink->setText(QStringLiteral("<a href=\"%1\">%2</a>")
                                       .arg(profile::downloadPageUrl().toHtmlEscaped(),
                                            uiText(314).toHtmlEscaped()));
        m_checkUpdateLink->adjustSize();
    } else {
        m_checkUpdateLink->setTextFormat(Qt::PlainText);
        setLabelText(m_checkUpdateLink, uiText(315));
    }
    m_checkUpdateLink->setAccessibleName(newer ? uiText(314) : uiText(315));
    m_checkUpdateLink->show();
}

void TFSoftOptions::LL_Check_UpdateLinkClick(const QString &link)
{
    urlOpener().openUrl(link);
}

void TFSoftOptions::Btn_OKClick()
{
    AppState &state = m_shell.state;
    state.language = Language_In_Use;
    state.enable_internet = m_enCon->isChecked();
    state.enable_update = m_update->isChecked();
    state.enable_jump_field_tables = m_jumpTable->isChecked();
    state.Double_Click_Auto_Size = m_autoSize->isChecked();
    // The main window saves the settings and sets its update timer from the two switches.
    accept();
}

bool TFSoftOptions::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        for (int i = 0; i < kLanguageSlots; ++i) {
            const Slot &slot = m_slots[std::size_t(i)];
            if (watched == slot.picture || watched == slot.name) {
                LangClick(i + 1);
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace swz
