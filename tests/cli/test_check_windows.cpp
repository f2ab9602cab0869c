// The first fault `check` lists for a file is what that file's window shows at OK: each window
// is opened on the same faulty project and its own check is run.
#include "cli_run.h"

#include "app/shell.h"
#include "canopen/canopen_windows.h"
#include "common/messages.h"
#include "image/image_support.h"
#include "lang/text_table.h"
#include "lorawan/lora_access_window.h"
#include "params/par_gen_window.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace swz;

class TestCheckWindows : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { uiTexts().loadBuiltin(); }
    void firstFaultIsTheWindowsMessage_data();
    void firstFaultIsTheWindowsMessage();
};

void TestCheckWindows::firstFaultIsTheWindowsMessage_data()
{
    QTest::addColumn<QString>("file");
    for (const char *file : {"ParGen.xml", "LoRaWAN_SetAccess.xml", "SDO_Server_CANopen.xml",
                             "SDO_Client_CANopen.xml", "PDO_CANopen.xml"})
        QTest::newRow(file) << QString(file);
}

void TestCheckWindows::firstFaultIsTheWindowsMessage()
{
    QFETCH(QString, file);
    QTemporaryDir dir;
    const QString folder = image_support::makeProject(dir, "Faulty", "cli/faulty");

    const CliRun run = cli({"check", folder, "--json"});
    QCOMPARE(run.code, 1);
    QStringList listed;
    for (const QJsonValue &value : QJsonDocument::fromJson(run.out).array()) {
        if (value["file"].toString() == file)
            listed.append(value["message"].toString());
    }
    QVERIFY(listed.size() >= 2);

    Shell shell;
    shell.files = ProjectFiles::of(folder);
    QStringList buffer;
    RuleTableContext context;
    context.rowBuffer = &buffer;
    context.text = [](int index) { return uiText(index); };
    context.jumpOnEnter = [] { return true; };
    context.autoSizeOnDoubleClick = [] { return false; };
    const QString path = folder + '/' + file;
    context.sectionFile = [path] { return path; };

    MessageRecorder recorder;
    if (file == "ParGen.xml") {
        TFParGen window(shell);
        QVERIFY(window.FormShow());
        QVERIFY(!window.Controllo_Dati());
    } else {
        std::unique_ptr<RuleTableWindow> window;
        if (file == "LoRaWAN_SetAccess.xml")
            window = std::make_unique<TFLoRa_Set_Access>(context, [&] { return shell.files.parGen; });
        else if (file == "SDO_Server_CANopen.xml")
            window = std::make_unique<TFSet_SDO_Server_Access>(context);
        else if (file == "SDO_Client_CANopen.xml")
            window = std::make_unique<TFSet_SDO_Client_Access>(context);
        else
            window = std::make_unique<TFSet_PDO_Access>(context);
        QVERIFY(window->FormShow());
        QVERIFY(!window->Controllo_dati());
    }
    QCOMPARE(recorder.recorded().size(), 1);
    QCOMPARE(recorder.lastText(), listed.first());
}

QTEST_MAIN(TestCheckWindows)
#include "test_check_windows.moc"
