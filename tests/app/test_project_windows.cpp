#include "app/main_window.h"
#include "app/new_project_window.h"
#include "app/open_conf_window.h"
#include "common/messages.h"
#include "ui_support.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace swz;

class TestProjectWindows : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void newProjectLayout();
    void newProjectRefusals_data();
    void newProjectRefusals();
    void enterConfirms();
    void cancelCreatesNothing();
    void openPreselectsActiveProjectIgnoringCase();
    void openPreselectsFirstWithoutProject();
    void openWithNoProjectsLeavesNoneActive();
    void openCancelChangesNothing();

private:
    QString label(QWidget *w, const char *name) { return w->findChild<QLabel *>(name)->text(); }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Shell> m_shell;
    std::unique_ptr<TFCorvaneFirmWare> m_window;
};

void TestProjectWindows::init()
{
    m_window.reset();
    m_dir = std::make_unique<QTemporaryDir>();
    m_shell = std::make_unique<Shell>();
    m_window = std::make_unique<TFCorvaneFirmWare>(*m_shell, m_dir->path());
    m_window->show();
}

void TestProjectWindows::newProjectLayout()
{
    TFNew_Project *dialog = m_window->newProjectWindow();
    QCOMPARE(dialog->size(), QSize(331, 162));
    QCOMPARE(dialog->windowTitle(), QString("Create New Configuration"));
    QCOMPARE(label(dialog, "L_SW_Code"), QString("SWZ8K20"));
    QCOMPARE(label(dialog, "Label1"), QString("Name of the new Configuration"));
    auto *edit = dialog->findChild<QLineEdit *>("E_New_Proj");
    QCOMPARE(edit->pos(), QPoint(16, 94));
    QCOMPARE(edit->width(), 297);
    QCOMPARE(edit->toolTip(), QString("Insert here the name of new configuration"));
    auto *ok = dialog->findChild<QPushButton *>("Btn_OK");
    auto *cancel = dialog->findChild<QPushButton *>("Btn_Cancel");
    QCOMPARE(ok->mapTo(dialog, QPoint(0, 0)).x(), 85);
    QCOMPARE(cancel->mapTo(dialog, QPoint(0, 0)).x(), 203);
    QCOMPARE(ok->size(), QSize(110, 28));
    QCOMPARE(ok->toolTip(), QString("Confirm the Name of new Configuration"));
    QCOMPARE(cancel->text(), QString("Cancel"));
    QCOMPARE(cancel->toolTip(), QString("Cancel the New Configuration"));

    TFOpenConf *open = m_window->openWindow();
    QCOMPARE(open->size(), QSize(377, 351));
    QCOMPARE(open->windowTitle(), QString("Open Configuration"));
    QCOMPARE(label(open, "Label1"), QString("List of Avaliable Configurations"));
    QCOMPARE(open->findChild<QListWidget *>("ListBox1")->toolTip(),
             QString("Select from this list the configuration to open"));
    // The buttons stay at the bottom right and the list grows with the window.
    open->show();
    open->resize(500, 450);
    QTRY_COMPARE(open->size(), QSize(500, 450));
    auto *openCancel = open->findChild<QPushButton *>("Btn_Cancel");
    QCOMPARE(openCancel->geometry().right(), 500 - 16 - 1);
    QVERIFY(openCancel->geometry().bottom() > 400);
    QVERIFY(open->findChild<QListWidget *>("ListBox1")->width() > 400);
    open->reject();
}

void TestProjectWindows::newProjectRefusals_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty") << "" << "Error! Name Project is not valid";
    QTest::newRow("existing") << "Existing"
                              << "Error! Name project is not valid because directory already exists";
    QTest::newRow("colon") << "a:b" << "Error! Name project is not valid";
    QTest::newRow("path") << "../outside" << "Error! Name project is not valid";
}

void TestProjectWindows::newProjectRefusals()
{
    QFETCH(QString, name);
    QFETCH(QString, message);
    QVERIFY(QDir(m_shell->workspace.projectsFolder).mkdir("Existing"));

    MessageRecorder recorder;
    QString stillOpen;
    whenModalShown([&](QWidget *dialog) {
        QTest::keyClicks(dialog->findChild<QLineEdit *>("E_New_Proj"), name);
        dialog->findChild<QPushButton *>("Btn_OK")->click();
        // The window stays open with the entry for another try.
        stillOpen = dialog->isVisible() ? dialog->findChild<QLineEdit *>("E_New_Proj")->text()
                                        : QString("<closed>");
        dialog->findChild<QPushButton *>("Btn_Cancel")->click();
    });
    m_window->findChild<QPushButton *>("Btn_New")->click();

    QCOMPARE(recorder.recorded().size(), 1);
    QCOMPARE(recorder.recorded().first().kind, MessageService::Kind::Error);
    QCOMPARE(recorder.lastText(), message);
    QCOMPARE(stillOpen, name);
    QVERIFY(!m_shell->state.projectActive());
    QCOMPARE(label(m_window.get(), "L_Name_Conf"), QString("None Configuration Opened "));
    QVERIFY(!QFileInfo::exists(m_dir->filePath("outside")));
}

void TestProjectWindows::enterConfirms()
{
    MessageRecorder recorder;
    whenModalShown([&](QWidget *dialog) {
        auto *edit = dialog->findChild<QLineEdit *>("E_New_Proj");
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(recorder.lastText(), QString("Error! Name Project is not valid"));
        QTest::keyClicks(edit, "Plant");
        QTest::keyClick(edit, Qt::Key_Return);
    });
    m_window->findChild<QPushButton *>("Btn_New")->click();
    QCOMPARE(recorder.recorded().size(), 1);
    QCOMPARE(m_shell->state.projectName, QString("Plant"));
    QCOMPARE(label(m_window.get(), "L_Name_Conf_L2"), QString("Plant"));

    // The field is emptied at the next showing.
    QString shownText = "<not shown>";
    whenModalShown([&](QWidget *dialog) {
        shownText = dialog->findChild<QLineEdit *>("E_New_Proj")->text();
        dialog->findChild<QPushButton *>("Btn_Cancel")->click();
    });
    m_window->findChild<QPushButton *>("Btn_New")->click();
    QCOMPARE(shownText, QString());
    QCOMPARE(m_shell->state.projectName, QString("Plant"));
}

void TestProjectWindows::cancelCreatesNothing()
{
    whenModalShown([](QWidget *dialog) {
        QTest::keyClicks(dialog->findChild<QLineEdit *>("E_New_Proj"), "Plant");
        dialog->findChild<QPushButton *>("Btn_Cancel")->click();
    });
    m_window->findChild<QPushButton *>("Btn_New")->click();
    QVERIFY(!QFileInfo::exists(m_shell->workspace.projectsFolder + "/Plant"));
    QVERIFY(!m_shell->state.projectActive());
}

void TestProjectWindows::openPreselectsActiveProjectIgnoringCase()
{
    QDir projects(m_shell->workspace.projectsFolder);
    QVERIFY(projects.mkdir("Other"));
    QVERIFY(projects.mkdir("Plant"));
    openProject(m_shell->workspace, "plant", m_shell->state);

    QString selected;
    whenModalShown([&](QWidget *dialog) {
        auto *list = dialog->findChild<QListWidget *>("ListBox1");
        selected = list->currentItem() ? list->currentItem()->text() : QString();
        dialog->findChild<QPushButton *>("Btn_OK")->click();
    });
    m_window->findChild<QPushButton *>("Btn_Open")->click();
    QCOMPARE(selected, QString("Plant"));
    QCOMPARE(m_shell->state.projectName, QString("Plant"));
    QCOMPARE(m_shell->state.projectFolder, m_shell->workspace.projectsFolder + QDir::separator() + "Plant");
    QCOMPARE(label(m_window.get(), "L_Name_Conf"), QString("Opened Configuration of the Converter : "));
    QCOMPARE(label(m_window.get(), "L_Name_Conf_L2"), QString("Plant"));
    QCOMPARE(m_shell->files.sdoClient,
             m_shell->state.projectFolder + QDir::separator() + "SDO_Client_CANopen.xml");
}

void TestProjectWindows::openPreselectsFirstWithoutProject()
{
    QDir projects(m_shell->workspace.projectsFolder);
    QVERIFY(projects.mkdir("B"));
    QVERIFY(projects.mkdir("A"));
    const QStringList enumerated = listProjects(m_shell->workspace);

    QStringList shown;
    whenModalShown([&](QWidget *dialog) {
        auto *list = dialog->findChild<QListWidget *>("ListBox1");
        for (int i = 0; i < list->count(); ++i)
            shown.append(list->item(i)->text());
        // Choosing the other entry changes the chosen name.
        list->setCurrentRow(1);
        dialog->findChild<QPushButton *>("Btn_OK")->click();
    });
    m_window->findChild<QPushButton *>("Btn_Open")->click();
    QCOMPARE(shown, enumerated);
    QCOMPARE(m_window->openWindow()->Name_Conf, enumerated.at(1));
    QCOMPARE(m_shell->state.projectName, enumerated.at(1));

    // Without an active project the first entry, in enumeration order, is preselected.
    openProject(m_shell->workspace, QString(), m_shell->state);
    QString preselected;
    whenModalShown([&](QWidget *dialog) {
        preselected = dialog->findChild<QListWidget *>("ListBox1")->currentItem()->text();
        dialog->findChild<QPushButton *>("Btn_Cancel")->click();
    });
    m_window->findChild<QPushButton *>("Btn_Open")->click();
    QCOMPARE(preselected, enumerated.first());
}

void TestProjectWindows::openWithNoProjectsLeavesNoneActive()
{
    QVERIFY(QDir(m_shell->workspace.projectsFolder).mkdir("Plant"));
    openProject(m_shell->workspace, "Plant", m_shell->state);
    QVERIFY(QDir(m_shell->workspace.projectsFolder).rmdir("Plant"));

    whenModalShown([](QWidget *dialog) { dialog->findChild<QPushButton *>("Btn_OK")->click(); });
    m_window->findChild<QPushButton *>("Btn_Open")->click();
    QVERIFY(!m_shell->state.projectActive());
    QVERIFY(m_shell->state.projectName.isEmpty());
    QCOMPARE(label(m_window.get(), "L_Name_Conf"), QString("None Configuration Opened "));
    QCOMPARE(label(m_window.get(), "L_Name_Conf_L2"),
             QString("Use Step1 to open or create new configuration"));
}

void TestProjectWindows::openCancelChangesNothing()
{
    QVERIFY(QDir(m_shell->workspace.projectsFolder).mkdir("Plant"));
    const AppState before = m_shell->state;
    whenModalShown([](QWidget *dialog) { dialog->findChild<QPushButton *>("Btn_Cancel")->click(); });
    m_window->findChild<QPushButton *>("Btn_Open")->click();
    QCOMPARE(m_shell->state, before);
}

QTEST_MAIN(TestProjectWindows)
#include "test_project_windows.moc"
