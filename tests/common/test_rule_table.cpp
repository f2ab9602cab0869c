#include "common/rule_table.h"
#include "test_support.h"

#include <QDomDocument>
#include <QTemporaryDir>
#include <QTest>

using namespace swz;
using testing_support::readFile;
using testing_support::writeFile;

namespace {

// A small editor: a check box, the key, a hidden text column and a name; a second list with
// a different column count.
RuleTableDefinition smallDefinition(bool enableNewRows = true)
{
    RuleTableDefinition d;
    d.rootElement = "Root";
    d.rowCount = 6; // five rules
    d.firstRowNumber = 0;
    d.newRowsEnabled = enableNewRows;
    d.lists[0].element = "First";
    d.lists[0].keyColumn = 2;
    d.lists[0].columns = {
        {RuleColumn::Kind::CheckBox, 50, tint::kEnable, -1, -1, "On", "Y"},
        {RuleColumn::Kind::Text, 50, tint::kIdentity, -1, -1, "Key", ""},
        {RuleColumn::Kind::Text, 50, tint::kAddress, -1, -1, "Hidden", ""},
        {RuleColumn::Kind::Text, 50, tint::kWhite, -1, -1, "Name", ""},
    };
    d.lists[1].element = "Second";
    d.lists[1].keyColumn = 2;
    d.lists[1].columns = {
        {RuleColumn::Kind::CheckBox, 50, tint::kEnable, -1, -1, "On", ""},
        {RuleColumn::Kind::Text, 50, tint::kIdentity, -1, -1, "Key", ""},
    };
    return d;
}

void fillRow(RuleList &list, int row, const QStringList &texts)
{
    for (int c = 1; c <= texts.size(); ++c)
        list.setCell(row, c, texts[c - 1]);
}

QList<QStringList> allRows(const RuleList &list)
{
    QList<QStringList> rows;
    for (int r = 1; r <= list.lastRow(); ++r)
        rows.append(list.rowTexts(r));
    return rows;
}

} // namespace

class TestRuleTable : public QObject
{
    Q_OBJECT

private slots:
    void preparationNumbersAndEnables();
    void deleteRowShiftsUpAndEmptiesLast();
    void insertRowShiftsDownAndLosesLast();
    void copyAndPaste();
    void pasteNeedsACopyOfThisListAndSize();
    void ruleCountStopsAtFirstEmptyKey_data();
    void ruleCountStopsAtFirstEmptyKey();
    void enterKeyTargets();
    void checkBoxCells();
    void savesExactDocument();
    void loadsWithDefaultsAndIgnoresExtraRows();
    void loadRefusesMalformedFileAndKeepsGrids();
    void saveFailureLeavesOldFile();
    void checkerRangesAndMessages();
};

void TestRuleTable::preparationNumbersAndEnables()
{
    QStringList buffer;
    RuleTable table(smallDefinition(), buffer);
    RuleList &first = table.list(0);
    QCOMPARE(first.gridRowCount(), 6);
    QCOMPARE(first.cell(1, 0), QString("0"));
    QCOMPARE(first.cell(5, 0), QString("4"));
    QCOMPARE(first.rowTexts(3), QStringList({"Y", "", "", ""}));
    fillRow(first, 2, {"N", "7", "x", "name"});
    table.copyRow(0, 2);
    table.prepare(4);
    QCOMPARE(first.gridRowCount(), 4);
    QCOMPARE(first.rowTexts(2), QStringList({"Y", "", "", ""}));
    QVERIFY(!table.copied(0));
    QCOMPARE(buffer, QStringList({"N", "7", "x", "name"})); // the buffer outlives an opening

    RuleTable numberedFromOne(smallDefinition(false), buffer);
    numberedFromOne.prepare(3);
    QCOMPARE(numberedFromOne.list(0).rowTexts(1), QStringList({"", "", "", ""}));
}

void TestRuleTable::deleteRowShiftsUpAndEmptiesLast()
{
    QStringList buffer;
    RuleTable table(smallDefinition(), buffer);
    RuleList &list = table.list(0);
    for (int r = 1; r <= 5; ++r)
        fillRow(list, r, {"N", QString::number(r), "h" + QString::number(r), ""});
    list.deleteRow(2);
    QCOMPARE(allRows(list), (QList<QStringList>{{"N", "1", "h1", ""},
                                                {"N", "3", "h3", ""},
                                                {"N", "4", "h4", ""},
                                                {"N", "5", "h5", ""},
                                                {"", "", "", ""}}));
    QCOMPARE(list.cell(2, 0), QString("1")); // the row numbers stay
    list.deleteRow(5);
    QCOMPARE(list.rowTexts(5), QStringList({"", "", "", ""}));
    list.deleteRow(4);
    QCOMPARE(list.rowTexts(4), QStringList({"", "", "", ""}));
    QCOMPARE(list.rowTexts(3), QStringList({"N", "4", "h4", ""}));
    list.deleteRow(0); // out of range: nothing
    list.deleteRow(6);
    QCOMPARE(list.rowTexts(1), QStringList({"N", "1", "h1", ""}));
}

void TestRuleTable::insertRowShiftsDownAndLosesLast()
{
    QStringList buffer;
    RuleTable table(smallDefinition(), buffer);
    RuleList &list = table.list(0);
    for (int r = 1; r <= 5; ++r)
        fillRow(list, r, {"N", QString::number(r), "", ""});
    list.insertRow(2, true);
    QCOMPARE(allRows(list), (QList<QStringList>{{"N", "1", "", ""},
                                                {"Y", "", "", ""},
                                                {"N", "2", "", ""},
                                                {"N", "3", "", ""},
                                                {"N", "4", "", ""}}));
    list.insertRow(5, false); // at the last row: only clears it
    QCOMPARE(list.rowTexts(5), QStringList({"", "", "", ""}));
    QCOMPARE(list.rowTexts(4), QStringList({"N", "3", "", ""}));
}

void TestRuleTable::copyAndPaste()
{
    QStringList buffer;
    RuleTable table(smallDefinition(), buffer);
    RuleList &list = table.list(0);
    fillRow(list, 1, {"N", "10", "hidden", "pump"});
    table.copyRow(0, 1);
    QCOMPARE(buffer, QStringList({"N", "10", "hidden", "pump"}));
    QVERIFY(table.copied(0));
    QVERIFY(!table.copied(1));

    int asked = 0;
    auto answer = [&asked](bool yes) {
        return [&asked, yes] {
            ++asked;
            return yes;
        };
    };
    // Row 2 holds only its check box "Y": not in use, so no question.
    QCOMPARE(table.pasteRow(0, 2, answer(false)), RuleTable::PasteResult::Pasted);
    QCOMPARE(asked, 0);
    QCOMPARE(list.rowTexts(2), QStringList({"N", "10", "hidden", "pump"}));

    // Row 3 in use through a hidden cell alone: asked; No keeps it, Yes overwrites.
    list.setCell(3, 3, "kept");
    QCOMPARE(table.pasteRow(0, 3, answer(false)), RuleTable::PasteResult::Declined);
    QCOMPARE(list.rowTexts(3), QStringList({"Y", "", "kept", ""}));
    QCOMPARE(table.pasteRow(0, 3, answer(true)), RuleTable::PasteResult::Pasted);
    QCOMPARE(asked, 2);
    QCOMPARE(list.rowTexts(3), QStringList({"N", "10", "hidden", "pump"}));
    // Blanks alone do not make a row in use.
    list.setCell(4, 4, "  \t");
    QCOMPARE(table.pasteRow(0, 4, answer(false)), RuleTable::PasteResult::Pasted);
    QCOMPARE(asked, 2);
    QVERIFY(table.copied(0));
    QCOMPARE(buffer.size(), 4);
}

void TestRuleTable::pasteNeedsACopyOfThisListAndSize()
{
    QStringList buffer;
    RuleTable table(smallDefinition(), buffer);
    auto never = [] {
        qFatal("no question expected");
        return false;
    };
    // Nothing copied in this opening, although the buffer holds a row of the right size.
    buffer = QStringList({"Y", "1", "", ""});
    QCOMPARE(table.pasteRow(0, 1, never), RuleTable::PasteResult::NotCopied);
    // Copied on the other page.
    table.list(1).setCell(1, 2, "5");
    table.list(1).setCell(1, 1, "N");
    table.copyRow(1, 1);
    QCOMPARE(table.pasteRow(0, 1, never), RuleTable::PasteResult::NotCopied);
    QCOMPARE(table.pasteRow(1, 2, never), RuleTable::PasteResult::Pasted);
    QCOMPARE(table.list(1).rowTexts(2), QStringList({"N", "5"}));
    // Another window replaced the shared buffer with a row of another size.
    QStringList &shared = buffer;
    RuleTable other(smallDefinition(), shared);
    other.copyRow(0, 1);
    QCOMPARE(table.pasteRow(1, 3, never), RuleTable::PasteResult::WrongSize);
    QCOMPARE(table.list(1).rowTexts(3), QStringList({"Y", ""}));
    // A new opening forgets the copy.
    table.prepare();
    QCOMPARE(table.pasteRow(1, 3, never), RuleTable::PasteResult::NotCopied);
}

void TestRuleTable::ruleCountStopsAtFirstEmptyKey_data()
{
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<int>("rules");
    QTest::newRow("empty first row") << QStringList({"", "2", "3"}) << 0;
    QTest::newRow("gap ends the list") << QStringList({"1", "2", "", "4"}) << 2;
    QTest::newRow("blanks count as empty") << QStringList({"1", " \t", "3"}) << 1;
    QTest::newRow("full") << QStringList({"1", "2", "3", "4", "5"}) << 5;
    QTest::newRow("any text is a key") << QStringList({"abc", "-"}) << 2;
}

void TestRuleTable::ruleCountStopsAtFirstEmptyKey()
{
    QFETCH(QStringList, keys);
    QFETCH(int, rules);
    QStringList buffer;
    RuleTable table(smallDefinition(), buffer);
    for (int r = 1; r <= keys.size(); ++r) {
        table.list(0).setCell(r, 2, keys[r - 1]);
        table.list(0).setCell(r, 4, "name");
    }
    QCOMPARE(table.list(0).ruleCount(), rules);
}

void TestRuleTable::enterKeyTargets()
{
    QStringList buffer;
    RuleTable table(smallDefinition(), buffer);
    RuleList &list = table.list(0);
    using Cell = std::pair<int, int>;
    QCOMPARE(list.nextCell(1, 1), Cell(1, 2));
    QCOMPARE(list.nextCell(1, 2), Cell(1, 3));
    list.setColumnHidden(3, true);
    QCOMPARE(list.nextCell(1, 2), Cell(1, 4));
    QCOMPARE(list.nextCell(1, 4), Cell(2, 1));
    QCOMPARE(list.nextCell(5, 4), Cell(1, 1));
}

void TestRuleTable::checkBoxCells()
{
    QStringList buffer;
    RuleTable table(smallDefinition(), buffer);
    RuleList &list = table.list(0);
    const QModelIndex box = list.index(0, 1);
    QCOMPARE(box.data(Qt::CheckStateRole).toInt(), int(Qt::Checked));
    QVERIFY(!box.data(Qt::DisplayRole).isValid());
    for (const QString text : {"y", "yes", "", " Y"}) {
        list.setCell(1, 1, text);
        QCOMPARE(box.data(Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
        QCOMPARE(list.cell(1, 1), text); // kept until clicked
    }
    QVERIFY(list.setData(box, Qt::Checked, Qt::CheckStateRole));
    QCOMPARE(list.cell(1, 1), QString("Y"));
    QVERIFY(list.setData(box, Qt::Unchecked, Qt::CheckStateRole));
    QCOMPARE(list.cell(1, 1), QString("N"));
    QVERIFY(!list.setData(box, "free text", Qt::EditRole));
    QVERIFY(list.flags(box) & Qt::ItemIsUserCheckable);
    QVERIFY(!(list.flags(box) & Qt::ItemIsEditable));
    QVERIFY(!(list.flags(list.index(0, 0)) & Qt::ItemIsEditable));
    QVERIFY(list.flags(list.index(0, 2)) & Qt::ItemIsEditable);
    QCOMPARE(list.index(0, 1).data(RuleList::TintRole).toUInt(), tint::kEnable);
    QCOMPARE(list.index(0, 0).data(RuleList::TintRole).toUInt(), tint::kNoTint);
}

void TestRuleTable::savesExactDocument()
{
    QStringList buffer;
    RuleTable table(smallDefinition(), buffer);
    fillRow(table.list(0), 1, {"Y", " 1", "0", "a \"b\" & <c>"});
    fillRow(table.list(0), 2, {"N", "2", "", ""});
    fillRow(table.list(0), 4, {"Y", "4", "", "below the gap"});
    const QByteArray expected = "<Root>\n"
                                "    <First>\n"
                                "        <row On=\"Y\" Key=\" 1\" Hidden=\"0\" Name=\"a &quot;b&quot; &amp; &lt;c&gt;\"/>\n"
                                "        <row On=\"N\" Key=\"2\" Hidden=\"\" Name=\"\"/>\n"
                                "    </First>\n"
                                "    <Second/>\n"
                                "</Root>\n"
                                "<!--SW_VERSION = 1.000-->\n";
    QCOMPARE(table.document(), expected);

    // What is written reads back as it was.
    QTemporaryDir dir;
    const QString path = dir.filePath("rules.xml");
    QCOMPARE(table.save(path), std::nullopt);
    QCOMPARE(readFile(path), expected);
    RuleTable again(smallDefinition(), buffer);
    QCOMPARE(again.load(path), std::nullopt);
    QCOMPARE(again.list(0).rowTexts(1), table.list(0).rowTexts(1));
    QCOMPARE(again.list(0).ruleCount(), 2);
}

void TestRuleTable::loadsWithDefaultsAndIgnoresExtraRows()
{
    QStringList buffer;
    RuleTable table(smallDefinition(), buffer);
    QByteArray file = "<Other><Second>";
    for (int i = 0; i < 8; ++i)
        file += "<r Key=\"" + QByteArray::number(i) + "\"/>";
    file += "</Second><First><!-- note --><row Key=\"1\" Extra=\"x\"/>"
            "<anything On=\"N\" Key=\"2\" Hidden=\"9\" Name=\"" + QByteArray(100000, 'n') + "\"/>"
            "</First></Other>";
    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath("f.xml"), file));
    QCOMPARE(table.load(dir.filePath("f.xml")), std::nullopt);
    // Missing attributes take the column's value for that case; any element name is a rule.
    QCOMPARE(table.list(0).rowTexts(1), QStringList({"Y", "1", "", ""}));
    QCOMPARE(table.list(0).cell(2, 3), QString("9"));
    QCOMPARE(table.list(0).cell(2, 4).size(), 100000);
    QCOMPARE(table.list(0).rowTexts(3), QStringList({"Y", "", "", ""}));
    // Only as many rules as the grid holds.
    QCOMPARE(table.list(1).ruleCount(), 5);
    QCOMPARE(table.list(1).cell(5, 2), QString("4"));
    QCOMPARE(table.list(1).cell(5, 1), QString(""));
    QVERIFY(!table.document().contains("Key=\"5\""));
    QVERIFY(!table.document().contains("Extra"));

    // A file without list elements leaves both grids as prepared.
    RuleTable empty(smallDefinition(), buffer);
    QVERIFY(writeFile(dir.filePath("g.xml"), "<Root/>"));
    QCOMPARE(empty.load(dir.filePath("g.xml")), std::nullopt);
    QCOMPARE(empty.list(0).ruleCount(), 0);
    QCOMPARE(empty.load(dir.filePath("missing.xml")), std::nullopt);
}

void TestRuleTable::loadRefusesMalformedFileAndKeepsGrids()
{
    QStringList buffer;
    RuleTable table(smallDefinition(), buffer);
    table.list(0).setCell(1, 2, "kept");
    QTemporaryDir dir;
    const QString path = dir.filePath("bad.xml");
    QVERIFY(writeFile(path, "<Root><First><row Key=\"1\"></First>"));
    const std::optional<QString> failure = table.load(path);
    QVERIFY(failure.has_value());
    QVERIFY2(failure->startsWith(path + ": ") && failure->contains("line 1"), qPrintable(*failure));
    QCOMPARE(table.list(0).cell(1, 2), QString("kept"));
}

void TestRuleTable::saveFailureLeavesOldFile()
{
    QStringList buffer;
    RuleTable table(smallDefinition(), buffer);
    table.list(0).setCell(1, 2, "1");
    QTemporaryDir dir;
    // A folder in the way of the file: the write fails and the folder is untouched.
    const QString path = dir.filePath("taken");
    QVERIFY(QDir(dir.path()).mkdir("taken"));
    QVERIFY(table.save(path).has_value());
    QVERIFY(QFileInfo(path).isDir());
    QVERIFY(table.save(dir.filePath("no/such/folder/f.xml")).has_value());
}

void TestRuleTable::checkerRangesAndMessages()
{
    QStringList buffer;
    RuleTable table(smallDefinition(), buffer);
    RuleList &list = table.list(0);
    const QStringList keys = {"12", " 12", "12 ", "0x1F", "$1F", "x1F", "-1"};
    for (int r = 1; r <= 5; ++r)
        list.setCell(r, 2, keys[r - 1]);
    Faults faults;
    RuleChecker checker(list, "Error row ", faults);
    QList<qint32> values;
    checker.forEachRule([&](int row) {
        values.append(checker.value(row, 2));
        checker.range(row, 2, 12, 31, "!! bad");
    });
    QCOMPARE(values, QList<qint32>({12, 12, -1, 31, 31}));
    QCOMPARE(faults, Faults({{"First", 3, "Error row 3!! bad"}}));
}

QTEST_APPLESS_MAIN(TestRuleTable)
#include "test_rule_table.moc"
