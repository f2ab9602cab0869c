#include "app/main_window.h"
#include "app/new_project_window.h"
#include "canopen/eds_save_dialog.h"
#include "common/desktop.h"
#include "common/messages.h"
#include "lang/text_table.h"
#include "test_support.h"
#include "ui_support.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace swz;
using testing_support::readFile;
using testing_support::writeFile;

namespace {

QString labelText(QWidget *window, const char *name)
{
    auto *label = window->findChild<QLabel *>(name);
    return label ? label->text() : QStringLiteral("<missing %1>").arg(name);
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void layoutAndTexts();
    void stepsRefuseWithoutProject_data();
    void stepsRefuseWithoutProject();
    void createProjectAndReopenAtNextStart();
    void updateStopsOnPayloadGate_data();
    void updateStopsOnPayloadGate();
    void changeLanguageReappliesTexts();
    void closeReportsUnwritableSettings();
    void webLabelOpensHomePage();
    void timerFollowsInternetSwitches();
    void infoAndOptionsWorkWithoutProject();
    void projectNameIsShownAsPlainText();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestMainWindow::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
}

void TestMainWindow::layoutAndTexts()
{
    Shell shell;
    TFCorvaneFirmWare window(shell, m_dir->path());
    QCOMPARE(window.size(), QSize(694, 572));
    QCOMPARE(window.windowTitle(),
             QString("www.corvane.example - Configurator SWZ8K20 CANopen / LoRaWAN "));
    QCOMPARE(labelText(&window, "L_SW_Code"), QString("SWZ8K20"));
    QCOMPARE(labelText(&window, "L_SW_Desc"), QString("CANopen / LoRaWAN - Converter"));
    QCOMPARE(labelText(&window, "L_Begin"), QString("Begin"));
    QCOMPARE(labelText(&window, "L_Name_Conf"), QString("None Configuration Opened "));
    QCOMPARE(labelText(&window, "L_Name_Conf_L2"),
             QString("Use Step1 to open or create new configuration"));

    struct Expected { const char *name; QPoint pos; QString caption; QString hint; };
    const Expected buttons[] = {
        {"Btn_New", {80, 112}, "New Configuration", "Create a new configuration for the device"},
        {"Btn_Open", {258, 112}, "Open Configuration", "Open an exists configuration"},
        {"Btn_Prm_Gen", {80, 156}, "Set Communication", "Set the main parameters of Protocols"},
        {"Btn_LoRaWAN_Access", {80, 200}, "Set LoRaWAN Access",
         "Set the Rules in Uplink and Downlink for LoRaWAN"},
        {"Btn_SDO_Server_CANopen", {80, 244}, "Set SDO Server", "Set the CANopen SDO Server Rules"},
        {"Btn_SDO_Client_CANopen", {80, 288}, "Set SDO Client", "Set the CANopen SDO Client Rules"},
        {"Btn_PDO_CANopen", {80, 332}, "Set PDO Access", "Set the CANopen PDO Access Rules"},
        {"Btn_CANopen_EDS", {80, 376}, "EDS File", "Create the CANopen EDS for Actual Configuration"},
        {"Btn_CreateBin", {80, 420}, "Update Device UDP",
         "Update the actual Firmware and/or Configuration in the device"},
    };
    for (const Expected &e : buttons) {
        auto *button = window.findChild<QPushButton *>(e.name);
        QVERIFY2(button, e.name);
        QCOMPARE(button->geometry(), QRect(e.pos, QSize(170, 36)));
        QCOMPARE(button->text(), e.caption);
        QCOMPARE(button->toolTip(), e.hint);
    }
    for (int step = 1; step <= 8; ++step) {
        auto *label = window.findChild<QLabel *>(QString("L_Step%1").arg(step));
        QVERIFY(label);
        QCOMPARE(label->text(), QString("Step %1").arg(step));
        QCOMPARE(label->pos(), QPoint(16, 128 + 44 * (step - 1)));
    }
    const QPair<const char *, QString> icons[] = {
        {"Btn_Info", "Information"}, {"Btn_Opz", "Options"}, {"Btn_Close", "Close Configurator"}};
    int left = 516;
    for (const auto &[name, hint] : icons) {
        auto *button = window.findChild<QToolButton *>(name);
        QVERIFY(button);
        QCOMPARE(button->geometry(), QRect(left, 8, 50, 50));
        QCOMPARE(button->toolTip(), hint);
        left += 58;
    }
    QCOMPARE(window.findChild<QWidget *>("Shape1")->geometry(), QRect(10, 471, 674, 1));
    QCOMPARE(window.findChild<QWidget *>("Shape2")->geometry(), QRect(80, 70, 348, 36));
    QCOMPARE(labelText(&window, "L_Ondrix"), QString("www.corvane.example"));
    QVERIFY(window.findChild<QLabel *>("LL_Update")->isHidden());
    auto *ondrix = window.findChild<QLabel *>("L_Ondrix");
    QCOMPARE(ondrix->y(), 436);
    // At left 565, unless the address would then run past the window's edge.
    if (ondrix->x() != 565)
        QCOMPARE(ondrix->geometry().right(), 694 - 10 - 1);
    QVERIFY(ondrix->geometry().right() < 694);
}

void TestMainWindow::stepsRefuseWithoutProject_data()
{
    QTest::addColumn<QString>("button");
    for (const char *name : {"Btn_Prm_Gen", "Btn_LoRaWAN_Access", "Btn_SDO_Server_CANopen",
                             "Btn_SDO_Client_CANopen", "Btn_PDO_CANopen", "Btn_CANopen_EDS",
                             "Btn_CreateBin"})
        QTest::newRow(name) << QString(name);
}

void TestMainWindow::stepsRefuseWithoutProject()
{
    QFETCH(QString, button);
    MessageRecorder recorder;
    NextEdsFileName edsDialog; // cancels the EDS save dialog instead of waiting for a person
    Shell shell;
    TFCorvaneFirmWare window(shell, m_dir->path());
    window.findChild<QPushButton *>(button)->click();
    QCOMPARE(recorder.recorded().size(), 1);
    QCOMPARE(recorder.recorded().first().kind, MessageService::Kind::Error);
    QCOMPARE(recorder.lastText(), QString("Error! Project not Valid"));

    // With a project active the same button no longer refuses.
    QVERIFY(QDir(m_dir->path()).mkpath("PROJECTS/Plant/bin"));
    openProject(shell.workspace, "Plant", shell.state);
    shell.Set_Files();
    recorder.clear();
    // Step 2 opens the communication parameters window modally.
    QString opened;
    if (button == "Btn_Prm_Gen") {
        whenModalShown([&opened](QWidget *modal) {
            opened = modal->objectName();
            modal->close();
        });
    }
    // The other steps that open an editor: close it again at once.
    const QStringList editors = {"Btn_LoRaWAN_Access", "Btn_SDO_Server_CANopen",
                                 "Btn_SDO_Client_CANopen", "Btn_PDO_CANopen"};
    if (editors.contains(button))
        whenModalShown([](QWidget *dialog) { QMetaObject::invokeMethod(dialog, "reject"); });
    if (button == "Btn_CreateBin")
        whenModalShown([](QWidget *) {}); // the update window opens; close it again
    window.findChild<QPushButton *>(button)->click();
    QVERIFY(recorder.recorded().isEmpty() || recorder.lastText() != "Error! Project not Valid");
    if (button == "Btn_Prm_Gen")
        QCOMPARE(opened, QString("TFParGen"));
}

void TestMainWindow::createProjectAndReopenAtNextStart()
{
    MessageRecorder recorder;
    {
        Shell shell;
        TFCorvaneFirmWare window(shell, m_dir->path());
        window.show();
        whenModalShown([](QWidget *dialog) {
            QCOMPARE(dialog->objectName(), QString("TFNew_Project"));
            QTest::keyClicks(dialog->findChild<QLineEdit *>("E_New_Proj"), "Plant");
            dialog->findChild<QPushButton *>("Btn_OK")->click();
        });
        window.findChild<QPushButton *>("Btn_New")->click();
        QVERIFY(recorder.recorded().isEmpty());
        QVERIFY(QFileInfo(m_dir->filePath("PROJECTS/Plant/bin")).isDir());
        QCOMPARE(labelText(&window, "L_Name_Conf"),
                 QString("Opened Configuration of the Converter : "));
        QCOMPARE(labelText(&window, "L_Name_Conf_L2"), QString("Plant"));
        QCOMPARE(shell.files.parGen,
                 QDir::toNativeSeparators(m_dir->filePath("PROJECTS/Plant/ParGen.xml")));
        QVERIFY(window.close());
    }
    QVERIFY(readFile(m_dir->filePath("Corvane.xml")).contains("<projectname>Plant</projectname>"));

    Shell shell;
    TFCorvaneFirmWare window(shell, m_dir->path());
    QVERIFY(shell.state.projectActive());
    QCOMPARE(labelText(&window, "L_Name_Conf_L2"), QString("Plant"));
}

void TestMainWindow::updateStopsOnPayloadGate_data()
{
    QTest::addColumn<QByteArray>("access");
    QTest::addColumn<QString>("message"); // empty: no message

    QTest::newRow("fits") << QByteArray("<A><LoRaWAN_Uplink><row Enable=\"Y\" NumByte=\"9\"/>"
                                        "</LoRaWAN_Uplink></A>")
                          << QString();
    QTest::newRow("too long") << QByteArray("<A><LoRaWAN_Uplink><row Enable=\"Y\" NumByte=\"10\"/>"
                                            "</LoRaWAN_Uplink></A>")
                              << "Error in configuration, Num. Byte not conformed with Max Payload Size";
    QTest::newRow("malformed") << QByteArray("<A><LoRaWAN_Uplink>")
                               << "Error! Cannot read the file ";
}

void TestMainWindow::updateStopsOnPayloadGate()
{
    QFETCH(QByteArray, access);
    QFETCH(QString, message);

    MessageRecorder recorder;
    QVERIFY(QDir(m_dir->path()).mkpath("PROJECTS/Plant/bin"));
    QVERIFY(writeFile(m_dir->filePath("PROJECTS/Plant/ParGen.xml"),
                      "<ParGen><LoRa_Payload_Size>11</LoRa_Payload_Size></ParGen>"));
    QVERIFY(writeFile(m_dir->filePath("PROJECTS/Plant/LoRaWAN_SetAccess.xml"), access));
    QVERIFY(writeFile(m_dir->filePath("Corvane.xml"),
                      "<Conf_Settings><lastproj><projectname>Plant</projectname></lastproj>"
                      "</Conf_Settings>"));
    Shell shell;
    TFCorvaneFirmWare window(shell, m_dir->path());
    QVERIFY(shell.state.projectActive());
    // A passing gate leads on to the update window; it is closed at once.
    QString opened;
    if (message.isEmpty())
        whenModalShown([&opened](QWidget *modal) { opened = modal->objectName(); });
    window.findChild<QPushButton *>("Btn_CreateBin")->click();
    if (message.isEmpty()) {
        QCOMPARE(opened, QString("TFBoot"));
        QVERIFY(recorder.recorded().isEmpty());
    } else {
        QCOMPARE(recorder.recorded().size(), 1);
        QVERIFY2(recorder.lastText().startsWith(message), qPrintable(recorder.lastText()));
    }
    if (QTest::currentDataTag() == QByteArray("malformed")) {
        QVERIFY(recorder.lastText().contains("LoRaWAN_SetAccess.xml"));
        QVERIFY(recorder.lastText().contains("line 1"));
    }
}

void TestMainWindow::changeLanguageReappliesTexts()
{
    Shell shell;
    TFCorvaneFirmWare window(shell, m_dir->path());
    const QString file = QString::fromUtf8("STR0 = Inizio\nSTR9 = \xc2\xb6Nessuna \xc2\xb6\n"
                                           "STR15 = Nuova\nSTR100 = Nuova configurazione\n");
    QVERIFY(writeFile(shell.workspace.languageFolder + "/Italiano.lng", file.toUtf8()));
    QString language = "Italiano";
    loadLanguage(uiTexts(), shell.workspace.languageFolder, language);
    window.Change_Language();
    QCOMPARE(labelText(&window, "L_Begin"), QString("Inizio"));
    QCOMPARE(labelText(&window, "L_Name_Conf"), QString("Nessuna "));
    QCOMPARE(window.findChild<QPushButton *>("Btn_New")->text(), QString("Nuova"));
    QCOMPARE(window.newProjectWindow()->windowTitle(), QString("Nuova configurazione"));
    // The model's identity is never translated.
    QCOMPARE(labelText(&window, "L_SW_Code"), QString("SWZ8K20"));
}

void TestMainWindow::closeReportsUnwritableSettings()
{
    MessageRecorder recorder;
    Shell shell;
    TFCorvaneFirmWare window(shell, m_dir->path());
    window.show();
    QVERIFY(QDir(m_dir->path()).mkdir("Corvane.xml"));
    window.findChild<QToolButton *>("Btn_Close")->click();
    QVERIFY(!window.isVisible());
    QCOMPARE(recorder.recorded().size(), 1);
    QVERIFY(recorder.lastText().startsWith("Error! Cannot write the file "));
    QVERIFY(recorder.lastText().contains(shell.workspace.settingsFile()));
}

void TestMainWindow::webLabelOpensHomePage()
{
    RecordingUrlOpener opener;
    Shell shell;
    TFCorvaneFirmWare window(shell, m_dir->path());
    window.show();
    QTest::mouseClick(window.findChild<QLabel *>("L_Ondrix"), Qt::LeftButton);
    QCOMPARE(opener.urls,
             QStringList({"http://www.corvane.example/HOME/default.asp?frompg=SWZ8K20"}));
}

void TestMainWindow::timerFollowsInternetSwitches()
{
    QVERIFY(writeFile(m_dir->filePath("Corvane.xml"),
                      "<Conf_Settings><lastinternet><enable_internet>1</enable_internet>"
                      "<enable_update>1</enable_update></lastinternet></Conf_Settings>"));
    {
        Shell shell;
        TFCorvaneFirmWare window(shell, m_dir->path());
        QVERIFY(window.Timer_Update()->isActive());
        QCOMPARE(window.Timer_Update()->interval(), 60000);
    }
    QVERIFY(writeFile(m_dir->filePath("Corvane.xml"),
                      "<Conf_Settings><lastinternet><enable_internet>1</enable_internet>"
                      "</lastinternet></Conf_Settings>"));
    Shell shell;
    TFCorvaneFirmWare window(shell, m_dir->path());
    QVERIFY(!window.Timer_Update()->isActive());
}

void TestMainWindow::infoAndOptionsWorkWithoutProject()
{
    MessageRecorder recorder;
    Shell shell;
    TFCorvaneFirmWare window(shell, m_dir->path());
    window.show();
    const QString settings = shell.workspace.settingsFile();

    QString opened;
    whenModalShown([&](QWidget *dialog) {
        opened = dialog->objectName();
        dialog->findChild<QPushButton *>("LbButton1")->click();
    });
    window.findChild<QToolButton *>("Btn_Info")->click();
    QCOMPARE(opened, QString("TFAbout"));

    // Cancelling the options stores nothing; OK writes the settings even without a change.
    whenModalShown([&](QWidget *dialog) {
        opened = dialog->objectName();
        dialog->findChild<QPushButton *>("Btn_Cancel")->click();
    });
    window.findChild<QToolButton *>("Btn_Opz")->click();
    QCOMPARE(opened, QString("TFSoftOptions"));
    QVERIFY(!QFile::exists(settings));

    shell.state.enable_internet = true;
    shell.state.enable_update = true;
    whenModalShown([](QWidget *dialog) { dialog->findChild<QPushButton *>("Btn_OK")->click(); });
    window.findChild<QToolButton *>("Btn_Opz")->click();
    QCOMPARE(readSettings(settings), shell.state);
    QVERIFY(window.Timer_Update()->isActive());
    QVERIFY(recorder.recorded().isEmpty());
}

void TestMainWindow::projectNameIsShownAsPlainText()
{
    Shell shell;
    TFCorvaneFirmWare window(shell, m_dir->path());
    QVERIFY(QDir(shell.workspace.projectsFolder).mkdir("<b>bold<"));
    whenModalShown([](QWidget *dialog) { dialog->findChild<QPushButton *>("Btn_OK")->click(); });
    window.findChild<QPushButton *>("Btn_Open")->click();
    auto *label = window.findChild<QLabel *>("L_Name_Conf_L2");
    QCOMPARE(label->text(), QString("<b>bold<"));
    QCOMPARE(label->textFormat(), Qt::PlainText);
}

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
