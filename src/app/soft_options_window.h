#pragma once

#include "common/window_parts.h"

#include <QDialog>
#include <QStringList>

#include <array>
#include <functional>

class QCheckBox;
class QLabel;
class QPushButton;
class QTabWidget;

namespace swz {

struct Shell;

// The software options: the user-interface language, the internet switches, an update check
// on demand and the two behaviour switches of the rule tables.
class TFSoftOptions final : public QDialog, public LanguageAware
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFSoftOptions)

public:
    // changeLanguage re-applies the texts of every window; checkVersion asks the web site
    // whether a newer version exists.
    TFSoftOptions(Shell &shell, std::function<void()> changeLanguage,
                  std::function<bool()> checkVersion, QWidget *parent = nullptr);

    void Set_Lang() override;
    void FormShow();
    void Create_Lang_List();
    void Update_Lang_Page(int page);
    void Btn_NextClick(bool next);
    void LangClick(int slot);
    void CB_En_ConClick();
    void Update_CheckBox();
    void Btn_Check_UpdateClick();
    void LL_Check_UpdateLinkClick(const QString &link);
    void Btn_OKClick();

    // Fields of the window, kept between showings.
    QStringList SL_Languages;
    int Show_Page = 1;
    QString Language_In_Use;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Slot
    {
        QLabel *picture = nullptr;
        QLabel *name = nullptr;
    };

    void layOut();
    void showPageLabel();

    Shell &m_shell;
    std::function<void()> m_changeLanguage;
    std::function<bool()> m_checkVersion;

    TitleBand m_title;
    QTabWidget *m_pages = nullptr;
    QWidget *m_tsLanguage = nullptr;
    QWidget *m_tsConOptions = nullptr;
    QWidget *m_tsSoftSettings = nullptr;
    QLabel *m_selLang = nullptr;
    QLabel *m_pageLang = nullptr;
    QPushButton *m_prev = nullptr;
    QPushButton *m_next = nullptr;
    std::array<Slot, 6> m_slots{};
    QCheckBox *m_enCon = nullptr;
    QCheckBox *m_update = nullptr;
    QPushButton *m_checkUpdate = nullptr;
    QLabel *m_checkUpdateLink = nullptr;
    QCheckBox *m_jumpTable = nullptr;
    QCheckBox *m_autoSize = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
};

} // namespace swz
