#include "canopen/canopen_rules.h"
#include "lang/text_table.h"
#include "test_support.h"

#include <QTemporaryDir>
#include <QTest>

using namespace swz;
using testing_support::writeFile;

namespace {

enum Editor { SdoServer, SdoClient, Pdo };

const RuleTableDefinition &definitionOf(int editor)
{
    switch (editor) {
    case SdoServer:
        return sdoServerDefinition();
    case SdoClient:
        return sdoClientDefinition();
    default:
        return pdoDefinition();
    }
}

Faults check(int editor, const RuleTable &table)
{
    switch (editor) {
    case SdoServer:
        return checkSdoServer(table, 1500, 1500);
    case SdoClient:
        return checkSdoClient(table, 1500, 1500);
    default:
        return checkPdo(table, 1500, 1500);
    }
}

// Rules of one list, each the texts of data columns 1 to n.
using Rules = QList<QStringList>;

void fill(RuleList &list, const Rules &rules)
{
    for (int r = 1; r <= rules.size(); ++r) {
        for (int c = 1; c <= rules[r - 1].size(); ++c)
            list.setCell(r, c, rules[r - 1][c - 1]);
    }
}

QString row(int r, const QString &text)
{
    return "Error row " + QString::number(r) + text;
}

// Valid rules to start from.
const QStringList kServer = {"0x2000", "0", "4", "0", "1", "2", "1499", "m"};
const QStringList kClientRead = {"1", "0x1000", "0", "4", "1", "0", "1", "2", "3", "m"};
const QStringList kClientWrite = {"127", "0xFFFF", "255", "1", "0", "", "0", "", "", "", "m"};
const QStringList kReceive = {"0x181", "8", "0", "1", "2", "3", "4", "5", "6", "7", "65535", "m"};
const QStringList kTransmit = {"0", "1", "1499", "", "", "", "", "", "", "", "0", "N", "m"};

QStringList with(QStringList rule, int column, const QString &text)
{
    rule[column - 1] = text;
    return rule;
}

} // namespace

class TestCanopenRules : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { uiTexts().loadBuiltin(); }
    void declarations();
    void checks_data();
    void checks();
    void savesExactDocuments_data();
    void savesExactDocuments();
    void loadsMissingAttributesEmptyAndStopsAtCapacity();
};

void TestCanopenRules::declarations()
{
    QStringList buffer;
    RuleTable server(sdoServerDefinition(), buffer);
    QCOMPARE(server.list(0).gridRowCount(), 501);
    QCOMPARE(server.list(1).cell(500, 0), QString("500"));
    QCOMPARE(server.list(0).rowTexts(1), QStringList(8));
    RuleTable client(sdoClientDefinition(), buffer);
    QCOMPARE(client.list(0).gridRowCount(), 257);
    QCOMPARE(client.list(0).dataColumnCount(), 10);
    QCOMPARE(client.list(1).dataColumnCount(), 11);
    QVERIFY(client.list(1).isCheckBoxColumn(6));
    RuleTable pdo(pdoDefinition(), buffer);
    QCOMPARE(pdo.list(1).gridRowCount(), 31);
    QCOMPARE(pdo.list(0).dataColumnCount(), 12);
    QCOMPARE(pdo.list(1).dataColumnCount(), 13);
    QVERIFY(pdo.list(1).isCheckBoxColumn(12));
    // Header and hint indexes run in column order.
    QCOMPARE(pdoDefinition().lists[1].columns[9].headerText, 3539);
    QCOMPARE(pdoDefinition().lists[1].columns[12].hintText, 3567);
    QCOMPARE(sdoClientDefinition().lists[1].columns[10].headerText, 3638);
    QCOMPARE(sdoClientDefinition().lists[1].columns[10].hintText, 3659);
    QCOMPARE(sdoServerDefinition().lists[1].columns[7].hintText, 3749);
    QCOMPARE(uiText(pdoDefinition().lists[0].columns[4].hintText),
             QString("Insert the position of array where put the byte 3 of CANopen PDO frame"));
}

void TestCanopenRules::checks_data()
{
    QTest::addColumn<int>("editor");
    QTest::addColumn<Rules>("first");
    QTest::addColumn<Rules>("second");
    QTest::addColumn<QStringList>("messages");

    const QString b = "1499";
    // SDO server
    QTest::newRow("server: valid, bounds")
        << int(SdoServer)
        << Rules{kServer, with(with(kServer, 1, "0x5FFF"), 2, "255"), with(kServer, 1, "8192")}
        << Rules{with(with(kServer, 3, "1"), 5, "")} << QStringList();
    QTest::newRow("server: index out of range")
        << int(SdoServer) << Rules{with(kServer, 1, "0x1FFF")}
        << Rules{kServer, with(kServer, 1, "0x6000")}
        << QStringList({row(1, "!! [SDO in Read] Index must be between 0x2000 and 0x5FFF"),
                        row(2, "!! [SDO in Write] Index must be between 0x2000 and 0x5FFF")});
    QTest::newRow("server: every read check in order")
        << int(SdoServer)
        << Rules{{"1", "256", "3", "1500", "", "", "", ""}, {"0x2000", "0", "2", "0", "x", "", "", ""},
                 {"0x2000", "0", "4", "0", "0", "-1", "1500", ""}}
        << Rules{}
        << QStringList({row(1, "!! [SDO in Read] Index must be between 0x2000 and 0x5FFF"),
                        row(1, "!! [SDO in Read] SubIndex must be between 0x00 and 0xFF"),
                        row(1, "!! [SDO in Read] N Byte must be 1 or 2 or 4"),
                        row(1, "!! [SDO in Read] Address Byte1 must be between 0 and " + b),
                        row(2, "!! [SDO in Read] Address Byte2 must be between 0 and " + b),
                        row(3, "!! [SDO in Read] Address Byte3 must be between 0 and " + b),
                        row(3, "!! [SDO in Read] Address Byte4 must be between 0 and " + b)});
    QTest::newRow("server: every write check")
        << int(SdoServer) << Rules{}
        << Rules{{"0x2000", "-1", "0", "", "", "", "", ""}, {"0x2000", "0", "4", "0", "1500", "0", "0x5DC", ""}}
        << QStringList({row(1, "!! [SDO in Write] SubIndex must be between 0x00 and 0xFF"),
                        row(1, "!! [SDO in Write] N Byte must be 1 or 2 or 4"),
                        row(1, "!! [SDO in Write] Address Byte1 must be between 0 and " + b),
                        row(2, "!! [SDO in Write] Address Byte2 must be between 0 and " + b),
                        row(2, "!! [SDO in Write] Address Byte4 must be between 0 and " + b)});
    QTest::newRow("server: mnemonic without index ends the list")
        << int(SdoServer) << Rules{{"", "x", "x", "x", "", "", "", "note"}, {"1", "", "", "", "", "", "", ""}}
        << Rules{} << QStringList();

    // SDO client
    QTest::newRow("client: valid, bounds")
        << int(SdoClient)
        << Rules{kClientRead, with(with(kClientRead, 1, "127"), 5, "100000000"),
                 with(with(kClientRead, 4, "2"), 8, "junk")}
        << Rules{kClientWrite, with(kClientWrite, 5, "100000000")} << QStringList();
    QTest::newRow("client: every read check in order")
        << int(SdoClient)
        << Rules{{"0", "0x0FFF", "256", "3", "0", "1500", "", "", "", ""},
                 {"128", "0x10000", "0", "4", "100000001", "0", "1500", "1500", "1500", ""}}
        << Rules{}
        << QStringList({row(1, "!! [SDO Read] Device ID must be between 1 and 127"),
                        row(1, "!! [SDO Read] Index must be between 0x1000 and 0xFFFF"),
                        row(1, "!! [SDO Read] SubIndex must be between 0x00 and 0xFF"),
                        row(1, "!! [SDO Read] N Byte must be 1 or 2 or 4"),
                        row(1, "!! [SDO Read] Poll Time must be between 1 and 100000000"),
                        row(1, "!! [SDO Read] Address Byte1 must be between 0 and " + b),
                        row(2, "!! [SDO Read] Device ID must be between 1 and 127"),
                        row(2, "!! [SDO Read] Index must be between 0x1000 and 0xFFFF"),
                        row(2, "!! [SDO Read] Poll Time must be between 1 and 100000000"),
                        row(2, "!! [SDO Read] Address Byte2 must be between 0 and " + b),
                        row(2, "!! [SDO Read] Address Byte3 must be between 0 and " + b),
                        row(2, "!! [SDO Read] Address Byte4 must be between 0 and " + b)});
    QTest::newRow("client: every write check in order")
        << int(SdoClient) << Rules{kClientRead}
        << Rules{{"0", "0xFFF", "-1", "0", "100000001", "Y", "1500", "", "", "", ""},
                 {"1", "0x1000", "0", "4", "0", "", "0", "1500", "1500", "1500", ""}}
        << QStringList({row(1, "!! [SDO Write] Device ID must be between 1 and 127"),
                        row(1, "!! [SDO Write] Index must be between 0x1000 and 0xFFFF"),
                        row(1, "!! [SDO Write] SubIndex must be between 0x00 and 0xFF"),
                        row(1, "!! [SDO Write] N Byte must be 1 or 2 or 4"),
                        row(1, "!! [SDO Write] Poll Time must be between 0 and 100000000"),
                        row(1, "!! [SDO Write] Address Byte1 must be between 0 and " + b),
                        row(2, "!! [SDO Write] Address Byte2 must be between 0 and " + b),
                        row(2, "!! [SDO Write] Address Byte3 must be between 0 and " + b),
                        row(2, "!! [SDO Write] Address Byte4 must be between 0 and " + b)});

    // PDO
    QTest::newRow("pdo: valid, bounds")
        << int(Pdo)
        << Rules{kReceive, with(with(kReceive, 1, "0x7FF"), 2, "1"), with(kReceive, 1, "385")}
        << Rules{kTransmit, with(with(kTransmit, 11, "100000000"), 12, "Y")} << QStringList();
    QTest::newRow("pdo: receive checks, first bad bytes")
        << int(Pdo)
        << Rules{{"0x800", "0", "", "", "", "", "", "", "", "", "65536", ""},
                 {"1", "9", "0", "", "", "", "", "", "", "", "0", ""},
                 {"1", "5", "0", "1500", "0", "0", "1500", "", "", "", "0", ""},
                 {"1", "8", "0", "0", "0", "0", "0", "0", "0", "1500", "-1", ""}}
        << Rules{}
        << QStringList({row(1, "!! [Receive PDO] COB-ID must be between 0x000 and 0x7FF"),
                        row(1, "!! [Receive PDO] Dimension must be between 1 and 8"),
                        row(1, "!! [Receive PDO] TimeOut must be between 0 and 65535"),
                        row(2, "!! [Receive PDO] Dimension must be between 1 and 8"),
                        row(2, "!! [Receive PDO] Address Byte2 must be between 0 and " + b),
                        row(2, "!! [Receive PDO] Address Byte3 must be between 0 and " + b),
                        row(2, "!! [Receive PDO] Address Byte4 must be between 0 and " + b),
                        row(2, "!! [Receive PDO] Address Byte5 must be between 0 and " + b),
                        row(2, "!! [Receive PDO] Address Byte6 must be between 0 and " + b),
                        row(2, "!! [Receive PDO] Address Byte7 must be between 0 and " + b),
                        row(2, "!! [Receive PDO] Address Byte8 must be between 0 and " + b),
                        row(3, "!! [Receive PDO] Address Byte2 must be between 0 and " + b),
                        row(3, "!! [Receive PDO] Address Byte5 must be between 0 and " + b),
                        row(4, "!! [Receive PDO] Address Byte8 must be between 0 and " + b),
                        row(4, "!! [Receive PDO] TimeOut must be between 0 and 65535")});
    QTest::newRow("pdo: transmit checks")
        << int(Pdo) << Rules{}
        << Rules{{"-1", "9", "", "", "", "", "", "", "", "", "100000001", "", ""},
                 {"1", "3", "1500", "0", "x", "", "", "", "", "", "", "", ""}}
        << QStringList({row(1, "!! [Transmit PDO] COB-ID must be between 0x000 and 0x7FF"),
                        row(1, "!! [Transmit PDO] Dimension must be between 1 and 8"),
                        row(1, "!! [Transmit PDO] Address Byte1 must be between 0 and " + b),
                        row(1, "!! [Transmit PDO] Address Byte2 must be between 0 and " + b),
                        row(1, "!! [Transmit PDO] Address Byte3 must be between 0 and " + b),
                        row(1, "!! [Transmit PDO] Address Byte4 must be between 0 and " + b),
                        row(1, "!! [Transmit PDO] Address Byte5 must be between 0 and " + b),
                        row(1, "!! [Transmit PDO] Address Byte6 must be between 0 and " + b),
                        row(1, "!! [Transmit PDO] Address Byte7 must be between 0 and " + b),
                        row(1, "!! [Transmit PDO] Address Byte8 must be between 0 and " + b),
                        row(1, "!! [Transmit PDO] Send Time must be between 0 and 100000000"),
                        row(2, "!! [Transmit PDO] Address Byte1 must be between 0 and " + b),
                        row(2, "!! [Transmit PDO] Address Byte3 must be between 0 and " + b),
                        row(2, "!! [Transmit PDO] Send Time must be between 0 and 100000000")});
}

void TestCanopenRules::checks()
{
    QFETCH(int, editor);
    QFETCH(Rules, first);
    QFETCH(Rules, second);
    QFETCH(QStringList, messages);
    QStringList buffer;
    RuleTable table(definitionOf(editor), buffer);
    fill(table.list(0), first);
    fill(table.list(1), second);
    QStringList actual;
    for (const Fault &fault : check(editor, table))
        actual.append(fault.message);
    QCOMPARE(actual, messages);
}

void TestCanopenRules::savesExactDocuments_data()
{
    QTest::addColumn<int>("editor");
    QTest::addColumn<Rules>("first");
    QTest::addColumn<Rules>("second");
    QTest::addColumn<QByteArray>("document");
    QTest::newRow("sdo server")
        << int(SdoServer) << Rules{with(with(kServer, 3, "1"), 5, "")} << Rules{}
        << QByteArray("<SDO_Server_CANopen>\n"
                      "    <SDO_Read>\n"
                      "        <row Index=\"0x2000\" SubIndex=\"0\" NByte=\"1\" Address_B1=\"0\" "
                      "Address_B2=\"\" Address_B3=\"2\" Address_B4=\"1499\" Mnemonic=\"m\"/>\n"
                      "    </SDO_Read>\n"
                      "    <SDO_Write/>\n"
                      "</SDO_Server_CANopen>\n"
                      "<!--SW_VERSION = 1.000-->\n");
    QTest::newRow("sdo client")
        << int(SdoClient) << Rules{kClientRead} << Rules{kClientWrite}
        << QByteArray("<SDO_Client_CANopen>\n"
                      "    <SDO_Read>\n"
                      "        <row Device_ID=\"1\" Index=\"0x1000\" SubIndex=\"0\" NByte=\"4\" "
                      "Poll_Time=\"1\" Address_B1=\"0\" Address_B2=\"1\" Address_B3=\"2\" "
                      "Address_B4=\"3\" Mnemonic=\"m\"/>\n"
                      "    </SDO_Read>\n"
                      "    <SDO_Write>\n"
                      "        <row Device_ID=\"127\" Index=\"0xFFFF\" SubIndex=\"255\" NByte=\"1\" "
                      "Poll_Time=\"0\" On_Change=\"\" Address_B1=\"0\" Address_B2=\"\" "
                      "Address_B3=\"\" Address_B4=\"\" Mnemonic=\"m\"/>\n"
                      "    </SDO_Write>\n"
                      "</SDO_Client_CANopen>\n"
                      "<!--SW_VERSION = 1.000-->\n");
    QTest::newRow("pdo")
        << int(Pdo) << Rules{kReceive} << Rules{kTransmit}
        << QByteArray("<PDO_CANopen>\n"
                      "    <Receive_PDO>\n"
                      "        <row COB-ID=\"0x181\" Dimension=\"8\" Address_B1=\"0\" Address_B2=\"1\" "
                      "Address_B3=\"2\" Address_B4=\"3\" Address_B5=\"4\" Address_B6=\"5\" "
                      "Address_B7=\"6\" Address_B8=\"7\" TimeOut=\"65535\" Mnemonic=\"m\"/>\n"
                      "    </Receive_PDO>\n"
                      "    <Transmit_PDO>\n"
                      "        <row COB-ID=\"0\" Dimension=\"1\" Address_B1=\"1499\" Address_B2=\"\" "
                      "Address_B3=\"\" Address_B4=\"\" Address_B5=\"\" Address_B6=\"\" "
                      "Address_B7=\"\" Address_B8=\"\" Send_Time=\"0\" On_Change=\"N\" "
                      "Mnemonic=\"m\"/>\n"
                      "    </Transmit_PDO>\n"
                      "</PDO_CANopen>\n"
                      "<!--SW_VERSION = 1.000-->\n");
}

void TestCanopenRules::savesExactDocuments()
{
    QFETCH(int, editor);
    QFETCH(Rules, first);
    QFETCH(Rules, second);
    QFETCH(QByteArray, document);
    QStringList buffer;
    RuleTable table(definitionOf(editor), buffer);
    fill(table.list(0), first);
    fill(table.list(1), second);
    QCOMPARE(check(editor, table), Faults());
    QCOMPARE(table.document(), document);

    // Read back by a fresh table, the same document comes out.
    QTemporaryDir dir;
    QCOMPARE(table.save(dir.filePath("f.xml")), std::nullopt);
    RuleTable again(definitionOf(editor), buffer);
    QCOMPARE(again.load(dir.filePath("f.xml")), std::nullopt);
    QCOMPARE(again.document(), document);
}

void TestCanopenRules::loadsMissingAttributesEmptyAndStopsAtCapacity()
{
    QByteArray file = "<PDO_CANopen><Receive_PDO>"
                      "<row COB-ID=\"0x181\" Dimension=\"2\" Address_B1=\"5\" TimeOut=\"0\"/>"
                      "</Receive_PDO><Transmit_PDO>";
    for (int i = 0; i < 40; ++i)
        file += "<row COB-ID=\"" + QByteArray::number(0x200 + i) + "\" Dimension=\"1\" "
                "Address_B1=\"0\" Send_Time=\"0\" On_Change=\"Y\" Mnemonic=\"\"/>";
    file += "</Transmit_PDO></PDO_CANopen>";
    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath("PDO_CANopen.xml"), file));
    QStringList buffer;
    RuleTable table(pdoDefinition(), buffer);
    QCOMPARE(table.load(dir.filePath("PDO_CANopen.xml")), std::nullopt);
    QCOMPARE(table.list(0).rowTexts(1),
             QStringList({"0x181", "2", "5", "", "", "", "", "", "", "", "0", ""}));
    QCOMPARE(table.list(1).ruleCount(), 30);
    QCOMPARE(table.list(1).cell(30, 1), QString::number(0x200 + 29));
    QCOMPARE(table.list(1).cell(30, 12), QString("Y"));
    // The empty Add B2 of a two-byte frame is what the check reports.
    const Faults faults = checkPdo(table, 1500, 1500);
    QCOMPARE(faults.size(), 1);
    QCOMPARE(faults.first().message,
             QString("Error row 1!! [Receive PDO] Address Byte2 must be between 0 and 1499"));
    QCOMPARE(table.document().count("<row "), 31);
}

QTEST_APPLESS_MAIN(TestCanopenRules)
#include "test_canopen_rules.moc"
