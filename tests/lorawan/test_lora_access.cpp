#include "lang/text_table.h"
#include "lorawan/lora_access.h"
#include "test_support.h"

#include <QTemporaryDir>
#include <QTest>

using namespace swz;
using testing_support::readFile;
using testing_support::writeFile;

namespace {

// One cell to set: list (0 uplink, 1 downlink), grid row, grid column, text.
struct Cell
{
    int list;
    int row;
    int column;
    QString text;
};
using Cells = QList<Cell>;

// An enabled uplink rule with valid values in both FPort modes.
Cells goodUplink(int row)
{
    return {{0, row, lora::kStartByte, "0"}, {0, row, lora::kNumByte, "10"},
            {0, row, lora::kUpFPort, "1"}};
}

Cells goodDownlink(int row)
{
    return {{1, row, lora::kStartByte, "0"}, {1, row, lora::kNumByte, "10"},
            {1, row, lora::kDownFPort, "1"}};
}

} // namespace

Q_DECLARE_METATYPE(Cells)

class TestLoRaAccess : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { uiTexts().loadBuiltin(); }
    void readsFPortModeAndPayload_data();
    void readsFPortModeAndPayload();
    void fPortModeSetsRowsAndHiddenColumns();
    void checks_data();
    void checks();
    void savesExactDocument();
    void loadsDefaultsForMissingAttributes();
    void oversizeFileKeepsWhatFits();
};

void TestLoRaAccess::readsFPortModeAndPayload_data()
{
    QTest::addColumn<QByteArray>("parGen"); // empty: no file
    QTest::addColumn<int>("payload");
    QTest::addColumn<bool>("fixed");
    QTest::newRow("no file") << QByteArray() << 0 << true;
    QTest::newRow("variable")
        << QByteArray("<ParGen><LoRa_Payload_Size>51</LoRa_Payload_Size>"
                      "<LoRa_FPort>Variable</LoRa_FPort></ParGen>")
        << 51 << false;
    QTest::newRow("variable, blanks and case")
        << QByteArray("<X><LoRa_FPort> \tvARIABLE\n</LoRa_FPort></X>") << 0 << false;
    QTest::newRow("fixed")
        << QByteArray("<X><LoRa_Payload_Size>0x40</LoRa_Payload_Size><LoRa_FPort>Fixed</LoRa_FPort></X>")
        << 64 << true;
    QTest::newRow("other text is fixed")
        << QByteArray("<X><LoRa_FPort>Variabel</LoRa_FPort></X>") << 0 << true;
    QTest::newRow("payload no integer")
        << QByteArray("<X><LoRa_Payload_Size>51 </LoRa_Payload_Size></X>") << 0 << true;
    QTest::newRow("only direct children count")
        << QByteArray("<X><G><LoRa_Payload_Size>51</LoRa_Payload_Size>"
                      "<LoRa_FPort>Variable</LoRa_FPort></G></X>")
        << 0 << true;
}

void TestLoRaAccess::readsFPortModeAndPayload()
{
    QFETCH(QByteArray, parGen);
    QFETCH(int, payload);
    QFETCH(bool, fixed);
    QTemporaryDir dir;
    const QString path = dir.filePath("ParGen.xml");
    if (!parGen.isEmpty())
        QVERIFY(writeFile(path, parGen));
    const LoRaParGenRead read = readLoRaLimits(path);
    QCOMPARE(read.error, QString());
    QCOMPARE(read.limits.MaxPayloadSize, payload);
    QCOMPARE(read.limits.FPortFixed, fixed);
}

void TestLoRaAccess::fPortModeSetsRowsAndHiddenColumns()
{
    QStringList buffer;
    RuleTable table(loRaAccessDefinition(), buffer);
    applyLoRaLimits(table, {51, true});
    QCOMPARE(table.list(0).gridRowCount(), 257);
    QCOMPARE(table.list(1).gridRowCount(), 257);
    QVERIFY(table.list(0).isColumnHidden(lora::kUpFPort));
    QVERIFY(table.list(1).isColumnHidden(lora::kDownFPort));
    QCOMPARE(table.list(0).cell(1, 0), QString("0"));
    QCOMPARE(table.list(0).cell(256, 0), QString("255"));
    QCOMPARE(table.list(0).rowTexts(256), QStringList({"Y", "", "", "", "", "", "", "", ""}));
    QCOMPARE(table.list(1).rowTexts(1), QStringList({"Y", "", "", "", ""}));

    applyLoRaLimits(table, {51, false});
    QCOMPARE(table.list(0).gridRowCount(), 224);
    QCOMPARE(table.list(1).cell(223, 0), QString("222"));
    QVERIFY(!table.list(0).isColumnHidden(lora::kUpFPort));
    QVERIFY(!table.list(1).isColumnHidden(lora::kDownFPort));

    // The invalid ParGen.xml stops with the parser's text.
    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath("ParGen.xml"), "<ParGen><LoRa_FPort>"));
    const LoRaParGenRead bad = readLoRaLimits(dir.filePath("ParGen.xml"));
    QVERIFY(bad.error.startsWith(dir.filePath("ParGen.xml") + ": "));
}

void TestLoRaAccess::checks_data()
{
    QTest::addColumn<int>("payload");
    QTest::addColumn<bool>("fixed");
    QTest::addColumn<Cells>("cells");
    QTest::addColumn<QStringList>("messages");

    const QString upStart = "!! [LoraWAN Uplink] Start Byte must be between 0 and 1536";
    const QString upNum = "!! [LoraWAN Uplink] Number Byte must be between 0 and ";
    const QString upTime = "!! [LoraWAN Uplink] Time (s) must be between 30 and 86400";
    const QString upPort = "!! [LoraWAN Uplink] FPort must be between 1 and 223";
    const QString downStart = "!! [LoraWAN Downlink] Start Byte must be between 0 and 1536";
    const QString downNum = "!! [LoraWAN Downlink] Number Byte must be between 0 and ";
    const QString downPort = "!! [LoraWAN Downlink] FPort must be between 1 and 223";
    auto row = [](int r, const QString &text) { return "Error row " + QString::number(r) + text; };

    QTest::newRow("empty lists pass") << 0 << true << Cells{} << QStringList();
    QTest::newRow("no payload: enabled rule fails with -2")
        << 0 << true << goodUplink(1) << QStringList({row(1, upNum + "-2")});
    QTest::newRow("no payload: disabled rules pass")
        << 0 << true << goodUplink(1) + Cells{{0, 1, lora::kEnable, "N"}} + goodDownlink(1)
                                            + Cells{{1, 1, lora::kEnable, ""}}
        << QStringList();
    QTest::newRow("start byte 1536 passes, 1537 fails")
        << 51 << true
        << goodUplink(1) + goodUplink(2) + Cells{{0, 1, lora::kStartByte, "1536"},
                                                {0, 2, lora::kStartByte, "0x601"}}
        << QStringList({row(2, upStart)});
    QTest::newRow("num byte 49 passes, 50 fails at payload 51")
        << 51 << true
        << goodUplink(1) + goodUplink(2) + goodDownlink(1)
               + Cells{{0, 1, lora::kNumByte, "49"}, {0, 2, lora::kNumByte, "50"},
                       {1, 1, lora::kNumByte, "$32"}}
        << QStringList({row(2, upNum + "49"), row(1, downNum + "49")});
    QTest::newRow("time only with on timer")
        << 51 << true
        << goodUplink(1) + goodUplink(2) + goodUplink(3) + goodUplink(4)
               + Cells{{0, 1, lora::kUpTime, "29"},
                       {0, 2, lora::kUpOnTimer, " Y "}, {0, 2, lora::kUpTime, "86400"},
                       {0, 3, lora::kUpOnTimer, "Y"}, {0, 3, lora::kUpTime, "29"},
                       {0, 4, lora::kUpOnTimer, "Y"}, {0, 4, lora::kUpTime, "30 "}}
        << QStringList({row(3, upTime), row(4, upTime)});
    QTest::newRow("fixed mode ignores a hidden FPort 0")
        << 51 << true
        << goodUplink(1) + goodDownlink(1)
               + Cells{{0, 1, lora::kUpFPort, "0"}, {1, 1, lora::kDownFPort, ""}}
        << QStringList();
    QTest::newRow("variable mode checks FPort")
        << 51 << false
        << goodUplink(1) + goodUplink(2) + goodDownlink(1) + goodDownlink(2)
               + Cells{{0, 1, lora::kUpFPort, "223"}, {0, 2, lora::kUpFPort, "0"},
                       {1, 1, lora::kDownFPort, "224"}, {1, 2, lora::kDownFPort, " 1"}}
        << QStringList({row(2, upPort), row(1, downPort)});
    QTest::newRow("disabled rule with start 5000 passes")
        << 51 << true
        << goodUplink(1) + Cells{{0, 1, lora::kEnable, "y"}, {0, 1, lora::kStartByte, "5000"}}
        << QStringList();
    QTest::newRow("enabled rule with empty start ends the list")
        << 51 << true
        << goodUplink(2) + Cells{{0, 2, lora::kStartByte, "9999"}} << QStringList();
    QTest::newRow("all faults in check order, uplink first")
        << 10 << false
        << goodDownlink(1) + Cells{{1, 1, lora::kStartByte, "-1"}, {1, 1, lora::kNumByte, "9"},
                                   {1, 1, lora::kDownFPort, "x"}}
               + goodUplink(1) + Cells{{0, 1, lora::kStartByte, "abc"},
                                       {0, 1, lora::kNumByte, "9"},
                                       {0, 1, lora::kUpOnTimer, "Y"},
                                       {0, 1, lora::kUpFPort, ""}}
        << QStringList({row(1, upStart), row(1, upNum + "8"), row(1, upTime), row(1, upPort),
                        row(1, downStart), row(1, downNum + "8"), row(1, downPort)});
}

void TestLoRaAccess::checks()
{
    QFETCH(int, payload);
    QFETCH(bool, fixed);
    QFETCH(Cells, cells);
    QFETCH(QStringList, messages);
    QStringList buffer;
    RuleTable table(loRaAccessDefinition(), buffer);
    const LoRaAccessLimits limits{payload, fixed};
    applyLoRaLimits(table, limits);
    for (const Cell &cell : cells)
        table.list(cell.list).setCell(cell.row, cell.column, cell.text);
    QStringList actual;
    for (const Fault &fault : checkLoRaAccess(table, limits))
        actual.append(fault.message);
    QCOMPARE(actual, messages);
}

void TestLoRaAccess::savesExactDocument()
{
    QStringList buffer;
    RuleTable table(loRaAccessDefinition(), buffer);
    applyLoRaLimits(table, {51, true});
    RuleList &up = table.list(0);
    const QStringList first = {"Y", "0", "10", "Y", "N", "Y", "60", "0", "Tank level"};
    for (int c = 1; c <= first.size(); ++c)
        up.setCell(1, c, first[c - 1]);
    up.setCell(2, lora::kEnable, "N");
    up.setCell(2, lora::kStartByte, "5000");
    table.list(1).setCell(1, lora::kStartByte, "20");
    table.list(1).setCell(1, lora::kNumByte, "2");
    QCOMPARE(checkLoRaAccess(table, {51, true}), Faults());
    const QByteArray expected =
        "<LoRaWAN_Set_Access>\n"
        "    <LoRaWAN_Uplink>\n"
        "        <row Enable=\"Y\" StartByte=\"0\" NumByte=\"10\" OnChange=\"Y\" OnCMD=\"N\" "
        "OnTimer=\"Y\" Time=\"60\" FPort=\"0\" Mnemonic=\"Tank level\"/>\n"
        "        <row Enable=\"N\" StartByte=\"5000\" NumByte=\"\" OnChange=\"\" OnCMD=\"\" "
        "OnTimer=\"\" Time=\"\" FPort=\"\" Mnemonic=\"\"/>\n"
        "    </LoRaWAN_Uplink>\n"
        "    <LoRaWAN_Downlink>\n"
        "        <row Enable=\"Y\" StartByte=\"20\" NumByte=\"2\" FPort=\"\" Mnemonic=\"\"/>\n"
        "    </LoRaWAN_Downlink>\n"
        "</LoRaWAN_Set_Access>\n"
        "<!--SW_VERSION = 1.000-->\n";
    QCOMPARE(table.document(), expected);
}

void TestLoRaAccess::loadsDefaultsForMissingAttributes()
{
    QStringList buffer;
    RuleTable table(loRaAccessDefinition(), buffer);
    applyLoRaLimits(table, {51, true});
    QTemporaryDir dir;
    const QString path = dir.filePath("LoRaWAN_SetAccess.xml");
    QVERIFY(writeFile(path, "<LoRaWAN_Set_Access><LoRaWAN_Uplink>"
                            "<row StartByte=\"3\"/>"
                            "<row Enable=\"N\" StartByte=\"4\" OnTimer=\"Y\" FPort=\"7\" Bogus=\"1\"/>"
                            "</LoRaWAN_Uplink></LoRaWAN_Set_Access>"));
    QCOMPARE(table.load(path), std::nullopt);
    QCOMPARE(table.list(0).rowTexts(1), QStringList({"Y", "3", "", "N", "N", "N", "", "", ""}));
    QCOMPARE(table.list(0).rowTexts(2), QStringList({"N", "4", "", "N", "N", "Y", "", "7", ""}));
    QCOMPARE(table.list(0).rowTexts(3), QStringList({"Y", "", "", "", "", "", "", "", ""}));
    QCOMPARE(table.list(1).ruleCount(), 0);
    // Written back as loaded, the hidden FPort included, and an empty downlink list.
    QVERIFY(table.document().contains("<row Enable=\"N\" StartByte=\"4\" NumByte=\"\" OnChange=\"N\" "
                                      "OnCMD=\"N\" OnTimer=\"Y\" Time=\"\" FPort=\"7\" Mnemonic=\"\"/>"));
    QVERIFY(table.document().contains("<LoRaWAN_Downlink/>"));
}

void TestLoRaAccess::oversizeFileKeepsWhatFits()
{
    QByteArray file = "<LoRaWAN_Set_Access><LoRaWAN_Uplink>";
    for (int i = 0; i < 300; ++i)
        file += "<row Enable=\"N\" StartByte=\"" + QByteArray::number(i) + "\"/>";
    file += "</LoRaWAN_Uplink><LoRaWAN_Downlink/></LoRaWAN_Set_Access>";
    QTemporaryDir dir;
    const QString path = dir.filePath("LoRaWAN_SetAccess.xml");
    QVERIFY(writeFile(path, file));
    QStringList buffer;
    RuleTable table(loRaAccessDefinition(), buffer);
    for (const auto &[fixed, rules] : {std::pair{true, 256}, std::pair{false, 223}}) {
        applyLoRaLimits(table, {51, fixed});
        QCOMPARE(table.load(path), std::nullopt);
        QCOMPARE(table.list(0).ruleCount(), rules);
        QCOMPARE(table.document().count("<row "), rules);
        QCOMPARE(table.list(0).cell(rules, lora::kStartByte), QString::number(rules - 1));
    }
}

QTEST_APPLESS_MAIN(TestLoRaAccess)
#include "test_lora_access.moc"
