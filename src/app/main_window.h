#pragma once

#include "app/shell.h"
#include "app/version_check.h"
#include "common/rule_table_window.h"
#include "common/window_parts.h"

#include <QList>
#include <QWidget>

#include <array>
#include <memory>

class QLabel;
class QPushButton;
class QTimer;
class QToolButton;
class QAbstractButton;

namespace swz {

class TFNew_Project;
class TFOpenConf;
class TFSoftOptions;
class TFAbout;
class TFBoot;
class TFParGen;
namespace image {
class DeviceImageCompiler;
}
class TFLoRa_Set_Access;
class TFSet_SDO_Server_Access;
class TFSet_SDO_Client_Access;
class TFSet_PDO_Access;

// The configurator's home: the model, the active project and the eight steps.
class TFCorvaneFirmWare final : public QWidget, public LanguageAware
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFCorvaneFirmWare)

public:
    // Runs the start-up sequence with the workspace beside executableFolder, then creates the
    // other windows.
    explicit TFCorvaneFirmWare(Shell &shell, const QString &executableFolder,
                               QWidget *parent = nullptr);
    ~TFCorvaneFirmWare() override;

    void Set_Lang() override;
    void Change_Language();
    void Btn_Click(QAbstractButton *button);
    void Create_New_Project();
    void Open_Project();
    void Update_Device();
    void Build_EDS_File();
    void L_OndrixClick();
    void Timer_UpdateTimer();
    void LL_UpdateLinkClick(const QString &link);
    // Asks the web site through the window's HTTP client; false on any failure.
    bool Check_Version();
    // Tests and trials replace the client and point the query at a local server.
    void setHttpClient(std::unique_ptr<HttpClient> client);
    void setVersionQuery(const VersionQuery &query) { m_versionQuery = query; }

    QTimer *Timer_Update() const { return m_timerUpdate; }
    TFNew_Project *newProjectWindow() const { return m_newProject; }
    TFOpenConf *openWindow() const { return m_openConf; }
    TFSoftOptions *optionsWindow() const { return m_softOptions; }
    TFAbout *aboutWindow() const { return m_about; }
    TFBoot *updateWindow() const { return m_boot; }
    TFParGen *parGenWindow() const { return m_parGen; }
    TFLoRa_Set_Access *loRaAccessWindow() const { return m_loRaAccess; }

signals:
    // Step 8 has written both bank files and opens the update window.
    void updateWindowRequested();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormCreate(const QString &executableFolder);
    void layOut();
    void createWindows();
    void showConfigurationLabels();
    void updateTimerFromSettings();
    void openUpdateWindow();
    RuleTableContext ruleTableContext(std::function<QString()> sectionFile);

    Shell &m_shell;
    TitleBand m_title;
    QLabel *m_begin = nullptr;
    QLabel *m_nameConf = nullptr;
    QLabel *m_nameConfL2 = nullptr;
    QLabel *m_ondrix = nullptr;
    QLabel *m_update = nullptr;
    QToolButton *m_info = nullptr;
    QToolButton *m_options = nullptr;
    QToolButton *m_close = nullptr;
    std::array<QLabel *, 8> m_stepLabels{};
    QPushButton *m_btnNew = nullptr;
    QPushButton *m_btnOpen = nullptr;
    QPushButton *m_btnPrmGen = nullptr;
    QPushButton *m_btnLoRaWanAccess = nullptr;
    QPushButton *m_btnSdoServer = nullptr;
    QPushButton *m_btnSdoClient = nullptr;
    QPushButton *m_btnPdo = nullptr;
    QPushButton *m_btnEds = nullptr;
    QPushButton *m_btnCreateBin = nullptr;
    QTimer *m_timerUpdate = nullptr;
    std::unique_ptr<HttpClient> m_http;
    VersionQuery m_versionQuery;

    TFNew_Project *m_newProject = nullptr;
    TFOpenConf *m_openConf = nullptr;
    TFAbout *m_about = nullptr;
    TFSoftOptions *m_softOptions = nullptr;
    TFBoot *m_boot = nullptr;
    TFParGen *m_parGen = nullptr;
    // Staging records and image buffers live as long as the program.
    std::unique_ptr<image::DeviceImageCompiler> m_imageCompiler;
    TFLoRa_Set_Access *m_loRaAccess = nullptr;
    TFSet_SDO_Server_Access *m_sdoServer = nullptr;
    TFSet_SDO_Client_Access *m_sdoClient = nullptr;
    TFSet_PDO_Access *m_pdo = nullptr;
};

} // namespace swz
