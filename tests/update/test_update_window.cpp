#include "update/update_window.h"

#include "app/main_window.h"
#include "app/shell.h"
#include "common/messages.h"
#include "lang/text_table.h"
#include "test_support.h"
#include "ui_support.h"
#include "update/update_test_support.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace swz;
using testing_support::FakeClock;
using testing_support::FakeEchoClient;
using testing_support::FakeLauncher;
using testing_support::readFile;
using testing_support::writeFile;

namespace {

// A workspace in a temporary folder with one active project, and the update window on fakes:
// no test ever sends an echo to a real address or starts a real updater unless it says so.
struct Fixture
{
    explicit Fixture(const QString &folder, const QString &storedAddress = {})
        : echo(clock)
    {
        shell.workspace = Workspace::beside(folder);
        shell.workspace.createFolders();
        if (!storedAddress.isNull())
            shell.state.deviceAddress = storedAddress;
        shell.state.projectName = "Plant";
        shell.state.projectFolder = projectFolderFor(shell.workspace, "Plant");
        shell.Set_Files();
        window = std::make_unique<TFBoot>(shell);
        window->setEchoClient(&echo);
        window->setCheckClock(&clock, {});
        window->setLauncher(&launcher);
    }

    template<typename T> T *child(const char *name) const
    {
        return window->findChild<T *>(QString::fromLatin1(name));
    }
    QLineEdit *field(int i) const { return child<QLineEdit>(qPrintable(QString("E_IP%1").arg(i))); }
    QStringList fields() const
    {
        return {field(1)->text(), field(2)->text(), field(3)->text(), field(4)->text()};
    }
    void setFields(const QStringList &texts) const
    {
        for (int i = 0; i < 4; ++i)
            field(i + 1)->setText(texts[i]);
    }
    QComboBox *options() const { return child<QComboBox>("CB_Update_Options"); }
    QCheckBox *readBack() const { return child<QCheckBox>("CB_Update_Option_Read_Back"); }
    void clickUpdate() const { child<QPushButton>("Btn_Update")->click(); }
    QString jobFile() const { return updateJobPath(shell.workspace.executableFolder); }

    void open() const
    {
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    void close() const { window->reject(); }

    Shell shell;
    FakeClock clock;
    FakeEchoClient echo;
    FakeLauncher launcher;
    std::unique_ptr<TFBoot> window;
};

} // namespace

class TestUpdateWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { uiTexts().loadBuiltin(); }
    void init() { m_dir = std::make_unique<QTemporaryDir>(); }
    void layoutAndTexts();
    void fieldsFromStoredAddress_data();
    void fieldsFromStoredAddress();
    void dotMovesToTheNextField();
    void failedCheckStoresAndWritesNothing_data();
    void failedCheckStoresAndWritesNothing();
    void updateWritesJobAndStartsUpdater();
    void optionAndReadBackRememberedForTheRun();
    void updaterThatCannotStartIsReported();
    void unwritableJobFileStopsTheUpdate();
    void realUpdaterReadsTheJobFile();
    void stepEightOpensTheWindow();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestUpdateWindow::layoutAndTexts()
{
    Fixture f(m_dir->path());
    f.open();
    TFBoot *w = f.window.get();
    QCOMPARE(w->objectName(), QString("TFBoot"));
    QCOMPARE(w->size(), QSize(449, 230));
    QCOMPARE(w->windowTitle(), QString("Update Device by Ethernet (UDP)"));
    QCOMPARE(w->Form_Type, 1);

    const QPair<const char *, QRect> panels[] = {{"P_Title", {0, 0, 449, 69}},
                                                 {"P_IP_Address", {0, 69, 449, 49}},
                                                 {"P_Options", {0, 118, 449, 72}},
                                                 {"P_Button", {0, 190, 449, 40}}};
    for (const auto &[name, rect] : panels) {
        QWidget *panel = f.child<QWidget>(name);
        QVERIFY2(panel && panel->isVisible(), name);
        QCOMPARE(panel->geometry(), rect);
    }
    QCOMPARE(f.child<QLabel>("L_SW_Code")->text(), QString("SWZ8K20"));
    QCOMPARE(f.child<QLabel>("L_SW_Desc")->text(), QString("Update Device Using the Ethernet Port"));
    QCOMPARE(f.child<QLabel>("L_IP_Address")->text(), QString("Insert the IP Address of Device"));
    QCOMPARE(f.child<QLabel>("L_Update_Option")->text(), QString("Select Update Options"));
    const char *hints[] = {"Insert first byte of IP Address", "Insert second byte of IP Address",
                           "Insert third byte of IP Address", "Insert fourth byte of IP Address"};
    for (int i = 1; i <= 4; ++i) {
        QCOMPARE(f.field(i)->toolTip(), QString(hints[i - 1]));
        QVERIFY(!f.field(i)->accessibleName().isEmpty());
    }
    QCOMPARE(f.options()->count(), 3);
    QCOMPARE(f.options()->itemText(0), QString("Firmware + Configuration"));
    QCOMPARE(f.options()->itemText(1), QString("Firmware"));
    QCOMPARE(f.options()->itemText(2), QString("Configuration"));
    QVERIFY(!f.options()->isEditable());
    QCOMPARE(f.options()->toolTip(), QString("Select the operation to do in update"));
    QCOMPARE(f.readBack()->text(), QString("Read Back"));
    QCOMPARE(f.readBack()->toolTip(),
             QString("Enable or disable the possibility to read back the Firmware/Configuration"));
    auto *cancel = f.child<QPushButton>("Btn_Cancel");
    auto *update = f.child<QPushButton>("Btn_Update");
    QCOMPARE(cancel->text(), QString("Cancel"));
    QCOMPARE(cancel->toolTip(), QString("Exit without to do the Update"));
    QCOMPARE(update->text(), QString("Execute Update Firmware"));
    QCOMPARE(update->toolTip(), QString("Start the update of Device"));
    QCOMPARE(update->accessibleName(), update->text());
    // Every control lies inside the window.
    for (QWidget *control : w->findChildren<QWidget *>()) {
        if (control->isVisible())
            QVERIFY2(QRect(QPoint(), w->size()).contains(
                         QRect(control->mapTo(w, QPoint()), control->size())),
                     qPrintable(control->objectName()));
    }
    QTRY_COMPARE(QApplication::focusWidget(), f.field(1));

    // Cancel closes the window and writes nothing.
    cancel->click();
    QVERIFY(!w->isVisible());
    QCOMPARE(w->result(), int(QDialog::Rejected));
    QVERIFY(!QFile::exists(f.jobFile()));
}

void TestUpdateWindow::fieldsFromStoredAddress_data()
{
    QTest::addColumn<QString>("stored"); // null: the default settings
    QTest::addColumn<QStringList>("shown");

    QTest::newRow("default") << QString() << QStringList{"192", "168", "2", "205"};
    QTest::newRow("padded") << " 10 . 0 . 0 . 7 " << QStringList{"10", "0", "0", "7"};
    QTest::newRow("fourth octet 300") << "192.168.2.300" << QStringList{"0", "0", "0", "0"};
    QTest::newRow("not an address") << "gateway" << QStringList{"0", "0", "0", "0"};
}

void TestUpdateWindow::fieldsFromStoredAddress()
{
    QFETCH(QString, stored);
    QFETCH(QStringList, shown);

    Fixture f(m_dir->path(), stored);
    f.open();
    QCOMPARE(f.fields(), shown);
    f.close();

    // What was typed at an earlier opening stays when the stored address is no address.
    f.setFields({"127", "0", "0", "9"});
    f.open();
    if (shown == QStringList{"0", "0", "0", "0"})
        QCOMPARE(f.fields(), (QStringList{"127", "0", "0", "9"}));
    else
        QCOMPARE(f.fields(), shown);
}

void TestUpdateWindow::dotMovesToTheNextField()
{
    Fixture f(m_dir->path());
    f.open();
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    f.setFields({"", "", "", ""});
    f.field(1)->setFocus();
    QTest::keyClicks(f.field(1), "127");
    QTest::keyClick(QApplication::focusWidget(), '.');
    QCOMPARE(QApplication::focusWidget(), f.field(2));
    QTest::keyClicks(f.field(2), "0");
    QTest::keyClick(f.field(2), '.');
    QCOMPARE(QApplication::focusWidget(), f.field(3));
    QTest::keyClicks(f.field(3), "0");
    QTest::keyClick(f.field(3), '.');
    QTest::keyClicks(QApplication::focusWidget(), "1");
    QTest::keyClick(QApplication::focusWidget(), '.');
    QCOMPARE(QApplication::focusWidget(), f.field(4));
    QCOMPARE(f.fields(), (QStringList{"127", "0", "0", "1"}));

    // Other keys reach the fields unchanged: no digit filter.
    QTest::keyClicks(f.field(4), "x");
    QCOMPARE(f.field(4)->text(), QString("1x"));
}

void TestUpdateWindow::failedCheckStoresAndWritesNothing_data()
{
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<FakeEchoClient::Answer>("answer");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("requests");

    const QStringList loopback{"127", "0", "0", "1"};
    const auto error = int(MessageService::Kind::Error);
    const auto warning = int(MessageService::Kind::Warning);
    QTest::newRow("never answers") << loopback << FakeEchoClient::timeout() << warning
                                   << "Device Not Found!" << 13;
    QTest::newRow("answers once then stops") << loopback << FakeEchoClient::timeout() << warning
                                             << "Device Not Found!" << 14;
    QTest::newRow("echo error") << loopback << FakeEchoClient::error("no route") << error
                                << "Error!!! Check the Ip Address" << 1;
    QTest::newRow("no reply event") << loopback << FakeEchoClient::noEvent() << error
                                    << "Error!!! Check the Ip Address" << 13;
    QTest::newRow("no ICMP here") << loopback << FakeEchoClient::cannotRun("raw socket: denied")
                                  << error << "Error! The device check cannot run: raw socket: denied"
                                  << 1;
    const auto bad = [&](const char *tag, const QStringList &texts) {
        QTest::newRow(tag) << texts << FakeEchoClient::data() << error
                           << "Error!!! Check the Ip Address" << 0;
    };
    bad("letters", {"127", "0", "zero", "1"});
    bad("blanks", {"127", " 0", "0", "1"});
    bad("empty", {"127", "", "0", "1"});
    bad("five parts", {"127", "0", "0.0", "1"});
    bad("over 255", {"127", "0", "0", "256"});
}

void TestUpdateWindow::failedCheckStoresAndWritesNothing()
{
    QFETCH(QStringList, fields);
    QFETCH(FakeEchoClient::Answer, answer);
    QFETCH(int, kind);
    QFETCH(QString, message);
    QFETCH(int, requests);

    MessageRecorder recorder;
    Fixture f(m_dir->path());
    f.echo.script = {answer};
    if (QTest::currentDataTag() == QByteArray("answers once then stops"))
        f.echo.script.prepend(FakeEchoClient::data());
    f.open();
    f.options()->setCurrentIndex(2);
    f.readBack()->setChecked(false);
    f.setFields(fields);
    f.clickUpdate();

    QCOMPARE(recorder.recorded().size(), 1);
    QCOMPARE(int(recorder.recorded().first().kind), kind);
    QCOMPARE(recorder.lastText(), message);
    QCOMPARE(f.echo.targets.size(), requests);
    QVERIFY(!QFile::exists(f.jobFile()));
    QVERIFY(!QFile::exists(f.shell.workspace.settingsFile()));
    QCOMPARE(f.shell.state.deviceAddress, QString("192.168.2.205"));
    QVERIFY(f.launcher.calls.isEmpty());
    QVERIFY(f.window->isVisible());

    // Nothing was remembered either.
    f.close();
    f.open();
    QCOMPARE(f.options()->currentIndex(), 0);
    QVERIFY(f.readBack()->isChecked());
}

void TestUpdateWindow::updateWritesJobAndStartsUpdater()
{
    MessageRecorder recorder;
    Fixture f(m_dir->path());
    f.echo.script = {FakeEchoClient::data()};
    bool jobWrittenFirst = false;
    f.launcher.onStart = [&] { jobWrittenFirst = QFile::exists(f.jobFile()); };
    f.open();
    f.setFields({"127", "0", "0", "1"});
    f.options()->setCurrentIndex(1);
    f.clickUpdate();

    QVERIFY2(recorder.recorded().isEmpty(), qPrintable(recorder.lastText()));
    QCOMPARE(f.echo.targets, (QStringList{"127.0.0.1", "127.0.0.1"}));
    QCOMPARE(f.window->ping_res, 1);
    QCOMPARE(f.shell.state.deviceAddress, QString("127.0.0.1"));
    QVERIFY(readFile(f.shell.workspace.settingsFile()).contains("<ipaddress>127.0.0.1</ipaddress>"));

    UpdateRequest expected;
    expected.addressFields = {"127", "0", "0", "1"};
    expected.option = UpdateOption::Firmware;
    expected.readBack = true;
    QCOMPARE(readFile(f.jobFile()),
             Compile_XML_Parameter_New_Boot(expected, f.shell.workspace.masterFolder,
                                            f.shell.state.projectFolder));
    QVERIFY(jobWrittenFirst);
    QCOMPARE(f.launcher.calls.size(), 1);
    QCOMPARE(f.launcher.calls[0].program, updaterPath(f.shell.workspace.executableFolder));
    QCOMPARE(f.launcher.calls[0].parameter, QString());
    QCOMPARE(f.launcher.calls[0].tipo, 0);
    // The window stays open after an update.
    QVERIFY(f.window->isVisible());
}

void TestUpdateWindow::optionAndReadBackRememberedForTheRun()
{
    Fixture f(m_dir->path());
    f.echo.script = {FakeEchoClient::data()};
    f.open();
    f.setFields({"127", "0", "0", "1"});
    f.options()->setCurrentIndex(2);
    f.readBack()->setChecked(false);
    f.clickUpdate();
    QCOMPARE(f.launcher.calls.size(), 1);
    f.close();

    // A change without an update is not remembered.
    f.options()->setCurrentIndex(1);
    f.readBack()->setChecked(true);
    f.open();
    QCOMPARE(f.options()->currentText(), QString("Configuration"));
    QVERIFY(!f.readBack()->isChecked());
    QCOMPARE(f.fields(), (QStringList{"127", "0", "0", "1"}));
    f.close();

    // The next program run starts from the defaults again (the address comes from the settings).
    Shell restarted;
    restarted.workspace = f.shell.workspace;
    restarted.state = readSettings(restarted.workspace.settingsFile());
    TFBoot fresh(restarted);
    fresh.show();
    QVERIFY(QTest::qWaitForWindowExposed(&fresh));
    QCOMPARE(fresh.findChild<QComboBox *>("CB_Update_Options")->currentText(),
             QString("Firmware + Configuration"));
    QVERIFY(fresh.findChild<QCheckBox *>("CB_Update_Option_Read_Back")->isChecked());
    QCOMPARE(fresh.findChild<QLineEdit *>("E_IP4")->text(), QString("1"));
    QCOMPARE(fresh.findChild<QLineEdit *>("E_IP1")->text(), QString("127"));
    fresh.reject();
}

void TestUpdateWindow::updaterThatCannotStartIsReported()
{
    MessageRecorder recorder;
    Fixture f(m_dir->path());
    f.echo.script = {FakeEchoClient::data()};
    f.launcher.result = {LaunchResult::Status::NotStarted, "No such file or directory", 0};
    f.open();
    f.setFields({"127", "0", "0", "1"});
    f.clickUpdate();
    QCOMPARE(recorder.recorded().size(), 1);
    QCOMPARE(recorder.lastText(), "Error! Cannot start the program "
                                      + updaterPath(f.shell.workspace.executableFolder)
                                      + "\nNo such file or directory");
    QVERIFY(QFile::exists(f.jobFile())); // written before the start was tried
}

void TestUpdateWindow::unwritableJobFileStopsTheUpdate()
{
    MessageRecorder recorder;
    Fixture f(m_dir->path());
    QVERIFY(QDir().mkpath(f.jobFile()));
    f.echo.script = {FakeEchoClient::data()};
    f.open();
    f.setFields({"127", "0", "0", "1"});
    f.clickUpdate();
    QCOMPARE(recorder.recorded().size(), 1);
    QVERIFY2(recorder.lastText().startsWith("Error! Cannot write the file " + f.jobFile() + "\n"),
             qPrintable(recorder.lastText()));
    QVERIFY(f.launcher.calls.isEmpty());
    QVERIFY(f.window->isVisible());
}

void TestUpdateWindow::realUpdaterReadsTheJobFile()
{
    MessageRecorder recorder;
    Fixture f(m_dir->path());
    QVERIFY(testing_support::installStandInUpdater(f.shell.workspace.executableFolder));
    qunsetenv("SWZ_STANDIN_SLEEP_MS");
    ProcessLauncher real(steadyClock(), 10000);
    f.window->setLauncher(&real);
    f.echo.script = {FakeEchoClient::data()};
    f.open();
    f.setFields({"127", "0", "0", "1"});
    f.clickUpdate();
    QVERIFY2(recorder.recorded().isEmpty(), qPrintable(recorder.lastText()));
    const QByteArray record = readFile(m_dir->filePath("updater-ran.txt"));
    QVERIFY2(record.contains("args 0\n"), record.constData());
    QVERIFY(record.endsWith(readFile(f.jobFile())));
    QVERIFY(record.contains("<IP_Address_Dev>127.0.0.1</IP_Address_Dev>"));
}

void TestUpdateWindow::stepEightOpensTheWindow()
{
    MessageRecorder recorder;
    QVERIFY(QDir(m_dir->path()).mkpath("PROJECTS/Plant/bin"));
    QVERIFY(writeFile(m_dir->filePath("Corvane.xml"),
                      "<Conf_Settings><lastproj><projectname>Plant</projectname></lastproj>"
                      "<lastipadd><ipaddress>127.0.0.1</ipaddress></lastipadd></Conf_Settings>"));
    Shell shell;
    TFCorvaneFirmWare main(shell, m_dir->path());
    FakeClock clock;
    FakeEchoClient echo(clock);
    main.updateWindow()->setEchoClient(&echo);
    QString opened;
    QStringList shown;
    whenModalShown([&](QWidget *modal) {
        opened = modal->objectName();
        for (int i = 1; i <= 4; ++i)
            shown << modal->findChild<QLineEdit *>(QString("E_IP%1").arg(i))->text();
        modal->findChild<QPushButton *>("Btn_Cancel")->click();
    });
    main.findChild<QPushButton *>("Btn_CreateBin")->click();
    QCOMPARE(opened, QString("TFBoot"));
    QCOMPARE(main.updateWindow()->Form_Type, 1);
    QCOMPARE(shown, (QStringList{"127", "0", "0", "1"}));
    QVERIFY(recorder.recorded().isEmpty());
    QVERIFY(echo.targets.isEmpty());
}

QTEST_MAIN(TestUpdateWindow)
#include "test_update_window.moc"
