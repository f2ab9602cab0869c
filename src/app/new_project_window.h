#pragma once

#include "common/window_parts.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace swz {

struct Shell;

// Asks for the name of a new configuration project and creates it.
class TFNew_Project final : public QDialog, public LanguageAware
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFNew_Project)

public:
    explicit TFNew_Project(Shell &shell, QWidget *parent = nullptr);

    void Set_Lang() override;
    void FormShow();
    void Btn_OKClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    Shell &m_shell;
    TitleBand m_title;
    QLabel *m_label1 = nullptr;
    QLineEdit *m_name = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
};

} // namespace swz
