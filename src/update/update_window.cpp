#include "update/update_window.h"

#include "app/model_profile.h"
#include "app/shell.h"
#include "common/ip_address.h"
#include "common/messages.h"
#include "lang/text_table.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace swz {

namespace {

constexpr int kWidth = 449;
constexpr int kTitleHeight = 69;
constexpr int kAddressHeight = 49;
constexpr int kOptionsHeight = 72;
constexpr int kButtonHeight = 40;


// The check and the updater wait block the window; keep it painted and show that it is busy,
// but let no input through, so that nothing starts a second update meanwhile.
void keepPainted()
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

struct BusyCursor
{
    BusyCursor()
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        keepPainted();
    }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};

QFrame *makePanel(QWidget *parent, const char *name, int height)
{
    auto *panel = new QFrame(parent);
    panel->setObjectName(QString::fromLatin1(name));
    panel->resize(kWidth, height);
    return panel;
}

} // namespace

TFBoot::TFBoot(Shell &shell, QWidget *parent)
    : QDialog(parent)
    , m_shell(shell)
    , m_processLauncher(std::make_unique<ProcessLauncher>())
    , m_echo(&m_icmp)
    , m_clock(&steadyClock())
    , m_launcher(m_processLauncher.get())
{
    m_processLauncher->setIdle(keepPainted);
    m_icmp.setIdle(keepPainted);
    layOut();
    Set_Lang();
}

TFBoot::~TFBoot() = default;

void TFBoot::layOut()
{
    setUpFixedDialog(this, QStringLiteral("TFBoot"), kWidth,
                     kTitleHeight + kAddressHeight + kOptionsHeight + kButtonHeight);
    m_title = makeTitleBand(this, kWidth, kTitleHeight);

    m_addressPanel = makePanel(this, "P_IP_Address", kAddressHeight);
    m_addressLabel = makeLabel(m_addressPanel, QStringLiteral("L_IP_Address"), 16, 4);
    for (int i = 0; i < 4; ++i) {
        auto *field = new QLineEdit(QStringLiteral("0"), m_addressPanel);
        field->setObjectName(QStringLiteral("E_IP%1").arg(i + 1));
        field->setGeometry(16 + 52 * i, 22, 41, 21);
        field->installEventFilter(this);
        m_address[std::size_t(i)] = field;
        if (i < 3) {
            QLabel *dot = makeLabel(m_addressPanel, QStringLiteral("L_Dot%1").arg(i + 1),
                                    16 + 52 * i + 44, 26);
            setLabelText(dot, QStringLiteral("."));
        }
    }

    m_optionsPanel = makePanel(this, "P_Options", kOptionsHeight);
    m_optionLabel = makeLabel(m_optionsPanel, QStringLiteral("L_Update_Option"), 16, 6);
    m_options = new QComboBox(m_optionsPanel);
    m_options->setObjectName(QStringLiteral("CB_Update_Options"));
    m_options->setEditable(false);
    m_options->setGeometry(16, 24, 230, 22);
    m_readBack = new QCheckBox(m_optionsPanel);
    m_readBack->setObjectName(QStringLiteral("CB_Update_Option_Read_Back"));
    m_readBack->move(264, 26);

    m_buttonPanel = makePanel(this, "P_Button", kButtonHeight);
    m_cancel = makeButton(m_buttonPanel, QStringLiteral("Btn_Cancel"), 16, 6, 110, 28);
    m_update = makeButton(m_buttonPanel, QStringLiteral("Btn_Update"), kWidth - 16 - 190, 6, 190,
                          28);
    m_cancel->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
    m_update->setIcon(style()->standardIcon(QStyle::SP_ArrowUp));
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_update, &QPushButton::clicked, this, &TFBoot::Btn_UpdateClick);
}

void TFBoot::setCheckClock(WaitClock *clock, const CheckLimits &limits)
{
    m_clock = clock;
    m_limits = limits;
}

int TFBoot::openForUpdate()
{
    Form_Type = 1;
    return exec();
}

void TFBoot::Set_Lang()
{
    setWindowTitle(uiText(1002));
    setLabelText(m_title.L_SW_Desc, uiText(1003));
    setLabelText(m_addressLabel, uiText(1006));
    for (int i = 0; i < 4; ++i) {
        m_address[std::size_t(i)]->setToolTip(uiText(1021 + i));
        m_address[std::size_t(i)]->setAccessibleName(uiText(1021 + i));
    }
    setLabelText(m_optionLabel, uiText(1014));
    m_options->clear();
    m_options->addItems({uiText(1015), uiText(1016), uiText(1017)});
    m_options->setCurrentIndex(0);
    m_options->setToolTip(uiText(1032));
    m_options->setAccessibleName(uiText(1014));
    m_readBack->setText(uiText(1018));
    m_readBack->adjustSize();
    m_readBack->setToolTip(uiText(1033));
    m_readBack->setAccessibleName(uiText(1018));
    m_cancel->setText(uiText(1019));
    m_cancel->setToolTip(uiText(1034));
    m_cancel->setAccessibleName(uiText(1019));
    m_update->setText(uiText(1020));
    m_update->setToolTip(uiText(1035));
    m_update->setAccessibleName(uiText(1020));
}

void TFBoot::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormShow();
    centreOnScreen(this);
}

void TFBoot::FormShow()
{
    Set_Lang();
    setLabelText(m_title.L_SW_Code, profile::softwareCode);

    // One mode only: the address and options panels stacked below the title.
    m_addressPanel->move(0, kTitleHeight);
    m_optionsPanel->move(0, kTitleHeight + kAddressHeight);
    m_buttonPanel->move(0, kTitleHeight + kAddressHeight + kOptionsHeight);
    m_addressPanel->show();
    m_optionsPanel->show();
    setFixedSize(kWidth, kTitleHeight + kAddressHeight + kOptionsHeight + kButtonHeight);

    // A stored address that is no valid address leaves the fields as they are.
    QString parts[4];
    if (Split_IP_Address(m_shell.state.deviceAddress, parts[0], parts[1], parts[2], parts[3])) {
        for (int i = 0; i < 4; ++i)
            m_address[std::size_t(i)]->setText(parts[i]);
    }

    m_options->setCurrentIndex(m_rememberedOption);
    m_readBack->setChecked(m_rememberedReadBack);
    m_address[0]->setFocus();
}

bool TFBoot::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        for (std::size_t i = 0; i < m_address.size(); ++i) {
            if (watched != m_address[i] || key->text() != QStringLiteral("."))
                continue;
            // "." jumps to the next octet; it is never typed into a field.
            if (i + 1 < m_address.size()) {
                QLineEdit *next = m_address[i + 1];
                if (next->isEnabled() && next->isVisible() && (next->focusPolicy() & Qt::TabFocus))
                    next->setFocus(Qt::TabFocusReason);
            }
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

UpdateRequest TFBoot::currentRequest() const
{
    UpdateRequest request;
    for (std::size_t i = 0; i < m_address.size(); ++i)
        request.addressFields[i] = m_address[i]->text();
    request.option = UpdateOption(qBound(0, m_options->currentIndex(), 2));
    request.readBack = m_readBack->isChecked();
    return request;
}

bool TFBoot::Compile_XML_Parameter_New_Boot()
{
    const QByteArray document = swz::Compile_XML_Parameter_New_Boot(
        currentRequest(), m_shell.workspace.masterFolder, m_shell.state.projectFolder);
    if (const std::optional<QString> failure =
            saveUpdateJob(updateJobPath(m_shell.workspace.executableFolder), document)) {
        messages().showError(*failure);
        return false;
    }
    return true;
}

void TFBoot::Btn_UpdateClick()
{
    const UpdateRequest request = currentRequest();
    DeviceCheck check;
    {
        BusyCursor busy;
        check = Send_Ping(*m_echo, request.address(), *m_clock, m_limits, keepPainted);
    }
    ping_res = check.ping_res;
    if (!check.cannotRun.isEmpty()) {
        messages().showError(uiText(kTextCheckCannotRun) + check.cannotRun);
        return;
    }
    if (!check.reachable) {
        if (ping_res == 2)
            showWarning(kTextDeviceNotFound);
        else
            showError(kTextCheckAddress);
        return;
    }

    m_shell.state.deviceAddress = request.address();
    if (const std::optional<QString> failure = Save_Setting(m_shell))
        messages().showError(*failure);
    m_rememberedOption = int(request.option);
    m_rememberedReadBack = request.readBack;

    if (!Compile_XML_Parameter_New_Boot())
        return;

    const QString updater = updaterPath(m_shell.workspace.executableFolder);
    LaunchResult launch;
    {
        BusyCursor busy;
        launch = m_launcher->Start_Program(updater, QString(), 0);
    }
    if (!launch.started())
        messages().showError(uiText(kTextCannotStartProgram) + updater + QStringLiteral("\n")
                             + launch.error);
    // The window stays open; the user closes it.
}

} // namespace swz
