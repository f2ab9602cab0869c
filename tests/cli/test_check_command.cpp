#include "cli_run.h"

#include "app/payload_gate.h"
#include "canopen/canopen_rules.h"
#include "image/image_support.h"
#include "lang/text_table.h"
#include "lorawan/lora_access.h"
#include "params/par_gen_check.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>

using namespace swz;
using image_support::makeProject;

class TestCheckCommand : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { uiTexts().loadBuiltin(); }
    void listsEveryFaultInWindowOrder();
    void exitStatuses_data();
    void exitStatuses();
};

namespace {

// What each window's own check (the function its OK button calls) finds in a file, read the
// way the window reads it.
Faults windowFaults(const ProjectFiles &files, const QString &file)
{
    QStringList buffer;
    auto rules = [&](const RuleTableDefinition &definition, const QString &path,
                     Faults (*check)(const RuleTable &, qint32, qint32)) {
        RuleTable table(definition, buffer);
        table.prepare();
        table.load(path);
        return check(table, kCanopenArrayBytes, kCanopenArrayBytes);
    };
    if (file == "ParGen.xml")
        return Controllo_Dati(loadParGen(files.parGen).values);
    if (file == "LoRaWAN_SetAccess.xml") {
        const LoRaAccessLimits limits = readLoRaLimits(files.parGen).limits;
        RuleTable table(loRaAccessDefinition(), buffer);
        applyLoRaLimits(table, limits);
        table.load(files.loRaWanAccess);
        // Step 8's payload check comes after the window's.
        return checkLoRaAccess(table, limits) + Check_Config_LoraWAN(files).faults;
    }
    if (file == "SDO_Server_CANopen.xml")
        return rules(sdoServerDefinition(), files.sdoServer, &checkSdoServer);
    if (file == "SDO_Client_CANopen.xml")
        return rules(sdoClientDefinition(), files.sdoClient, &checkSdoClient);
    return rules(pdoDefinition(), files.pdo, &checkPdo);
}

} // namespace

void TestCheckCommand::listsEveryFaultInWindowOrder()
{
    QTemporaryDir dir;
    const QString folder = makeProject(dir, "Faulty", "cli/faulty");
    const CliRun json = cli({"check", folder, "--json"});
    QCOMPARE(json.code, 1);
    QVERIFY2(json.err.isEmpty(), json.err.constData());

    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json.out, &error);
    QCOMPARE(error.error, QJsonParseError::NoError);
    QVERIFY(document.isArray());

    QMap<QString, Faults> listed;
    QStringList order;
    for (const QJsonValue &value : document.array()) {
        const QJsonObject object = value.toObject();
        QCOMPARE(object.keys(), (QStringList{"file", "list", "message", "row"}));
        const QString file = object["file"].toString();
        if (!order.contains(file))
            order.append(file);
        else
            QCOMPARE(order.last(), file); // the faults of one file stay together
        listed[file].append({object["list"].toString(), object["row"].toInt(),
                             object["message"].toString()});
    }
    QCOMPARE(order, (QStringList{"ParGen.xml", "LoRaWAN_SetAccess.xml", "SDO_Server_CANopen.xml",
                                 "SDO_Client_CANopen.xml", "PDO_CANopen.xml"}));

    // The fixture has several faults in every file; the payload check adds two uplink rows.
    const QMap<QString, int> expectedCounts{{"ParGen.xml", 4}, {"LoRaWAN_SetAccess.xml", 8},
                                            {"SDO_Server_CANopen.xml", 3},
                                            {"SDO_Client_CANopen.xml", 3}, {"PDO_CANopen.xml", 8}};
    const ProjectFiles files = ProjectFiles::of(folder);
    for (const QString &file : order) {
        const Faults window = windowFaults(files, file);
        QCOMPARE(listed[file].size(), expectedCounts[file]);
        // What the window shows at OK is the first fault listed for its file.
        QCOMPARE(listed[file].first().message, window.first().message);
        QCOMPARE(listed[file], window);
    }

    // The text form has one line per fault, with the same message.
    const CliRun text = cli({"check", folder});
    QCOMPARE(text.code, 1);
    const QList<QByteArray> lines = text.out.trimmed().split('\n');
    QCOMPARE(lines.size(), document.array().size());
    QCOMPARE(lines.first(), ("ParGen.xml: " + listed["ParGen.xml"].first().message).toUtf8());
    QCOMPARE(lines.at(4), ("LoRaWAN_SetAccess.xml: LoRaWAN_Uplink: row 1: "
                           + listed["LoRaWAN_SetAccess.xml"].first().message)
                              .toUtf8());
}

void TestCheckCommand::exitStatuses_data()
{
    QTest::addColumn<QString>("fixture");     // empty: an empty project
    QTest::addColumn<QString>("replaceFile"); // a file replaced by malformed XML
    QTest::addColumn<QStringList>("extra");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("errContains");
    QTest::addColumn<QString>("outContains");

    QTest::newRow("sound project") << "image/full" << "" << QStringList{} << 1 << ""
                                   << "FPort must be between";
    QTest::newRow("empty project") << "" << "" << QStringList{} << 0 << "" << "";
    QTest::newRow("empty project json") << "" << "" << QStringList{"--json"} << 0 << "" << "[";
    QTest::newRow("malformed ParGen") << "cli/faulty" << "ParGen.xml" << QStringList{} << 2
                                      << "Error! Cannot read the file " << "SDO_Server_CANopen.xml";
    QTest::newRow("malformed PDO") << "cli/faulty" << "PDO_CANopen.xml" << QStringList{} << 2
                                   << "PDO_CANopen.xml: " << "ParGen.xml: Error Ethernet";
    QTest::newRow("missing folder") << "-" << "" << QStringList{} << 2 << "not a project folder"
                                    << "";
    QTest::newRow("two folders") << "" << "" << QStringList{"other"} << 2 << "usage:" << "";
    QTest::newRow("help") << "" << "" << QStringList{"--help"} << 0 << "" << "usage:";
}

void TestCheckCommand::exitStatuses()
{
    QFETCH(QString, fixture);
    QFETCH(QString, replaceFile);
    QFETCH(QStringList, extra);
    QFETCH(int, code);
    QFETCH(QString, errContains);
    QFETCH(QString, outContains);

    QTemporaryDir dir;
    QString folder = makeProject(dir, "P", fixture == "-" ? QString() : fixture);
    if (fixture == "-")
        folder = dir.filePath("Nowhere");
    if (!replaceFile.isEmpty())
        QVERIFY(testing_support::writeFile(folder + '/' + replaceFile, "<Root><open></Root>"));

    const CliRun run = cli(QStringList{"check", folder} + extra);
    QCOMPARE(run.code, code);
    QVERIFY2(run.err.contains(errContains.toUtf8()), run.err.constData());
    QVERIFY2(run.out.contains(outContains.toUtf8()), run.out.constData());
    if (code == 2 && !replaceFile.isEmpty()) // the parser's message names the line
        QVERIFY2(run.err.contains("line"), run.err.constData());
    if (extra.contains("--json") && code != 2)
        QVERIFY(QJsonDocument::fromJson(run.out).isArray());
}

QTEST_GUILESS_MAIN(TestCheckCommand)
#include "test_check_command.moc"
