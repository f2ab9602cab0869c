#pragma once

#include "common/window_parts.h"
#include "update/device_check.h"
#include "update/update_job.h"
#include "update/updater_launch.h"

#include <QDialog>

#include <array>
#include <memory>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace swz {

struct Shell;

// The last step of a device update: the gateway's address, what to update, the reachability
// check, the job file and the external updater.
class TFBoot final : public QDialog, public LanguageAware
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFBoot)

public:
    explicit TFBoot(Shell &shell, QWidget *parent = nullptr);
    ~TFBoot() override;

    // The update mode; this model only updates over Ethernet (1).
    int Form_Type = 1;
    // Status of the last echo of the latest check (0 none, 1 reply with data, 2 time-out).
    int ping_res = 0;

    // Opens the window modally for an update over Ethernet, after the device image was saved.
    int openForUpdate();

    void Set_Lang() override;
    void FormShow();
    void Btn_UpdateClick();
    // Writes the job file from the window's values; false (after the message) when it failed.
    bool Compile_XML_Parameter_New_Boot();

    // The values of the window as the job file takes them.
    UpdateRequest currentRequest() const;

    // The outside world, replaceable for tests. The window does not own what it is given.
    void setEchoClient(EchoClient *client) { m_echo = client; }
    void setCheckClock(WaitClock *clock, const CheckLimits &limits);
    void setLauncher(ProgramLauncher *launcher) { m_launcher = launcher; }

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void layOut();

    Shell &m_shell;
    TitleBand m_title;
    QFrame *m_addressPanel = nullptr;
    QFrame *m_optionsPanel = nullptr;
    QFrame *m_buttonPanel = nullptr;
    QLabel *m_addressLabel = nullptr;
    std::array<QLineEdit *, 4> m_address{};
    QLabel *m_optionLabel = nullptr;
    QComboBox *m_options = nullptr;
    QCheckBox *m_readBack = nullptr;
    QPushButton *m_cancel = nullptr;
    QPushButton *m_update = nullptr;

    // Remembered after each update that passed the check, until the program ends.
    int m_rememberedOption = 0;
    bool m_rememberedReadBack = true;

    IcmpEchoClient m_icmp;
    std::unique_ptr<ProcessLauncher> m_processLauncher;
    EchoClient *m_echo = nullptr;
    WaitClock *m_clock = nullptr;
    CheckLimits m_limits;
    ProgramLauncher *m_launcher = nullptr;
};

} // namespace swz
