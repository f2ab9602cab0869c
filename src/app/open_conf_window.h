#pragma once

#include "common/window_parts.h"

#include <QDialog>
#include <QStringList>

class QLabel;
class QListWidget;
class QPushButton;

namespace swz {

struct Shell;

// Lists the project folders and lets the user pick the one to open.
class TFOpenConf final : public QDialog, public LanguageAware
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFOpenConf)

public:
    explicit TFOpenConf(Shell &shell, QWidget *parent = nullptr);

    void Set_Lang() override;
    void FormShow();
    void Load_Existing_Configuration();
    void ListBox1Click();

    // Project names found at the last showing, and the chosen one (kept between showings).
    QStringList SL;
    QString Name_Conf;

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void placeControls();

    Shell &m_shell;
    TitleBand m_title;
    QLabel *m_label1 = nullptr;
    QListWidget *m_list = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
};

} // namespace swz
