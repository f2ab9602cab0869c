#include "canopen/canopen_windows.h"
#include "common/messages.h"
#include "lang/text_table.h"
#include "test_support.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace swz;
using testing_support::readFile;
using testing_support::writeFile;

class TestCanopenWindows : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { uiTexts().loadBuiltin(); }
    void windows_data();
    void windows();
};

void TestCanopenWindows::windows_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("secondPage");
    QTest::addColumn<int>("rules");
    QTest::addColumn<QStringList>("rule");
    QTest::addColumn<QString>("firstHint");
    QTest::newRow("sdo server") << 0 << "TFSet_SDO_Server_Access" << QSize(749, 337)
                                << "Set SDO Server Access" << "TS_SDO_Write" << 500
                                << QStringList({"0x2000", "1", "1", "7"})
                                << "Insert the Index of SDO";
    QTest::newRow("sdo client") << 1 << "TFSet_SDO_Client_Access" << QSize(798, 337)
                                << "Set SDO Client Access" << "TS_SDO_Write" << 256
                                << QStringList({"5", "4096", "1", "1", "100", "7"})
                                << "Insert the ID Device of CANopen Device of SDO Request";
    QTest::newRow("pdo") << 2 << "TFSet_PDO_Access" << QSize(798, 337) << "Set PDO Access"
                         << "TS_Transmit_PDO" << 30
                         << QStringList({"0x181", "1", "7", "", "", "", "", "", "", "", "0"})
                         << "Insert the CobID of the CANopen PDO in Receive";
}

void TestCanopenWindows::windows()
{
    QFETCH(int, kind);
    QFETCH(QString, name);
    QFETCH(QSize, size);
    QFETCH(QString, title);
    QFETCH(QString, secondPage);
    QFETCH(int, rules);
    QFETCH(QStringList, rule);
    QFETCH(QString, firstHint);

    QTemporaryDir dir;
    QStringList buffer;
    const QString path = dir.filePath("rules.xml");
    RuleTableContext context;
    context.rowBuffer = &buffer;
    context.text = [](int index) { return uiText(index); };
    context.jumpOnEnter = [] { return true; };
    context.autoSizeOnDoubleClick = [] { return false; };
    context.sectionFile = [path] { return path; };
    std::unique_ptr<CanopenRulesWindow> window;
    if (kind == 0)
        window = std::make_unique<TFSet_SDO_Server_Access>(context);
    else if (kind == 1)
        window = std::make_unique<TFSet_SDO_Client_Access>(context);
    else
        window = std::make_unique<TFSet_PDO_Access>(context);

    QCOMPARE(window->objectName(), name);
    QCOMPARE(window->size(), size);
    QCOMPARE(window->windowTitle(), title);
    QVERIFY(window->findChild<QTabWidget *>("PageControl1"));
    QVERIFY(window->findChild<QWidget *>(secondPage));
    QVERIFY(window->findChild<RuleGridView *>("sga"));
    QVERIFY(window->findChild<RuleGridView *>("sgb"));
    if (kind == 2) {
        QCOMPARE(window->findChild<QPushButton *>("Btn_Cancel")->toolTip(),
                 QString("Exit without save the CANopen PDOs List"));
    }

    MessageRecorder recorder;
    QVERIFY(window->FormShow());
    QVERIFY(recorder.recorded().isEmpty());
    QCOMPARE(window->NByte_IN, 1500);
    RuleList &first = window->table().list(0);
    QCOMPARE(first.ruleCount(), 0);
    QCOMPARE(first.lastRow(), rules);
    QCOMPARE(first.cell(1, 0), QString("1"));
    QCOMPARE(first.cell(rules, 0), QString::number(rules));
    QCOMPARE(first.headerData(1, Qt::Horizontal, Qt::ToolTipRole).toString(), firstHint);

    // An inserted row is entirely empty.
    first.setCell(1, 1, "x");
    window->grid(0)->setCurrentCell(1, 1);
    window->Btn_InsRowClick();
    QCOMPARE(first.rowTexts(1), QStringList(first.dataColumnCount()));

    window->show();
    for (int c = 1; c <= rule.size(); ++c)
        first.setCell(1, c, rule[c - 1]);
    first.setCell(2, 1, "x");
    window->Btn_OK_Click();
    QVERIFY(recorder.lastText().startsWith("Error row 2!! ["));
    QVERIFY(window->isVisible());
    first.setCell(2, 1, "");
    recorder.clear();
    window->Btn_OK_Click();
    QVERIFY(recorder.recorded().isEmpty());
    QCOMPARE(window->result(), int(QDialog::Accepted));
    QCOMPARE(readFile(path).count("<row "), 1);

    // A malformed file keeps the window shut and the file as it was.
    QVERIFY(writeFile(path, "<Broken"));
    QCOMPARE(window->exec(), int(QDialog::Rejected));
    QVERIFY(recorder.lastText().startsWith("Error! Cannot read the file " + path + ": "));
    QCOMPARE(readFile(path), QByteArray("<Broken"));
}

QTEST_MAIN(TestCanopenWindows)
#include "test_canopen_windows.moc"
