#include "app/main_window.h"
#include "canopen/eds_save_dialog.h"
#include "common/messages.h"
#include "lang/text_table.h"
#include "test_support.h"

#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace swz;
using testing_support::readFile;
using testing_support::writeFile;

// Step 7 of the main window: the save dialog, the written file and the messages.
class TestEdsStep : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void writesWhereTheUserChooses_data();
    void writesWhereTheUserChooses();
    void cancelWritesNothing();
    void failuresAreShownAndWriteNothing_data();
    void failuresAreShownAndWriteNothing();
    void refusesWithoutProject();

private:
    void openPlant();
    void clickStep7();
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Shell> m_shell;
    std::unique_ptr<TFCorvaneFirmWare> m_window;
    QString m_project;
};

void TestEdsStep::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_window.reset();
    m_shell = std::make_unique<Shell>();
    m_window = std::make_unique<TFCorvaneFirmWare>(*m_shell, m_dir->path());
    m_project = m_dir->filePath("PROJECTS/Plant");
}

void TestEdsStep::openPlant()
{
    QVERIFY(QDir().mkpath(m_project + "/bin"));
    openProject(m_shell->workspace, "Plant", m_shell->state);
    m_shell->Set_Files();
    QVERIFY(writeFile(m_project + "/PDO_CANopen.xml",
                      "<PDO_CANopen><Receive_PDO><row COB-ID=\"0x201\" Dimension=\"2\"/>"
                      "</Receive_PDO><Transmit_PDO/></PDO_CANopen>"));
    QVERIFY(writeFile(m_project + "/SDO_Server_CANopen.xml",
                      "<SDO_Server_CANopen><SDO_Read><row Index=\"0x2000\" SubIndex=\"1\" "
                      "NByte=\"2\"/></SDO_Read><SDO_Write/></SDO_Server_CANopen>"));
}

void TestEdsStep::clickStep7()
{
    m_window->findChild<QPushButton *>("Btn_CANopen_EDS")->click();
}

void TestEdsStep::writesWhereTheUserChooses_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("written");
    QTest::newRow("with extension") << "Plant.eds" << "Plant.eds";
    QTest::newRow(".eds added to a bare name") << "Plant" << "Plant.eds";
    QTest::newRow("another extension kept") << "Plant.txt" << "Plant.txt";
}

void TestEdsStep::writesWhereTheUserChooses()
{
    QFETCH(QString, typed);
    QFETCH(QString, written);
    openPlant();
    const QString out = m_project + "/" + written;
    QVERIFY(writeFile(out, "an older data sheet"));

    MessageRecorder recorder;
    NextEdsFileName dialog;
    dialog.queue(m_project + "/" + typed);
    clickStep7();

    QCOMPARE(dialog.requests().size(), 1);
    QCOMPARE(dialog.requests().first().initialFolder, m_shell->state.projectFolder);
    QCOMPARE(dialog.requests().first().filter, QString("Electronic Data Sheet (*.eds)"));
    // Replaced without a question, and no message after a successful write.
    QVERIFY(recorder.recorded().isEmpty());
    const QByteArray text = readFile(out);
    QVERIFY(text.startsWith("[FileInfo]\r\nFileName=" + written.toUtf8() + "\r\n"));
    QVERIFY(text.contains("NrOfRXPDO=1\r\n"));
    QVERIFY(text.contains("[2000sub1]\r\n"));
}

void TestEdsStep::cancelWritesNothing()
{
    openPlant();
    MessageRecorder recorder;
    NextEdsFileName dialog; // nothing queued: the user cancels
    clickStep7();
    QCOMPARE(dialog.requests().size(), 1);
    QVERIFY(recorder.recorded().isEmpty());
    QCOMPARE(QDir(m_project).entryList({"*.eds"}, QDir::AllEntries), QStringList());
}

void TestEdsStep::failuresAreShownAndWriteNothing_data()
{
    QTest::addColumn<QByteArray>("sdo");
    QTest::addColumn<QString>("chosen"); // relative to the project folder
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("about");  // the file the message names

    QTest::newRow("malformed SDO file")
        << QByteArray("<SDO_Server_CANopen><SDO_Read>") << "Plant.eds"
        << "Error! Cannot read the file " << "SDO_Server_CANopen.xml";
    QTest::newRow("SDO rule without SubIndex")
        << QByteArray("<S><SDO_Read><row Index=\"0x2000\" NByte=\"1\"/></SDO_Read></S>")
        << "Plant.eds" << "row 1 of SDO_Read, attribute SubIndex: missing"
        << "SDO_Server_CANopen.xml";
    QTest::newRow("unwritable output") << QByteArray() << "no/such/folder/Plant.eds"
                                       << "Error! Cannot write the file " << "Plant.eds";
}

void TestEdsStep::failuresAreShownAndWriteNothing()
{
    QFETCH(QByteArray, sdo);
    QFETCH(QString, chosen);
    QFETCH(QString, message);
    QFETCH(QString, about);
    openPlant();
    if (!sdo.isEmpty())
        QVERIFY(writeFile(m_project + "/SDO_Server_CANopen.xml", sdo));

    MessageRecorder recorder;
    NextEdsFileName dialog;
    dialog.queue(m_project + "/" + chosen);
    clickStep7();

    QCOMPARE(recorder.recorded().size(), 1);
    QCOMPARE(recorder.recorded().first().kind, MessageService::Kind::Error);
    QVERIFY2(recorder.lastText().contains(message), qPrintable(recorder.lastText()));
    QVERIFY2(recorder.lastText().contains(about), qPrintable(recorder.lastText()));
    QVERIFY(!QFileInfo::exists(m_project + "/" + chosen));
    // The window stays usable: the next attempt, with a sound setting, writes the file.
    QVERIFY(writeFile(m_project + "/SDO_Server_CANopen.xml", "<S/>"));
    dialog.queue(m_project + "/Second.eds");
    clickStep7();
    QCOMPARE(recorder.recorded().size(), 1);
    QVERIFY(readFile(m_project + "/Second.eds").startsWith("[FileInfo]"));
}

void TestEdsStep::refusesWithoutProject()
{
    MessageRecorder recorder;
    NextEdsFileName dialog;
    dialog.queue(m_dir->filePath("x.eds"));
    clickStep7();
    QCOMPARE(recorder.lastText(), QString("Error! Project not Valid"));
    QVERIFY(dialog.requests().isEmpty());
    QVERIFY(!QFileInfo::exists(m_dir->filePath("x.eds")));
}

QTEST_MAIN(TestEdsStep)
#include "test_eds_step.moc"
