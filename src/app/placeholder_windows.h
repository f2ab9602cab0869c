#pragma once

#include "common/window_parts.h"

#include <QDialog>

class QPushButton;

namespace swz {

// The options window: for now only its frame, OK and Cancel; OK stores the settings.
class TFSoftOptions final : public QDialog, public LanguageAware
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFSoftOptions)

public:
    explicit TFSoftOptions(QWidget *parent = nullptr);
    void Set_Lang() override;

private:
    TitleBand m_title;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
};

// The About window: for now only its frame and OK; its texts never change with the language.
class TFAbout final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFAbout)

public:
    explicit TFAbout(QWidget *parent = nullptr);
};

} // namespace swz
