#include "app/main_window.h"
#include "common/messages.h"
#include "image_support.h"
#include "ui_support.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace swz;
using namespace image_support;
using testing_support::readFile;
using testing_support::writeFile;

// Step 8 of the main window: payload gate, compile, save, then the update window.
class TestUpdateStep : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void step8_data();
    void step8();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestUpdateStep::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
}

void TestUpdateStep::step8_data()
{
    QTest::addColumn<QByteArray>("overwrite"); // file written over the fixture
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("blockBank2");
    QTest::addColumn<QStringList>("message"); // parts of the one error; empty: none

    QTest::newRow("written") << QByteArray() << QByteArray() << false << QStringList();
    QTest::newRow("bank file cannot be written") << QByteArray() << QByteArray() << true
        << QStringList{"Error! Cannot write the file ", "bank2.bin: "};
    QTest::newRow("rule attribute no number") << QByteArray("PDO_CANopen.xml")
        << QByteArray("<P><Transmit_PDO><row COB-ID=\"1\" Dimension=\"z\"/></Transmit_PDO></P>") << false
        << QStringList{"PDO_CANopen.xml", "list Transmit_PDO", "row 1", "attribute Dimension"};
    QTest::newRow("payload gate") << QByteArray("ParGen.xml") << QByteArray("<Par_Gen/>") << false
        << QStringList{"Error in configuration, Num. Byte not conformed with Max Payload Size"};
}

void TestUpdateStep::step8()
{
    QFETCH(QByteArray, overwrite);
    QFETCH(QByteArray, content);
    QFETCH(bool, blockBank2);
    QFETCH(QStringList, message);

    QVERIFY(QDir(m_dir->path()).mkpath("PROJECTS"));
    const QString folder = makeProject(*m_dir, "PROJECTS/Plant", "image/full");
    if (!overwrite.isEmpty())
        QVERIFY(writeFile(folder + "/" + overwrite, content));
    if (blockBank2)
        QVERIFY(QDir().mkpath(folder + "/bin/bank2.bin"));
    QVERIFY(writeFile(folder + "/bin/bank1.bin", "earlier"));
    QVERIFY(writeFile(m_dir->filePath("Corvane.xml"),
                      "<Conf_Settings><lastproj><projectname>Plant</projectname></lastproj>"
                      "</Conf_Settings>"));

    MessageRecorder recorder;
    Shell shell;
    TFCorvaneFirmWare window(shell, m_dir->path());
    QVERIFY(shell.state.projectActive());
    // A successful step 8 goes on to the update window; note which window came up and close it.
    QStringList opened;
    if (message.isEmpty())
        whenModalShown([&opened](QWidget *modal) {
            opened << modal->objectName();
            modal->close();
        });
    QSignalSpy updateWindow(&window, &TFCorvaneFirmWare::updateWindowRequested);
    window.findChild<QPushButton *>("Btn_CreateBin")->click();

    if (message.isEmpty()) {
        QVERIFY(recorder.recorded().isEmpty());
        QCOMPARE(updateWindow.count(), 1);
        QCOMPARE(opened, QStringList{"TFBoot"});
        QCOMPARE(readFile(folder + "/bin/bank1.bin").size(), 2048);
        QCOMPARE(readFile(folder + "/bin/bank2.bin").size(), 65536);
        QCOMPARE(readFile(folder + "/bin/bank1.bin").mid(156, 4).toHex(), QByteArray("05000000"));
        return;
    }
    QCOMPARE(recorder.recorded().size(), 1);
    QCOMPARE(recorder.recorded().first().kind, MessageService::Kind::Error);
    for (const QString &part : message)
        QVERIFY2(recorder.lastText().contains(part), qPrintable(recorder.lastText()));
    QCOMPARE(updateWindow.count(), 0);
    QCOMPARE(readFile(folder + "/bin/bank1.bin"), QByteArray("earlier"));
}

QTEST_MAIN(TestUpdateStep)
#include "test_update_step.moc"
