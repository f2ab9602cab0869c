#include "common/messages.h"
#include "lang/text_table.h"
#include "lorawan/lora_access_window.h"
#include "test_support.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace swz;
using testing_support::readFile;
using testing_support::writeFile;

namespace {

// The application's side of the window: paths, switches and the row buffer.
struct Environment
{
    QTemporaryDir dir;
    QStringList rowBuffer;
    bool jump = false;
    bool autoSize = false;
    QString accessFile = dir.filePath("LoRaWAN_SetAccess.xml");
    QString parGenFile = dir.filePath("ParGen.xml");

    std::unique_ptr<TFLoRa_Set_Access> window()
    {
        RuleTableContext context;
        context.rowBuffer = &rowBuffer;
        context.text = [](int index) { return uiText(index); };
        context.jumpOnEnter = [this] { return jump; };
        context.autoSizeOnDoubleClick = [this] { return autoSize; };
        context.sectionFile = [this] { return accessFile; };
        return std::make_unique<TFLoRa_Set_Access>(context, [this] { return parGenFile; });
    }

    void setParGen(int payload, const QString &fPort)
    {
        QVERIFY(writeFile(parGenFile, QString("<ParGen><LoRa_Payload_Size>%1</LoRa_Payload_Size>"
                                              "<LoRa_FPort>%2</LoRa_FPort></ParGen>")
                                          .arg(payload)
                                          .arg(fPort)
                                          .toUtf8()));
    }
};

QPushButton *button(QWidget *window, const char *name)
{
    return window->findChild<QPushButton *>(name);
}

QPoint cellCentre(RuleGridView *grid, int gridRow, int column)
{
    return grid->visualRect(grid->model()->index(gridRow - 1, column)).center();
}

} // namespace

class TestLoRaAccessWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { uiTexts().loadBuiltin(); }
    void layoutAndTexts();
    void openingFollowsParGen();
    void unreadableFilesKeepTheWindowClosed();
    void okChecksThenSaves();
    void okReportsWriteFailure();
    void enterKeyJump_data();
    void enterKeyJump();
    void enterKeyInOpenEditor();
    void headerDoubleClick();
    void rowNumberClickSelectsRow();
    void checkBoxClickToggles();
    void rowButtons();
};

void TestLoRaAccessWindow::layoutAndTexts()
{
    Environment env;
    auto window = env.window();
    QCOMPARE(window->objectName(), QString("TFLoRa_Set_Access"));
    QCOMPARE(window->size(), QSize(900, 337));
    QCOMPARE(window->windowTitle(), QString("Set LoRaWAN Access"));
    const char *names[] = {"Btn_OK", "Btn_CopyRow", "Btn_PasteRow"};
    const int lefts[] = {16, 488, 606};
    const char *captions[] = {"OK", "Copy Row", "Paste Row"};
    for (int i = 0; i < 3; ++i) {
        QPushButton *b = button(window.get(), names[i]);
        QVERIFY2(b, names[i]);
        QCOMPARE(b->mapTo(window.get(), QPoint(0, 0)), QPoint(lefts[i], 337 - 40 + 6));
        QCOMPARE(b->size(), QSize(110, 28));
        QCOMPARE(b->text(), QString(captions[i]));
        QCOMPARE(b->accessibleName(), QString(captions[i]));
    }
    auto *pages = window->findChild<QTabWidget *>("PC_LoRa");
    QVERIFY(pages);
    QCOMPARE(pages->tabText(0), QString("LoRaWAN Uplink"));
    QCOMPARE(pages->widget(1)->objectName(), QString("TS_LoRa_Downlink"));
    auto *up = window->findChild<RuleGridView *>("ACG_LoRa_Uplink");
    QVERIFY(up);
    QCOMPARE(up->model()->headerData(9, Qt::Horizontal).toString(), QString("Mnemonic"));
    QCOMPARE(up->model()->headerData(2, Qt::Horizontal, Qt::ToolTipRole).toString(),
             QString("Insert the Start Byte of LoRaWAN Uplink Rule"));
    QVERIFY(!up->model()->headerData(0, Qt::Horizontal, Qt::ToolTipRole).isValid());
    QCOMPARE(up->model()->headerData(8, Qt::Horizontal, Qt::ToolTipRole).toString(),
             QString("Port Field (1-223)"));
    QCOMPARE(up->columnWidth(0), 40);
    QCOMPARE(up->columnWidth(9), 280);
    QCOMPARE(window->findChild<QWidget *>("L_SW_Code")->property("text").toString(),
             QString("SWZ8K20"));
}

void TestLoRaAccessWindow::openingFollowsParGen()
{
    Environment env;
    auto window = env.window();
    MessageRecorder recorder;
    window->pages()->setCurrentIndex(1);
    QVERIFY(window->FormShow());
    QCOMPARE(window->pages()->currentIndex(), 0);
    QCOMPARE(recorder.recorded().size(), 1);
    QCOMPARE(recorder.recorded().first().kind, MessageService::Kind::Warning);
    QCOMPARE(recorder.lastText(),
             QString("Warning!! Max Payload Size not Set Up. Set it in \"Set Communication\" section"));
    QVERIFY(window->FPortFixed());
    QVERIFY(window->grid(0)->isColumnHidden(8));
    QVERIFY(window->grid(1)->isColumnHidden(4));
    QCOMPARE(window->grid(0)->model()->rowCount(), 256);

    env.setParGen(51, " variable ");
    recorder.clear();
    QVERIFY(window->FormShow());
    QVERIFY(recorder.recorded().isEmpty());
    QCOMPARE(window->MaxPayloadSize(), 51);
    QVERIFY(!window->grid(0)->isColumnHidden(8));
    QVERIFY(!window->grid(1)->isColumnHidden(4));
    QCOMPARE(window->grid(1)->model()->rowCount(), 223);
    QCOMPARE(window->grid(1)->model()->index(222, 0).data().toString(), QString("222"));
}

void TestLoRaAccessWindow::unreadableFilesKeepTheWindowClosed()
{
    Environment env;
    auto window = env.window();
    MessageRecorder recorder;
    env.setParGen(51, "Fixed");
    QVERIFY(writeFile(env.accessFile, "<LoRaWAN_Set_Access><LoRaWAN_Uplink>"));
    // exec() returns at once: the window never shows empty grids that OK would write.
    QCOMPARE(window->exec(), int(QDialog::Rejected));
    QVERIFY(!window->isVisible());
    QCOMPARE(recorder.recorded().size(), 1);
    QCOMPARE(recorder.recorded().first().kind, MessageService::Kind::Error);
    QVERIFY2(recorder.lastText().startsWith("Error! Cannot read the file " + env.accessFile + ": "),
             qPrintable(recorder.lastText()));
    QCOMPARE(readFile(env.accessFile), QByteArray("<LoRaWAN_Set_Access><LoRaWAN_Uplink>"));

    recorder.clear();
    QVERIFY(writeFile(env.parGenFile, "<ParGen"));
    QCOMPARE(window->exec(), int(QDialog::Rejected));
    QVERIFY(recorder.lastText().startsWith("Error! Cannot read the file " + env.parGenFile));
}

void TestLoRaAccessWindow::okChecksThenSaves()
{
    Environment env;
    env.setParGen(51, "Variable");
    auto window = env.window();
    MessageRecorder recorder;
    QVERIFY(window->FormShow());
    RuleList &up = window->table().list(0);
    up.setCell(1, lora::kStartByte, "0");
    up.setCell(1, lora::kNumByte, "50");
    up.setCell(1, lora::kUpFPort, "5");
    window->show();
    button(window.get(), "Btn_OK")->click();
    QCOMPARE(recorder.lastText(),
             QString("Error row 1!! [LoraWAN Uplink] Number Byte must be between 0 and 49"));
    QCOMPARE(recorder.recorded().first().kind, MessageService::Kind::Error);
    QVERIFY(window->isVisible());
    QVERIFY(!QFile::exists(env.accessFile));
    QCOMPARE(up.cell(1, lora::kNumByte), QString("50"));

    up.setCell(1, lora::kNumByte, "49");
    recorder.clear();
    button(window.get(), "Btn_OK")->click();
    QVERIFY(recorder.recorded().isEmpty());
    QVERIFY(!window->isVisible());
    QCOMPARE(window->result(), int(QDialog::Accepted));
    QVERIFY(readFile(env.accessFile).contains("StartByte=\"0\" NumByte=\"49\""));

    // The next opening in fixed mode hides the FPort and keeps it.
    env.setParGen(51, "Fixed");
    QVERIFY(window->FormShow());
    QCOMPARE(window->table().list(0).cell(1, lora::kUpFPort), QString("5"));
    QVERIFY(window->Controllo_dati());
}

void TestLoRaAccessWindow::okReportsWriteFailure()
{
    Environment env;
    env.setParGen(51, "Fixed");
    // A missing folder reads as no file, but cannot take the new one.
    env.accessFile = env.dir.filePath("gone/LoRaWAN_SetAccess.xml");
    auto window = env.window();
    MessageRecorder recorder;
    QVERIFY(window->FormShow());
    window->table().list(1).setCell(1, lora::kStartByte, "7");
    window->table().list(1).setCell(1, lora::kNumByte, "1");
    window->show();
    button(window.get(), "Btn_OK")->click();
    QVERIFY2(recorder.lastText().startsWith("Error! Cannot write the file " + env.accessFile + "\n"),
             qPrintable(recorder.lastText()));
    QVERIFY(window->isVisible());
    QCOMPARE(window->table().list(1).cell(1, lora::kStartByte), QString("7"));
}

void TestLoRaAccessWindow::enterKeyJump_data()
{
    QTest::addColumn<bool>("jump");
    QTest::addColumn<bool>("fixed");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("toRow");
    QTest::addColumn<int>("toColumn");
    QTest::newRow("off: stays") << false << true << 1 << 2 << 1 << 2;
    QTest::newRow("next column") << true << true << 1 << 2 << 1 << 3;
    QTest::newRow("over the hidden FPort") << true << true << 3 << 7 << 3 << 9;
    QTest::newRow("into the shown FPort") << true << false << 3 << 7 << 3 << 8;
    QTest::newRow("last column to next row") << true << true << 3 << 9 << 4 << 1;
    QTest::newRow("last row to row 1") << true << true << 256 << 9 << 1 << 1;
    QTest::newRow("variable mode last row") << true << false << 223 << 9 << 1 << 1;
}

void TestLoRaAccessWindow::enterKeyJump()
{
    QFETCH(bool, jump);
    QFETCH(bool, fixed);
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(int, toRow);
    QFETCH(int, toColumn);
    Environment env;
    env.setParGen(51, fixed ? "Fixed" : "Variable");
    env.jump = jump;
    auto window = env.window();
    QVERIFY(window->FormShow());
    window->show();
    RuleGridView *grid = window->grid(0);
    grid->setFocus();
    grid->setCurrentCell(row, column);
    QTest::keyClick(grid, Qt::Key_Return);
    QCOMPARE(grid->currentIndex().row() + 1, toRow);
    QCOMPARE(grid->currentIndex().column(), toColumn);
    QVERIFY(window->isVisible()); // Enter never closes the window
}

void TestLoRaAccessWindow::enterKeyInOpenEditor()
{
    Environment env;
    env.setParGen(51, "Fixed");
    env.jump = true;
    auto window = env.window();
    QVERIFY(window->FormShow());
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    RuleGridView *grid = window->grid(0);
    grid->setFocus();
    grid->setCurrentCell(1, 2);
    QTest::keyClick(grid, Qt::Key_F2);
    QWidget *editor = QApplication::focusWidget();
    QVERIFY(editor && editor != grid);
    QTest::keyClicks(editor, "12");
    QTest::keyClick(editor, Qt::Key_Return);
    QCOMPARE(window->table().list(0).cell(1, 2), QString("12"));
    QCOMPARE(grid->currentIndex().column(), 3);
}

void TestLoRaAccessWindow::headerDoubleClick()
{
    Environment env;
    env.setParGen(51, "Fixed");
    auto window = env.window();
    QVERIFY(window->FormShow());
    window->table().list(0).setCell(2, 9, QString(60, 'W'));
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    RuleGridView *grid = window->grid(0);
    QHeaderView *header = grid->horizontalHeader();
    auto doubleClick = [&](int column, bool onBorder) {
        const int x = onBorder ? header->sectionViewportPosition(column) + header->sectionSize(column) - 1
                               : header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
        QTest::mouseDClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
    };
    doubleClick(2, true);
    doubleClick(3, false);
    QCOMPARE(grid->columnWidth(2), 80);
    QCOMPARE(grid->columnWidth(3), 80);

    env.autoSize = true;
    doubleClick(3, false);
    QCOMPARE(grid->columnWidth(3), header->fontMetrics().horizontalAdvance("Num. Byte"));
    window->Grid_Header_DblClick(0, 9);
    QCOMPARE(grid->columnWidth(9), grid->fontMetrics().horizontalAdvance(QString(60, 'W')));
    // A double-click on a data cell opens the editor at most; the width stays.
    const int before = grid->columnWidth(2);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cellCentre(grid, 1, 2));
    QCOMPARE(grid->columnWidth(2), before);
}

void TestLoRaAccessWindow::rowNumberClickSelectsRow()
{
    Environment env;
    env.setParGen(51, "Fixed");
    auto window = env.window();
    MessageRecorder recorder;
    QVERIFY(window->FormShow());
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    RuleGridView *grid = window->grid(0);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cellCentre(grid, 3, 0));
    QCOMPARE(grid->currentGridRow(), 3);
    const QModelIndexList selected = grid->selectionModel()->selectedIndexes();
    QCOMPARE(selected.size(), 9);
    for (const QModelIndex &index : selected)
        QCOMPARE(index.row(), 2);
    // The delete question names the grid row, one more than the number shown.
    QCOMPARE(grid->model()->index(2, 0).data().toString(), QString("2"));
    button(window.get(), "Btn_DelRow")->click();
    QCOMPARE(recorder.lastText(), QString("Are you sure to delete the Row number 3"));
}

void TestLoRaAccessWindow::checkBoxClickToggles()
{
    Environment env;
    env.setParGen(51, "Fixed");
    auto window = env.window();
    QVERIFY(window->FormShow());
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    RuleGridView *grid = window->grid(0);
    RuleList &up = window->table().list(0);
    up.setCell(1, lora::kUpOnCmd, "y");
    QCOMPARE(up.index(0, lora::kUpOnCmd).data(Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cellCentre(grid, 1, lora::kUpOnCmd));
    QCOMPARE(up.cell(1, lora::kUpOnCmd), QString("Y"));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cellCentre(grid, 1, lora::kUpOnCmd));
    QCOMPARE(up.cell(1, lora::kUpOnCmd), QString("N"));
    // Beside the box the click only selects the cell.
    const QRect enable = grid->visualRect(up.index(0, lora::kEnable));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, enable.topLeft() + QPoint(2, 2));
    QCOMPARE(up.cell(1, lora::kEnable), QString("Y"));
    QCOMPARE(grid->currentIndex(), up.index(0, lora::kEnable));
}

void TestLoRaAccessWindow::rowButtons()
{
    Environment env;
    env.setParGen(51, "Fixed");
    auto window = env.window();
    MessageRecorder recorder;
    QVERIFY(window->FormShow());
    window->show();
    RuleList &up = window->table().list(0);
    up.setCell(1, lora::kStartByte, "1");
    up.setCell(2, lora::kStartByte, "2");
    window->grid(0)->setCurrentCell(1, 2);
    button(window.get(), "Btn_InsRow")->click();
    QCOMPARE(up.rowTexts(1), QStringList({"Y", "", "", "", "", "", "", "", ""}));
    QCOMPARE(up.cell(2, lora::kStartByte), QString("1"));
    window->grid(0)->setCurrentCell(2, 3);
    button(window.get(), "Btn_CopyRow")->click();
    QVERIFY(window->Do_Copy_Uplink());
    QCOMPARE(env.rowBuffer.size(), 9);

    window->pages()->setCurrentIndex(1);
    button(window.get(), "Btn_PasteRow")->click();
    QCOMPARE(recorder.lastText(), QString("Error!!! Copy a valid row before Paste it"));

    window->pages()->setCurrentIndex(0);
    window->grid(0)->setCurrentCell(3, 1);
    recorder.queueAnswer(false);
    button(window.get(), "Btn_PasteRow")->click(); // row 3 holds "2": asked, No
    QCOMPARE(recorder.lastText(), QString("Row Already used. Do you want to overwrite the values?"));
    QCOMPARE(up.cell(3, lora::kStartByte), QString("2"));
    recorder.queueAnswer(true);
    button(window.get(), "Btn_DelRow")->click();
    QCOMPARE(recorder.lastText(), QString("Are you sure to delete the Row number 3"));
    QCOMPARE(up.cell(2, lora::kStartByte), QString("1"));
    QCOMPARE(up.cell(3, lora::kStartByte), QString());
    QCOMPARE(up.rowTexts(256), QStringList({"", "", "", "", "", "", "", "", ""}));

    // A new opening clears the copy flags.
    QVERIFY(window->FormShow());
    QVERIFY(!window->Do_Copy_Uplink());
}

QTEST_MAIN(TestLoRaAccessWindow)
#include "test_lora_access_window.moc"
