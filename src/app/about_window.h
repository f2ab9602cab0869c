#pragma once

#include "common/window_parts.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace swz {

// The model's identity. Its texts are fixed: they do not follow the user-interface language.
class TFAbout final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFAbout)

public:
    explicit TFAbout(QWidget *parent = nullptr);

    void FormShow();
    void Label4Click();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLabel *m_picture = nullptr;
    QLabel *m_description = nullptr;
    QLabel *m_softwareCode = nullptr;
    QLabel *m_version = nullptr;
    QLabel *m_documentCode = nullptr;
    QLabel *m_web = nullptr;
};

} // namespace swz
