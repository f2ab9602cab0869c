#include "app/main_window.h"

#include "app/about_window.h"
#include "app/model_profile.h"
#include "app/new_project_window.h"
#include "app/open_conf_window.h"
#include "app/soft_options_window.h"
#include "canopen/eds_file.h"
#include "canopen/eds_save_dialog.h"
#include "common/desktop.h"
#include "common/messages.h"
#include "image/device_update_build.h"
#include "lang/text_table.h"
#include "update/update_window.h"
#include "params/par_gen_window.h"
#include "lorawan/lora_access_window.h"
#include "canopen/canopen_windows.h"

#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QToolButton>

namespace swz {

namespace {

constexpr int kClientWidth = 694;
constexpr int kStepLeft = 80;
constexpr int kSecondButtonLeft = 258;
constexpr int kButtonWidth = 170;
constexpr int kButtonHeight = 36;

int stepButtonTop(int step)
{
    return 112 + 44 * (step - 1);
}

int stepLabelTop(int step)
{
    return 128 + 44 * (step - 1);
}

// Caption and hint of each step button, by UI text index.
struct StepButton
{
    const char *name;
    int step;
    int left;
    int caption;
    int hint;
    QStyle::StandardPixmap icon;
};

constexpr StepButton kStepButtons[] = {
    {"Btn_New", 1, kStepLeft, 15, 22, QStyle::SP_FileIcon},
    {"Btn_Open", 1, kSecondButtonLeft, 16, 23, QStyle::SP_DialogOpenButton},
    {"Btn_Prm_Gen", 2, kStepLeft, 20, 24, QStyle::SP_ComputerIcon},
    {"Btn_LoRaWAN_Access", 3, kStepLeft, 21, 25, QStyle::SP_DriveNetIcon},
    {"Btn_SDO_Server_CANopen", 4, kStepLeft, 46, 47, QStyle::SP_FileDialogInfoView},
    {"Btn_SDO_Client_CANopen", 5, kStepLeft, 48, 49, QStyle::SP_FileDialogListView},
    {"Btn_PDO_CANopen", 6, kStepLeft, 50, 51, QStyle::SP_FileDialogContentsView},
    {"Btn_CANopen_EDS", 7, kStepLeft, 52, 53, QStyle::SP_DialogSaveButton},
    {"Btn_CreateBin", 8, kStepLeft, 17, 26, QStyle::SP_ArrowUp},
};

} // namespace

TFCorvaneFirmWare::TFCorvaneFirmWare(Shell &shell, const QString &executableFolder,
                                     QWidget *parent)
    : QWidget(parent)
    , m_shell(shell)
    , m_http(std::make_unique<Http10Client>())
{
    FormCreate(executableFolder);
    createWindows();
}

TFCorvaneFirmWare::~TFCorvaneFirmWare() = default;

void TFCorvaneFirmWare::FormCreate(const QString &executableFolder)
{
    layOut();
    runStartup(m_shell, executableFolder);
    updateTimerFromSettings();
    setWindowTitle(profile::mainWindowCaption());
    setLabelText(m_title.L_SW_Code, profile::softwareCode);
    setLabelText(m_title.L_SW_Desc, profile::modelDescription);
    Set_Lang();
}

void TFCorvaneFirmWare::layOut()
{
    setObjectName(QStringLiteral("TFCorvaneFirmWare"));
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint
                   | Qt::WindowTitleHint);
    applyWindowFont(this);
    QPalette light = palette();
    light.setColor(QPalette::Window, QColor(0xF8, 0xF7, 0xED));
    setPalette(light);
    setAutoFillBackground(true);

    m_title.L_SW_Code = makeSoftwareCodeLabel(this);
    m_title.L_SW_Desc = makeBoldGreyLabel(this, QStringLiteral("L_SW_Desc"), 16, 42);
    m_begin = makeBoldGreyLabel(this, QStringLiteral("L_Begin"), 16, 84);

    auto *frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("Shape2"));
    frame->setGeometry(80, 70, 348, 36);
    frame->setStyleSheet(QStringLiteral("QFrame#Shape2 { border: 1px solid #C0C0C0; }"));
    m_nameConf = makeLabel(this, QStringLiteral("L_Name_Conf"), 87, 75);
    m_nameConfL2 = makeLabel(this, QStringLiteral("L_Name_Conf_L2"), 87, 88);

    auto iconButton = [this](const char *name, int left, QStyle::StandardPixmap icon) {
        auto *button = new QToolButton(this);
        button->setObjectName(QString::fromLatin1(name));
        button->setGeometry(left, 8, 50, 50);
        button->setIcon(style()->standardIcon(icon));
        button->setIconSize(QSize(32, 32));
        button->setAutoRaise(true);
        connect(button, &QToolButton::clicked, this, [this, button] { Btn_Click(button); });
        return button;
    };
    m_info = iconButton("Btn_Info", 516, QStyle::SP_MessageBoxInformation);
    m_options = iconButton("Btn_Opz", 574, QStyle::SP_FileDialogDetailedView);
    m_close = iconButton("Btn_Close", 632, QStyle::SP_DialogCloseButton);

    m_update = makeLabel(this, QStringLiteral("LL_Update"), 208, 19);
    m_update->setTextFormat(Qt::RichText);
    m_update->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    m_update->setOpenExternalLinks(false);
    connect(m_update, &QLabel::linkActivated, this, &TFCorvaneFirmWare::LL_UpdateLinkClick);
    m_update->hide();

    for (int step = 1; step <= 8; ++step) {
        m_stepLabels[step - 1] = makeBoldGreyLabel(this, QStringLiteral("L_Step%1").arg(step), 16,
                                               stepLabelTop(step));
    }

    QPushButton **buttonFields[] = {&m_btnNew,       &m_btnOpen,      &m_btnPrmGen,
                             &m_btnLoRaWanAccess, &m_btnSdoServer, &m_btnSdoClient,
                             &m_btnPdo,       &m_btnEds,       &m_btnCreateBin};
    for (std::size_t i = 0; i < std::size(kStepButtons); ++i) {
        const StepButton &def = kStepButtons[i];
        QPushButton *button = makeButton(this, QString::fromLatin1(def.name), def.left,
                                         stepButtonTop(def.step), kButtonWidth, kButtonHeight);
        button->setIcon(style()->standardIcon(def.icon));
        connect(button, &QPushButton::clicked, this, [this, button] { Btn_Click(button); });
        *buttonFields[i] = button;
    }

    const int lastTop = stepButtonTop(8);
    auto *line = new QFrame(this);
    line->setObjectName(QStringLiteral("Shape1"));
    line->setGeometry(10, lastTop + 51, 674, 1);
    line->setStyleSheet(QStringLiteral("background-color: #C0C0C0;"));

    m_ondrix = makeBoldGreyLabel(this, QStringLiteral("L_Ondrix"), 565, stepLabelTop(8));
    m_ondrix->setCursor(Qt::PointingHandCursor);
    m_ondrix->installEventFilter(this);
    setLabelText(m_ondrix, profile::makerWebAddress);
    // A long address in a wide fallback font must not run past the window's edge.
    if (m_ondrix->x() + m_ondrix->width() > kClientWidth - 10)
        m_ondrix->move(kClientWidth - 10 - m_ondrix->width(), m_ondrix->y());

    m_timerUpdate = new QTimer(this);
    m_timerUpdate->setObjectName(QStringLiteral("Timer_Update"));
    m_timerUpdate->setInterval(60000);
    connect(m_timerUpdate, &QTimer::timeout, this, &TFCorvaneFirmWare::Timer_UpdateTimer);

    setFixedSize(kClientWidth, lastTop + 152);
}

void TFCorvaneFirmWare::createWindows()
{
    m_newProject = new TFNew_Project(m_shell, this);
    m_openConf = new TFOpenConf(m_shell, this);
    m_about = new TFAbout(this);
    m_softOptions = new TFSoftOptions(
        m_shell, [this] { Change_Language(); }, [this] { return Check_Version(); }, this);
    m_parGen = new TFParGen(m_shell, this);
    m_boot = new TFBoot(m_shell, this);
    // The rule tables read their paths at each opening: the project may change in between.
    m_loRaAccess = new TFLoRa_Set_Access(
        ruleTableContext([this] { return m_shell.files.loRaWanAccess; }),
        [this] { return m_shell.files.parGen; }, this);
    m_pdo = new TFSet_PDO_Access(ruleTableContext([this] { return m_shell.files.pdo; }), this);
    m_sdoClient = new TFSet_SDO_Client_Access(
        ruleTableContext([this] { return m_shell.files.sdoClient; }), this);
    m_sdoServer = new TFSet_SDO_Server_Access(
        ruleTableContext([this] { return m_shell.files.sdoServer; }), this);
}

bool TFCorvaneFirmWare::Check_Version()
{
    return swz::Check_Version(*m_http, m_versionQuery);
}

void TFCorvaneFirmWare::setHttpClient(std::unique_ptr<HttpClient> client)
{
    if (client)
        m_http = std::move(client);
}

void TFCorvaneFirmWare::Timer_UpdateTimer()
{
    m_timerUpdate->stop();
    if (Check_Version()) {
        m_update->setText(QStringLiteral("<a href=\"%1\">%2</a>")
                              .arg(profile::downloadPageUrl().toHtmlEscaped(),
                                   uiText(19).toHtmlEscaped()));
        m_update->setAccessibleName(uiText(19));
        m_update->adjustSize();
        m_update->show();
    } else {
        m_update->hide();
    }
    m_timerUpdate->setInterval(7200000);
    m_timerUpdate->start();
}

void TFCorvaneFirmWare::LL_UpdateLinkClick(const QString &link)
{
    urlOpener().openUrl(link);
}

RuleTableContext TFCorvaneFirmWare::ruleTableContext(std::function<QString()> sectionFile)
{
    RuleTableContext context;
    context.rowBuffer = &m_shell.rowBuffer;
    context.text = [](int index) { return uiText(index); };
    context.jumpOnEnter = [this] { return m_shell.state.enable_jump_field_tables; };
    context.autoSizeOnDoubleClick = [this] { return m_shell.state.Double_Click_Auto_Size; };
    context.sectionFile = std::move(sectionFile);
    return context;
}

void TFCorvaneFirmWare::updateTimerFromSettings()
{
    if (m_shell.state.updateCheckEnabled())
        m_timerUpdate->start();
    else
        m_timerUpdate->stop();
}

void TFCorvaneFirmWare::showConfigurationLabels()
{
    if (m_shell.state.projectActive()) {
        setLabelText(m_nameConf, uiText(11));
        setLabelText(m_nameConfL2, m_shell.state.projectName);
    } else {
        setLabelText(m_nameConf, uiText(9));
        setLabelText(m_nameConfL2, uiText(10));
    }
}

void TFCorvaneFirmWare::Set_Lang()
{
    setLabelText(m_begin, uiText(0));
    for (int step = 1; step <= 8; ++step)
        setLabelText(m_stepLabels[step - 1], uiText(step));
    m_info->setToolTip(uiText(12));
    m_options->setToolTip(uiText(13));
    m_close->setToolTip(uiText(14));
    for (const StepButton &def : kStepButtons) {
        auto *button = findChild<QPushButton *>(QString::fromLatin1(def.name));
        button->setText(uiText(def.caption));
        button->setToolTip(uiText(def.hint));
    }
    showConfigurationLabels();
}

void TFCorvaneFirmWare::Change_Language()
{
    // The order in which the windows take their new texts.
    const QList<LanguageAware *> windows = {this, m_newProject, m_openConf, m_softOptions,
                                             m_boot, m_parGen, m_loRaAccess, m_pdo,
                                             m_sdoClient, m_sdoServer};
    for (LanguageAware *window : windows) {
        if (window)
            window->Set_Lang();
    }
}

void TFCorvaneFirmWare::Btn_Click(QAbstractButton *button)
{
    if (button == m_btnNew) {
        Create_New_Project();
    } else if (button == m_btnOpen) {
        Open_Project();
    } else if (button == m_close) {
        close();
    } else if (button == m_info) {
        m_about->exec();
    } else if (button == m_options) {
        if (m_softOptions->exec() == QDialog::Accepted) {
            if (const std::optional<QString> failure = Save_Setting(m_shell))
                messages().showError(*failure);
            updateTimerFromSettings();
        }
    } else if (!m_shell.state.projectActive()) {
        showError(18);
    } else if (button == m_btnPrmGen) {
        m_parGen->Show_Modal();
    } else if (button == m_btnLoRaWanAccess) {
        m_loRaAccess->exec();
    } else if (button == m_btnSdoServer) {
        m_sdoServer->exec();
    } else if (button == m_btnSdoClient) {
        m_sdoClient->exec();
    } else if (button == m_btnPdo) {
        m_pdo->exec();
    } else if (button == m_btnEds) {
        Build_EDS_File();
    } else if (button == m_btnCreateBin) {
        Update_Device();
    }
}

void TFCorvaneFirmWare::Create_New_Project()
{
    if (m_newProject->exec() == QDialog::Accepted)
        showConfigurationLabels();
}

void TFCorvaneFirmWare::Open_Project()
{
    if (m_openConf->exec() != QDialog::Accepted)
        return;
    openProject(m_shell.workspace, m_openConf->SL.isEmpty() ? QString() : m_openConf->Name_Conf,
                m_shell.state);
    showConfigurationLabels();
    m_shell.Set_Files();
}

void TFCorvaneFirmWare::Update_Device()
{
    if (!m_imageCompiler)
        m_imageCompiler = std::make_unique<image::DeviceImageCompiler>();
    // Payload gate, compile, save: any failure stops here with its message, and the bank
    // files of an earlier update stay as they were.
    const image::ImageBuildResult built = image::buildDeviceImage(*m_imageCompiler, m_shell.files);
    if (!built.written()) {
        messages().showError(built.message);
        return;
    }
    openUpdateWindow();
}

void TFCorvaneFirmWare::openUpdateWindow()
{
    // The one place where step 8 hands over to the update window (form type 1, over Ethernet).
    emit updateWindowRequested();
    m_boot->openForUpdate();
}

void TFCorvaneFirmWare::Build_EDS_File()
{
    const QString chosen =
        edsSaveDialog().askFileName(this, {m_shell.state.projectFolder, edsFileFilter()});
    if (chosen.isEmpty())
        return;
    EdsGenerator generator(m_shell.files);
    if (const std::optional<QString> failure = generator.Write_EDS_File(withEdsExtension(chosen)))
        messages().showError(*failure);
}

void TFCorvaneFirmWare::L_OndrixClick()
{
    urlOpener().openUrl(profile::homePageUrl());
}

bool TFCorvaneFirmWare::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_ondrix && event->type() == QEvent::MouseButtonRelease) {
        L_OndrixClick();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TFCorvaneFirmWare::closeEvent(QCloseEvent *event)
{
    if (const std::optional<QString> failure = Save_Setting(m_shell))
        messages().showError(*failure);
    event->accept();
}

} // namespace swz
