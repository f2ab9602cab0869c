#include "app/shell.h"
#include "common/messages.h"
#include "lang/text_table.h"
#include "params/par_gen_window.h"
#include "test_support.h"
#include "ui_support.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>

using namespace swz;
using testing_support::readFile;
using testing_support::writeFile;

class TestParGenWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { uiTexts().loadBuiltin(); }
    void init();
    void cleanup();

    void controlsCarryNamesAndTexts();
    void subBandRowFollowsTheBand();
    void activationSwapsRows();
    void bandChangeResetsTheDataRate();
    void dhcpGreysTheFixedAddress();
    void keyboardOrderFollowsThePanels();
    void octetChain_data();
    void octetChain();
    void hexadecimalFilter();
    void wheelScrollsThePanels();
    void foldingAPanelMovesTheOthers();
    void okSavesAndCloses();
    void okWithAFaultKeepsTheWindowOpen();
    void cancelDiscardsAndTheNextShowReloads();
    void escapeKeepsEdits();
    void malformedFileDoesNotOpen();
    void failedWriteKeepsTheWindowOpen();

private:
    template<typename T>
    T *child(const char *name) const
    {
        T *widget = m_window->findChild<T *>(QString::fromLatin1(name));
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }
    QWidget *panel(int i) const
    {
        const char *names[] = {"CP_Ethernet_Connection", "CP_LoRaWAN", "CP_CANopen", "CP_Ethernet"};
        return child<QWidget>(names[i]);
    }
    void chooseText(const char *combo, const QString &text)
    {
        QComboBox *box = child<QComboBox>(combo);
        box->setCurrentIndex(box->findText(text));
    }

    QTemporaryDir m_dir;
    Shell m_shell;
    TFParGen *m_window = nullptr;
};

void TestParGenWindow::init()
{
    QVERIFY(m_dir.isValid());
    m_shell.files.parGen = m_dir.filePath(QStringLiteral("ParGen.xml"));
    m_window = new TFParGen(m_shell);
    QVERIFY(m_window->FormShow());
}

void TestParGenWindow::cleanup()
{
    delete m_window;
    m_window = nullptr;
    QFile::remove(m_shell.files.parGen);
}

void TestParGenWindow::controlsCarryNamesAndTexts()
{
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Set Communication"));
    QCOMPARE(m_window->width(), 460);
    QCOMPARE(m_window->height(), 700);
    const QStringList captions{"1. Ethernet Connection", "2. LoRaWAN", "3. CANopen", "4. Ethernet"};
    for (int i = 0; i < 4; ++i)
        QCOMPARE(panel(i)->findChild<QToolButton *>()->text(), captions[i]);
    QCOMPARE(child<QLabel>("L_SW_Code")->text(), QStringLiteral("SWZ8K20"));
    QCOMPARE(child<QPushButton>("Btn_OK")->toolTip(),
             QStringLiteral("Confirm and Save the current configuration"));
    QCOMPARE(child<QComboBox>("CB_LoRa_RF_Band")->accessibleName(), QStringLiteral("RF Band"));
    QCOMPARE(child<QComboBox>("CB_LoRa_RF_Band")->toolTip(),
             QStringLiteral("Select the RF Band of LoRaWAN"));
    QCOMPARE(child<QLineEdit>("E_Ethernet_SM3")->accessibleName(), QStringLiteral("SubNet Mask 3"));
    QCOMPARE(child<QLineEdit>("E_Ethernet_SM3")->toolTip(),
             QStringLiteral("Insert Third byte of SubNet Mask"));
    QCOMPARE(child<QCheckBox>("CB_CANopen_NetOpe")->text(),
             QStringLiteral("Network Start at Start-up. Delay (seconds)"));
    QCOMPARE(child<QLineEdit>("E_EthConn_Device_Name")->maxLength(), 31);
    QCOMPARE(child<QLineEdit>("E_LoRa_Network_Session_Key")->maxLength(), 32);
    QCOMPARE(child<QLineEdit>("E_LoRa_Device_Address")->maxLength(), 8);
    QVERIFY(child<QLineEdit>("E_LoRa_Payload_Size")->isReadOnly());
    QVERIFY(!child<QCheckBox>("CB_EthConn_En_DHCP_WiFi")->isEnabled());
    QVERIFY(!child<QComboBox>("CB_LoRa_DataRate")->isEditable());
    QCOMPARE(child<QComboBox>("CB_CANopen_Baudrate")->count(), 10);

    // A new project: AS923 at data rate 6 with its payload.
    QCOMPARE(m_window->values().LoRa_DataRate, QStringLiteral("6\t- LoRa: SF7/250kHz 11000 [bit/s]"));
    QCOMPARE(child<QLineEdit>("E_LoRa_Payload_Size")->text(), QStringLiteral("230"));
    QCOMPARE(child<QComboBox>("CB_CANopen_Baudrate")->currentText(), QStringLiteral("250K"));
}

void TestParGenWindow::subBandRowFollowsTheBand()
{
    QLabel *networkLabel = child<QLabel>("L_LoRa_Network_Type");
    QComboBox *network = child<QComboBox>("CB_LoRa_Network_Type");
    QComboBox *band = child<QComboBox>("CB_LoRa_RF_Band");
    QComboBox *subBand = child<QComboBox>("CB_LoRa_FrequencySubBand");
    const int networkTop = networkLabel->y();
    QCOMPARE(networkTop, child<QLabel>("L_LoRa_RF_Band")->y() + 28);
    QCOMPARE(network->y(), networkTop - 3);
    QVERIFY(subBand->isHidden());

    chooseText("CB_LoRa_RF_Band", QStringLiteral("US915"));
    QVERIFY(!subBand->isHidden());
    QCOMPARE(child<QLabel>("L_LoRa_FrequencySubBand")->y(), networkTop);
    QCOMPARE(subBand->y(), networkTop - 3);
    QCOMPARE(networkLabel->y(), networkTop + 28);
    QCOMPARE(child<QLabel>("L_LoRa_FPort")->y(), child<QLabel>("L_LoRa_Application_Session_Key")->y() + 28);
    subBand->setCurrentIndex(subBand->findText(QStringLiteral("7")));

    chooseText("CB_LoRa_RF_Band", QStringLiteral("US915-Hybrid"));
    QVERIFY(!subBand->isHidden());
    chooseText("CB_LoRa_RF_Band", QStringLiteral("EU868"));
    QVERIFY(subBand->isHidden());
    QCOMPARE(networkLabel->y(), networkTop);
    QCOMPARE(band->currentText(), QStringLiteral("EU868"));
    QCOMPARE(m_window->values().LoRa_Frequency_SubBand, QStringLiteral("7"));
}

void TestParGenWindow::activationSwapsRows()
{
    const int loRaHeight = panel(1)->height();
    const int canOpenTop = panel(2)->y();
    QVERIFY(!child<QLineEdit>("E_LoRa_Device_Address")->isHidden());
    QVERIFY(child<QLineEdit>("E_LoRa_Application_Key")->isHidden());
    // A panel ends 12 pixels below its last control, under the header.
    QCOMPARE(loRaHeight, child<QComboBox>("CB_LoRa_FPort")->geometry().bottom() + 1 + 24 + 12);

    chooseText("CB_LoRa_Activation_Method", QStringLiteral("Over-the-Air Activation [OTAA]"));
    QVERIFY(child<QLineEdit>("E_LoRa_Device_Address")->isHidden());
    QVERIFY(child<QLineEdit>("E_LoRa_Network_Session_Key")->isHidden());
    QVERIFY(child<QLineEdit>("E_LoRa_Application_Session_Key")->isHidden());
    QVERIFY(!child<QLineEdit>("E_LoRa_Application_Key")->isHidden());
    QCOMPARE(child<QLabel>("L_LoRa_Application_Key")->y(),
             child<QLabel>("L_LoRa_Activation_Method")->y() + 28);
    QCOMPARE(panel(1)->height(), loRaHeight - 56);
    QCOMPARE(panel(2)->y(), canOpenTop - 56);
    QCOMPARE(panel(3)->y(), panel(2)->y() + panel(2)->height());
}

void TestParGenWindow::bandChangeResetsTheDataRate()
{
    QComboBox *dataRate = child<QComboBox>("CB_LoRa_DataRate");
    QLineEdit *payload = child<QLineEdit>("E_LoRa_Payload_Size");
    chooseText("CB_LoRa_RF_Band", QStringLiteral("EU868"));
    dataRate->setCurrentIndex(5);
    QCOMPARE(payload->text(), QStringLiteral("222"));
    chooseText("CB_LoRa_RF_Band", QStringLiteral("KR920"));
    QCOMPARE(dataRate->currentIndex(), 0);
    QCOMPARE(dataRate->count(), 6);
    QCOMPARE(payload->text(), QStringLiteral("51"));
    chooseText("CB_LoRa_RF_Band", QStringLiteral("AU915"));
    dataRate->setCurrentIndex(7);
    QCOMPARE(payload->text(), QStringLiteral("33"));
    // Adaptive data rate leaves list and payload alone.
    QTest::mouseClick(child<QCheckBox>("CB_LoRa_Adaptive_DataRate"), Qt::LeftButton);
    QCOMPARE(dataRate->currentIndex(), 7);
    QCOMPARE(payload->text(), QStringLiteral("33"));
}

void TestParGenWindow::dhcpGreysTheFixedAddress()
{
    QCheckBox *dhcp = child<QCheckBox>("CB_EthConn_En_DHCP_Cable");
    dhcp->click();
    for (const char *name : {"E_Ethernet_IP1", "E_Ethernet_SM4", "E_Ethernet_GAT2"})
        QVERIFY(!child<QLineEdit>(name)->isEnabled());
    QVERIFY(!child<QCheckBox>("CB_Ethernet_En_GAT")->isEnabled());
    QVERIFY(child<QLineEdit>("E_EthConn_Pri_DNS_IP1")->isEnabled());
    dhcp->click();
    QVERIFY(child<QLineEdit>("E_Ethernet_IP1")->isEnabled());
    QVERIFY(child<QCheckBox>("CB_Ethernet_En_GAT")->isEnabled());
}

void TestParGenWindow::keyboardOrderFollowsThePanels()
{
    QStringList order;
    QWidget *start = panel(0)->findChild<QToolButton *>();
    QWidget *widget = start;
    do {
        if (!widget->objectName().isEmpty())
            order.append(widget->objectName());
        widget = widget->nextInFocusChain();
    } while (widget != start);
    auto position = [&order](const char *name) { return order.indexOf(QString::fromLatin1(name)); };
    const char *expected[] = {"CP_Ethernet_Connection_Header", "E_EthConn_Device_Name",
                              "CB_EthConn_En_DHCP_Cable", "E_EthConn_Sec_DNS_IP4",
                              "CP_LoRaWAN_Header", "CB_LoRa_RF_Band", "CB_LoRa_FrequencySubBand",
                              "CB_LoRa_Network_Type", "E_LoRa_JoinEUI",
                              "CB_LoRa_Activation_Method", "E_LoRa_Device_Address",
                              "E_LoRa_Application_Key", "CB_LoRa_FPort", "CP_CANopen_Header",
                              "E_CANopen_IDDevice", "CB_CANopen_NetOpe", "E_CANopen_NetOpe_Delay",
                              "E_CANopen_SDO_Timeout", "CP_Ethernet_Header", "E_Ethernet_IP1",
                              "E_Ethernet_SM4", "CB_Ethernet_En_GAT", "E_Ethernet_GAT1",
                              "E_Ethernet_GAT4", "Btn_OK", "Btn_Cancel"};
    for (std::size_t i = 0; i + 1 < std::size(expected); ++i) {
        QVERIFY2(position(expected[i]) >= 0, expected[i]);
        QVERIFY2(position(expected[i]) < position(expected[i + 1]), expected[i + 1]);
    }
}

void TestParGenWindow::octetChain_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::newRow("IP to IP") << "E_Ethernet_IP1" << "E_Ethernet_IP2";
    QTest::newRow("IP to mask") << "E_Ethernet_IP4" << "E_Ethernet_SM1";
    QTest::newRow("mask to gateway") << "E_Ethernet_SM4" << "E_Ethernet_GAT1";
    QTest::newRow("end of the address chain") << "E_Ethernet_GAT4" << "E_Ethernet_GAT4";
    QTest::newRow("primary to secondary DNS") << "E_EthConn_Pri_DNS_IP4" << "E_EthConn_Sec_DNS_IP1";
    QTest::newRow("end of the DNS chain") << "E_EthConn_Sec_DNS_IP4" << "E_EthConn_Sec_DNS_IP4";
}

void TestParGenWindow::octetChain()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    auto *field = m_window->findChild<QLineEdit *>(from);
    field->setFocus();
    const QString before = field->text();
    QTest::keyClick(field, '.');
    QCOMPARE(field->text(), before);
    QCOMPARE(m_window->focusWidget()->objectName(), to);
    // Any other character is taken as typed; the check catches it later.
    field->setText(QString());
    QTest::keyClicks(field, QStringLiteral("1x"));
    QCOMPARE(field->text(), QStringLiteral("1x"));
}

void TestParGenWindow::hexadecimalFilter()
{
    auto *joinEui = child<QLineEdit>("E_LoRa_JoinEUI");
    QTest::keyClicks(joinEui, QStringLiteral("g-f 1a.Z9"));
    QCOMPARE(joinEui->text(), QStringLiteral("F 1A9"));
    // Pasted text is filtered the same way.
    joinEui->clear();
    joinEui->insert(QStringLiteral("ab:cd"));
    QCOMPARE(joinEui->text(), QStringLiteral("ABCD"));
    // The length limit holds.
    auto *address = child<QLineEdit>("E_LoRa_Device_Address");
    QTest::keyClicks(address, QStringLiteral("0123456789"));
    QCOMPARE(address->text(), QStringLiteral("01234567"));
    QCOMPARE(m_window->values().LoRa_Device_Address, QStringLiteral("01234567"));
}

void TestParGenWindow::wheelScrollsThePanels()
{
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    QComboBox *band = child<QComboBox>("CB_LoRa_RF_Band");
    QScrollBar *bar = m_window->findChild<QScrollArea *>()->verticalScrollBar();
    QVERIFY(bar->maximum() > 0);
    const int index = band->currentIndex();
    auto wheel = [&](int delta) {
        QWheelEvent event(QPointF(5, 5), band->mapToGlobal(QPointF(5, 5)), QPoint(),
                          QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(band, &event);
    };
    wheel(-120);
    const int lines = qMax(0, QApplication::wheelScrollLines());
    QCOMPARE(bar->value(), qMin(bar->maximum(), lines * m_window->wheelLineStep()));
    QCOMPARE(band->currentIndex(), index);
    wheel(120);
    QCOMPARE(bar->value(), 0);
    QCOMPARE(band->currentIndex(), index);
}

void TestParGenWindow::foldingAPanelMovesTheOthers()
{
    const int loRaTop = panel(1)->y();
    QTest::mouseClick(panel(0)->findChild<QToolButton *>(), Qt::LeftButton);
    QCOMPARE(panel(0)->height(), 24);
    QCOMPARE(panel(1)->y(), 24);
    QVERIFY(loRaTop > 24);
    QTest::mouseClick(panel(0)->findChild<QToolButton *>(), Qt::LeftButton);
    QCOMPARE(panel(1)->y(), loRaTop);
}

void TestParGenWindow::okSavesAndCloses()
{
    MessageRecorder recorder;
    whenModalShown([this](QWidget *) {
        chooseText("CB_LoRa_RF_Band", QStringLiteral("US915"));
        child<QComboBox>("CB_LoRa_DataRate")->setCurrentIndex(3);
        child<QLineEdit>("E_CANopen_IDDevice")->setText(QStringLiteral("12"));
        chooseText("CB_LoRa_Activation_Method", QStringLiteral("Over-the-Air Activation [OTAA]"));
        child<QPushButton>("Btn_OK")->click();
    });
    QCOMPARE(m_window->Show_Modal(), int(QDialog::Accepted));
    QVERIFY(recorder.recorded().isEmpty());
    const ParGenLoad saved = loadParGen(m_shell.files.parGen);
    QCOMPARE(saved.status, ParGenLoad::Status::Loaded);
    QCOMPARE(saved.values.LoRa_RF_Band, QStringLiteral("US915"));
    QCOMPARE(saved.values.LoRa_DataRate, QStringLiteral("3  -\tLoRa: SF7/125kHz 5470 [bit/s]"));
    QCOMPARE(saved.values.LoRa_Payload_Size, QStringLiteral("242"));
    QCOMPARE(saved.values.CANopen_IDDev, QStringLiteral("12"));
    QVERIFY(readFile(m_shell.files.parGen).contains("<LoRa_Device_Address></LoRa_Device_Address>"));

    // Reopening shows what was saved.
    whenModalShown([this](QWidget *) {
        QCOMPARE(child<QComboBox>("CB_LoRa_RF_Band")->currentText(), QStringLiteral("US915"));
        QVERIFY(!child<QComboBox>("CB_LoRa_FrequencySubBand")->isHidden());
        QVERIFY(!child<QLineEdit>("E_LoRa_Application_Key")->isHidden());
        QCOMPARE(child<QLineEdit>("E_LoRa_Payload_Size")->text(), QStringLiteral("242"));
        m_window->reject();
    });
    QCOMPARE(m_window->Show_Modal(), int(QDialog::Rejected));
}

void TestParGenWindow::okWithAFaultKeepsTheWindowOpen()
{
    const QByteArray old = "<Par_Gen><Ethernet_IP1>300</Ethernet_IP1>"
                           "<Eth_Conn_DHCP_Cable>1</Eth_Conn_DHCP_Cable></Par_Gen>";
    QVERIFY(writeFile(m_shell.files.parGen, old));
    MessageRecorder recorder;
    bool stayedOpen = false;
    QString focusAfter;
    whenModalShown([&](QWidget *) {
        QLineEdit *name = child<QLineEdit>("E_EthConn_Device_Name");
        name->setFocus();
        name->setText(QStringLiteral("typed"));
        child<QPushButton>("Btn_OK")->click();
        stayedOpen = m_window->isVisible();
        focusAfter = m_window->focusWidget() ? m_window->focusWidget()->objectName() : QString();
        QCOMPARE(name->text(), QStringLiteral("typed"));
        m_window->reject();
    });
    m_window->Show_Modal();
    QVERIFY(stayedOpen);
    QCOMPARE(focusAfter, QStringLiteral("E_EthConn_Device_Name"));
    QCOMPARE(recorder.recorded().size(), 1);
    QCOMPARE(recorder.recorded().first().kind, MessageService::Kind::Error);
    QCOMPARE(recorder.lastText(), QStringLiteral("Error Ethernet!! IP Address 1 must be between 0 and 255"));
    QCOMPARE(readFile(m_shell.files.parGen), old);
}

void TestParGenWindow::cancelDiscardsAndTheNextShowReloads()
{
    whenModalShown([this](QWidget *) {
        child<QLineEdit>("E_CANopen_SDO_Timeout")->setText(QStringLiteral("5"));
        child<QPushButton>("Btn_Cancel")->click();
    });
    QCOMPARE(m_window->Show_Modal(), int(QDialog::Rejected));
    QVERIFY(!QFile::exists(m_shell.files.parGen));
    QVERIFY(m_window->FormShow());
    QCOMPARE(child<QLineEdit>("E_CANopen_SDO_Timeout")->text(), QStringLiteral("10000"));
}

void TestParGenWindow::escapeKeepsEdits()
{
    // Escape right after opening closes the window; after an edit it does nothing, so a
    // stray key cannot throw typed values away.
    whenModalShown([this](QWidget *) { QTest::keyClick(m_window, Qt::Key_Escape); });
    QCOMPARE(m_window->Show_Modal(), int(QDialog::Rejected));

    bool stayedOpen = false;
    whenModalShown([&](QWidget *) {
        QLineEdit *name = child<QLineEdit>("E_EthConn_Device_Name");
        QTest::keyClicks(name, QStringLiteral("gw"));
        QTest::keyClick(name, Qt::Key_Escape);
        stayedOpen = m_window->isVisible();
        // Return means OK: it checks and saves.
        QTest::keyClick(name, Qt::Key_Return);
    });
    QCOMPARE(m_window->Show_Modal(), int(QDialog::Accepted));
    QVERIFY(stayedOpen);
    QCOMPARE(loadParGen(m_shell.files.parGen).values.Eth_Conn_Device_Name, QStringLiteral("gw"));
}

void TestParGenWindow::malformedFileDoesNotOpen()
{
    const QByteArray broken = "<Par_Gen><LoRa_RF_Band>EU868</LoRa_RF_Band>";
    QVERIFY(writeFile(m_shell.files.parGen, broken));
    MessageRecorder recorder;
    QCOMPARE(m_window->Show_Modal(), int(QDialog::Rejected));
    QVERIFY(!m_window->isVisible());
    QCOMPARE(recorder.recorded().size(), 1);
    QVERIFY(recorder.lastText().startsWith(QStringLiteral("Error! Cannot read the file ")));
    QVERIFY(recorder.lastText().contains(m_shell.files.parGen));
    QCOMPARE(readFile(m_shell.files.parGen), broken);
}

void TestParGenWindow::failedWriteKeepsTheWindowOpen()
{
    // A project folder that has gone away: the file reads as missing but cannot be written.
    m_shell.files.parGen = m_dir.filePath(QStringLiteral("Gone/ParGen.xml"));
    MessageRecorder recorder;
    bool stayedOpen = false;
    whenModalShown([&](QWidget *) {
        child<QLineEdit>("E_CANopen_IDDevice")->setText(QStringLiteral("42"));
        child<QPushButton>("Btn_OK")->click();
        stayedOpen = m_window->isVisible();
        QCOMPARE(child<QLineEdit>("E_CANopen_IDDevice")->text(), QStringLiteral("42"));
        m_window->reject();
    });
    m_window->Show_Modal();
    QVERIFY(stayedOpen);
    QCOMPARE(recorder.recorded().size(), 1);
    QVERIFY(recorder.lastText().startsWith(QStringLiteral("Error! Cannot write the file ")));
    QVERIFY(!QFile::exists(m_shell.files.parGen));
}

QTEST_MAIN(TestParGenWindow)
#include "test_par_gen_window.moc"
