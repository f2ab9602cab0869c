#include "params/par_gen_window.h"

#include "app/shell.h"
#include "common/messages.h"
#include "lang/text_table.h"
#include "params/par_gen_check.h"
#include "params/regional_rules.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QToolButton>
#include <QWheelEvent>

#include <vector>

namespace swz {

namespace {

constexpr int kClientWidth = 460;
constexpr int kClientHeight = 700;
constexpr int kTitleHeight = 69;
constexpr int kButtonBarHeight = 40;
constexpr int kRowPitch = 28;
constexpr int kInputRaise = 3;   // an input sits this much above its label
constexpr int kFirstRow = 11;    // label top of the first row of a panel
constexpr int kPanelMargin = 12; // below the last control of a panel
constexpr int kLabelLeft = 8;
constexpr int kInputLeft = 230;
constexpr int kInputHeight = 22;
constexpr int kLoRaInputLeft = 165;
constexpr int kLoRaInputWidth = 265;
constexpr int kOctetWidth = 40;
constexpr int kDotWidth = 12;

int rowTop(int row)
{
    return kFirstRow + kRowPitch * row;
}

// The text of a list's chosen entry; the data-rate list keeps the exact text as item data,
// because its TABs are drawn as blanks.
QString chosenText(const QComboBox *combo)
{
    const int index = combo->currentIndex();
    if (index < 0)
        return {};
    const QVariant exact = combo->itemData(index);
    return exact.isValid() ? exact.toString() : combo->itemText(index);
}

void choose(QComboBox *combo, const QString &text)
{
    combo->setCurrentIndex(text.isEmpty() ? -1 : combo->findText(text));
}

bool isHexKey(QChar c)
{
    return c.unicode() <= 32 || (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F')
        || (c >= u'a' && c <= u'f');
}

} // namespace

CollapsiblePanel::CollapsiblePanel(QWidget *parent, const QString &name)
    : QWidget(parent)
    , m_header(new QToolButton(this))
    , m_body(new QWidget(this))
{
    setObjectName(name);
    m_header->setObjectName(name + QStringLiteral("_Header"));
    m_header->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_header->setArrowType(Qt::DownArrow);
    m_header->setAutoRaise(true);
    QFont bold = m_header->font();
    bold.setBold(true);
    m_header->setFont(bold);
    m_header->setStyleSheet(QStringLiteral("QToolButton { background-color: #E4E2D4; "
                                           "border: 1px solid #C0C0C0; text-align: left; }"));
    connect(m_header, &QToolButton::clicked, this, [this] { setExpanded(!m_expanded); });
    setAutoFillBackground(true);
}

void CollapsiblePanel::setCaption(const QString &caption)
{
    m_header->setText(caption);
    m_header->setAccessibleName(caption);
}

QString CollapsiblePanel::caption() const
{
    return m_header->text();
}

void CollapsiblePanel::setExpanded(bool expanded)
{
    m_expanded = expanded;
    m_header->setArrowType(expanded ? Qt::DownArrow : Qt::RightArrow);
    m_body->setVisible(expanded);
    emit expandedChanged();
}

TFParGen::TFParGen(Shell &shell, QWidget *parent)
    : QDialog(parent)
    , m_shell(shell)
{
    FormCreate();
}

void TFParGen::FormCreate()
{
    setObjectName(QStringLiteral("TFParGen"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setModal(true);
    applyWindowFont(this);
    m_title = makeTitleBand(this, kClientWidth);

    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("CategoryPanelGroup"));
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setWidgetResizable(false);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_group = new QWidget;
    m_group->setObjectName(QStringLiteral("PanelGroupContents"));
    m_scroll->setWidget(m_group);

    const char *panelNames[] = {"CP_Ethernet_Connection", "CP_LoRaWAN", "CP_CANopen",
                                "CP_Ethernet"};
    for (int i = 0; i < 4; ++i) {
        m_panels[i] = new CollapsiblePanel(m_group, QString::fromLatin1(panelNames[i]));
        m_panels[i]->hide();
        connect(m_panels[i], &CollapsiblePanel::expandedChanged, this, &TFParGen::Move_GroupBoxs);
    }
    // Controls are created panel by panel in display order, which is also the tab order.
    buildEthernetConnection(m_panels[0]->body());
    buildLoRaWan(m_panels[1]->body());
    buildCanOpen(m_panels[2]->body());
    buildEthernet(m_panels[3]->body());

    m_ok = makeButton(this, QStringLiteral("Btn_OK"), 0, 0, 110, 28);
    m_cancel = makeButton(this, QStringLiteral("Btn_Cancel"), 0, 0, 110, 28);
    m_ok->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    m_cancel->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
    // Return anywhere means OK (which checks before it saves); on a focused Cancel it means
    // Cancel. Clicking a button does not take the focus from the field the user was in.
    m_ok->setAutoDefault(true);
    m_ok->setDefault(true);
    m_cancel->setAutoDefault(true);
    m_ok->setFocusPolicy(Qt::TabFocus);
    m_cancel->setFocusPolicy(Qt::TabFocus);
    connect(m_ok, &QPushButton::clicked, this, &TFParGen::Btn_OKClick);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    watchEdits();
    installWheelFilter(m_scroll->viewport());

    setMinimumSize(kClientWidth, 300);
    setMaximumWidth(kClientWidth);
    resize(kClientWidth, kClientHeight);

    Order_TAB_Panels();
    Move_GroupBoxs();
    Set_Lang();
}

QLabel *TFParGen::rowLabel(QWidget *body, const QString &name, int top)
{
    return makeLabel(body, name, kLabelLeft, top);
}

QLineEdit *TFParGen::lineEdit(QWidget *body, const QString &name, int left, int top, int width,
                              int maxLength)
{
    auto *edit = new QLineEdit(body);
    edit->setObjectName(name);
    edit->setGeometry(left, top - kInputRaise, width, kInputHeight);
    if (maxLength > 0)
        edit->setMaxLength(maxLength);
    connect(edit, &QLineEdit::textChanged, this, [this, edit] { On_Change(edit); });
    return edit;
}

QComboBox *TFParGen::comboBox(QWidget *body, const QString &name, int top,
                              const QStringList &entries)
{
    auto *combo = new QComboBox(body);
    combo->setObjectName(name);
    combo->setEditable(false);
    combo->addItems(entries);
    combo->setGeometry(kLoRaInputLeft, top - kInputRaise, kLoRaInputWidth, kInputHeight);
    connect(combo, &QComboBox::currentIndexChanged, this, [this, combo] { On_Change(combo); });
    return combo;
}

QCheckBox *TFParGen::checkBox(QWidget *body, const QString &name, int left, int top)
{
    auto *box = new QCheckBox(body);
    box->setObjectName(name);
    box->move(left, top - 1);
    connect(box, &QCheckBox::clicked, this, [this, box] { On_Click(box); });
    return box;
}

std::array<QLineEdit *, 4> TFParGen::octets(QWidget *body, const QString &prefix, int top)
{
    std::array<QLineEdit *, 4> fields{};
    for (int i = 0; i < 4; ++i) {
        const int left = kInputLeft + i * (kOctetWidth + kDotWidth);
        // No length limit: a longer text loaded from the file must stay whole, so that the
        // check refuses it rather than a cut-down value slipping through.
        fields[i] = lineEdit(body, prefix + QString::number(i + 1), left, top, kOctetWidth);
        fields[i]->setAlignment(Qt::AlignRight);
        fields[i]->installEventFilter(this);
        m_octetFields.append(fields[i]);
        if (i < 3) {
            QLabel *dot = makeLabel(body, prefix + QStringLiteral("_Dot%1").arg(i + 1),
                                    left + kOctetWidth + 3, top);
            dot->setText(QStringLiteral("."));
        }
    }
    return fields;
}

QLineEdit *TFParGen::hexField(QWidget *body, const QString &name, int top, int maxLength)
{
    QLineEdit *edit = lineEdit(body, name, kLoRaInputLeft, top, kLoRaInputWidth, maxLength);
    QFont mono = edit->font();
    mono.setFamily(QStringLiteral("Monospace"));
    mono.setStyleHint(QFont::TypeWriter);
    edit->setFont(mono);
    edit->installEventFilter(this);
    m_hexFields.append(edit);
    // Pasted text passes the same filter as typed keys.
    connect(edit, &QLineEdit::textEdited, this, [edit](const QString &text) {
        QString filtered;
        for (QChar c : text) {
            if (isHexKey(c))
                filtered.append(c.toUpper());
        }
        if (filtered != text) {
            const int cursor = edit->cursorPosition() - int(text.size() - filtered.size());
            edit->setText(filtered);
            edit->setCursorPosition(qMax(0, cursor));
        }
    });
    return edit;
}

void TFParGen::addTexts(QWidget *control, QLabel *label, int caption, int hint, int octet)
{
    m_texts.append(Texts{control, label, caption, hint, octet});
}

void TFParGen::buildEthernetConnection(QWidget *body)
{
    m_deviceNameLabel = rowLabel(body, QStringLiteral("L_EthConn_Device_Name"), rowTop(0));
    m_deviceName = lineEdit(body, QStringLiteral("E_EthConn_Device_Name"), kInputLeft, rowTop(0),
                            196, 31);
    addTexts(m_deviceName, m_deviceNameLabel, 2907, 2908);
    m_dhcpCable = checkBox(body, QStringLiteral("CB_EthConn_En_DHCP_Cable"), kLabelLeft, rowTop(1));
    addTexts(m_dhcpCable, nullptr, 2909, 2910);
    m_dhcpWiFi = checkBox(body, QStringLiteral("CB_EthConn_En_DHCP_WiFi"), kLabelLeft, rowTop(2));
    m_dhcpWiFi->setEnabled(false);
    addTexts(m_dhcpWiFi, nullptr, 2911, 2912);
    m_enableDns = checkBox(body, QStringLiteral("CB_EthConn_Enable_DNS"), kLabelLeft, rowTop(3));
    addTexts(m_enableDns, nullptr, 2913, 2914);

    m_primaryDnsLabel = rowLabel(body, QStringLiteral("L_EthConn_Pri_DNS"), rowTop(4));
    m_primaryDns = octets(body, QStringLiteral("E_EthConn_Pri_DNS_IP"), rowTop(4));
    m_secondaryDnsLabel = rowLabel(body, QStringLiteral("L_EthConn_Sec_DNS"), rowTop(5));
    m_secondaryDns = octets(body, QStringLiteral("E_EthConn_Sec_DNS_IP"), rowTop(5));
    for (int i = 0; i < 4; ++i) {
        addTexts(m_primaryDns[i], i == 0 ? m_primaryDnsLabel : nullptr, 2915, 2916 + i, i + 1);
        addTexts(m_secondaryDns[i], i == 0 ? m_secondaryDnsLabel : nullptr, 2920, 2921 + i,
                 i + 1);
    }
}

void TFParGen::buildLoRaWan(QWidget *body)
{
    // Rows are placed by Move_GroupBoxs; here they only get their order and texts.
    auto row = [this, body](const char *labelName, QWidget *input, int caption, int hint) {
        QLabel *label = labelName ? rowLabel(body, QString::fromLatin1(labelName), 0) : nullptr;
        m_loRaRows.append(Row{label, input});
        addTexts(input, label, caption, hint);
    };
    m_band = comboBox(body, QStringLiteral("CB_LoRa_RF_Band"), 0, loRaBandNames());
    row("L_LoRa_RF_Band", m_band, 407, 408);
    m_subBand = comboBox(body, QStringLiteral("CB_LoRa_FrequencySubBand"), 0, loRaSubBands());
    row("L_LoRa_FrequencySubBand", m_subBand, 2904, 2905);
    m_networkType = comboBox(body, QStringLiteral("CB_LoRa_Network_Type"), 0, parGenNetworkTypes());
    row("L_LoRa_Network_Type", m_networkType, 409, 410);
    m_adaptiveDataRate = checkBox(body, QStringLiteral("CB_LoRa_Adaptive_DataRate"), kLabelLeft, 0);
    row(nullptr, m_adaptiveDataRate, 483, 484);
    m_dataRate = comboBox(body, QStringLiteral("CB_LoRa_DataRate"), 0, {});
    m_dataRate->setMaxVisibleItems(9);
    // Some styles show every entry in the drop-down; keep it to nine rows with a scroll bar.
    m_dataRate->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    row("L_LoRa_DataRate", m_dataRate, 485, 486);
    m_transmissionType = comboBox(body, QStringLiteral("CB_LoRa_Transmission_Type"), 0,
                                  parGenTransmissionTypes());
    row("L_LoRa_Transmission_Type", m_transmissionType, 487, 488);
    m_payloadSize = lineEdit(body, QStringLiteral("E_LoRa_Payload_Size"), kLoRaInputLeft, 0, 60);
    m_payloadSize->setReadOnly(true);
    m_payloadSize->installEventFilter(this);
    row("L_LoRa_Payload_Size", m_payloadSize, 489, 490);
    m_joinEui = hexField(body, QStringLiteral("E_LoRa_JoinEUI"), 0, 16);
    row("L_LoRa_JoinEUI", m_joinEui, 415, 416);
    m_activation = comboBox(body, QStringLiteral("CB_LoRa_Activation_Method"), 0,
                            parGenActivationMethods());
    row("L_LoRa_Activation_Method", m_activation, 411, 412);
    m_deviceAddress = hexField(body, QStringLiteral("E_LoRa_Device_Address"), 0, 8);
    row("L_LoRa_Device_Address", m_deviceAddress, 413, 414);
    m_networkSessionKey = hexField(body, QStringLiteral("E_LoRa_Network_Session_Key"), 0, 32);
    row("L_LoRa_Network_Session_Key", m_networkSessionKey, 417, 418);
    m_applicationSessionKey
        = hexField(body, QStringLiteral("E_LoRa_Application_Session_Key"), 0, 32);
    row("L_LoRa_Application_Session_Key", m_applicationSessionKey, 419, 420);
    m_applicationKey = hexField(body, QStringLiteral("E_LoRa_Application_Key"), 0, 32);
    row("L_LoRa_Application_Key", m_applicationKey, 421, 422);
    m_fPort = comboBox(body, QStringLiteral("CB_LoRa_FPort"), 0, parGenPortFields());
    row("L_LoRa_FPort", m_fPort, 491, 492);
}

void TFParGen::buildCanOpen(QWidget *body)
{
    QLabel *idLabel = rowLabel(body, QStringLiteral("L_CANopen_IDDevice"), rowTop(0));
    m_canId = lineEdit(body, QStringLiteral("E_CANopen_IDDevice"), 330, rowTop(0), 90);
    addTexts(m_canId, idLabel, 755, 756);
    QLabel *baudLabel = rowLabel(body, QStringLiteral("L_CANopen_Baudrate"), rowTop(1));
    m_baudRate = comboBox(body, QStringLiteral("CB_CANopen_Baudrate"), rowTop(1), canOpenBaudRates());
    m_baudRate->setGeometry(330, rowTop(1) - kInputRaise, 90, kInputHeight);
    m_baudRate->setMaxVisibleItems(10);
    addTexts(m_baudRate, baudLabel, 757, 758);
    m_setOperational = checkBox(body, QStringLiteral("CB_CANopen_SetOpe"), kLabelLeft, rowTop(2));
    addTexts(m_setOperational, nullptr, 759, 760);
    m_networkStart = checkBox(body, QStringLiteral("CB_CANopen_NetOpe"), kLabelLeft, rowTop(3));
    addTexts(m_networkStart, nullptr, 761, 762);
    m_delay = lineEdit(body, QStringLiteral("E_CANopen_NetOpe_Delay"), 330, rowTop(3), 90);
    addTexts(m_delay, nullptr, 761, 763);
    QLabel *timeoutLabel = rowLabel(body, QStringLiteral("L_CANopen_SDO_Timeout"), rowTop(4));
    m_sdoTimeout = lineEdit(body, QStringLiteral("E_CANopen_SDO_Timeout"), 330, rowTop(4), 90);
    addTexts(m_sdoTimeout, timeoutLabel, 764, 765);
}

void TFParGen::buildEthernet(QWidget *body)
{
    QLabel *ipLabel = rowLabel(body, QStringLiteral("L_Ethernet_IP"), rowTop(0));
    m_ip = octets(body, QStringLiteral("E_Ethernet_IP"), rowTop(0));
    QLabel *maskLabel = rowLabel(body, QStringLiteral("L_Ethernet_SM"), rowTop(1));
    m_mask = octets(body, QStringLiteral("E_Ethernet_SM"), rowTop(1));
    m_enableGateway = checkBox(body, QStringLiteral("CB_Ethernet_En_GAT"), kLabelLeft, rowTop(2));
    addTexts(m_enableGateway, nullptr, 447, 448);
    m_gateway = octets(body, QStringLiteral("E_Ethernet_GAT"), rowTop(2));
    for (int i = 0; i < 4; ++i) {
        addTexts(m_ip[i], i == 0 ? ipLabel : nullptr, 437, 438 + i, i + 1);
        addTexts(m_mask[i], i == 0 ? maskLabel : nullptr, 442, 443 + i, i + 1);
        addTexts(m_gateway[i], nullptr, 447, 449 + i, i + 1);
    }

    // "." moves on along the address fields.
    auto chain = [this](const QList<QLineEdit *> &fields) {
        for (qsizetype i = 0; i + 1 < fields.size(); ++i)
            m_octetChain.append(qMakePair(fields[i], fields[i + 1]));
    };
    chain({m_ip[0], m_ip[1], m_ip[2], m_ip[3], m_mask[0], m_mask[1], m_mask[2], m_mask[3],
           m_gateway[0], m_gateway[1], m_gateway[2], m_gateway[3]});
    chain({m_primaryDns[0], m_primaryDns[1], m_primaryDns[2], m_primaryDns[3], m_secondaryDns[0],
           m_secondaryDns[1], m_secondaryDns[2], m_secondaryDns[3]});
}

void TFParGen::watchEdits()
{
    // Whether the user has changed anything since the window was shown, so that Escape never
    // throws typed values away.
    for (QLineEdit *edit : m_group->findChildren<QLineEdit *>())
        connect(edit, &QLineEdit::textEdited, this, [this] { m_edited = true; });
    for (QComboBox *combo : m_group->findChildren<QComboBox *>())
        connect(combo, &QComboBox::activated, this, [this] { m_edited = true; });
    for (QCheckBox *box : m_group->findChildren<QCheckBox *>())
        connect(box, &QCheckBox::clicked, this, [this] { m_edited = true; });
    for (QWidget *widget : m_group->findChildren<QWidget *>())
        installWheelFilter(widget);
    installWheelFilter(m_group);
}

void TFParGen::installWheelFilter(QWidget *widget)
{
    widget->installEventFilter(this);
}

void TFParGen::Order_TAB_Panels()
{
    const int captions[] = {2906, 406, 754, 436};
    for (int i = 0; i < 4; ++i) {
        m_panels[i]->setCaption(QStringLiteral("%1. ").arg(i + 1) + uiText(captions[i]));
        m_panels[i]->show();
    }
    // Keyboard order: each panel's header, then its controls top to bottom, panel 1 to 4,
    // then OK and Cancel.
    QWidget *previous = nullptr;
    auto next = [&previous](QWidget *widget) {
        if (previous)
            QWidget::setTabOrder(previous, widget);
        previous = widget;
    };
    for (CollapsiblePanel *panel : m_panels) {
        next(panel->header());
        for (QWidget *control : panel->body()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
            if (control->focusPolicy() & Qt::TabFocus)
                next(control);
        }
    }
    next(m_ok);
    next(m_cancel);
}

void TFParGen::Set_Lang()
{
    setWindowTitle(uiText(400));
    setLabelText(m_title.L_SW_Desc, uiText(401));
    m_ok->setText(uiText(402));
    m_ok->setToolTip(uiText(404));
    m_cancel->setText(uiText(403));
    m_cancel->setToolTip(uiText(405));
    for (const Texts &texts : m_texts) {
        const QString caption = uiText(texts.caption);
        if (texts.label)
            setLabelText(texts.label, caption);
        if (auto *box = qobject_cast<QCheckBox *>(texts.control)) {
            box->setText(caption);
            box->adjustSize();
        }
        texts.control->setToolTip(uiText(texts.hint));
        texts.control->setAccessibleName(
            texts.octet > 0 ? caption + QStringLiteral(" %1").arg(texts.octet) : caption);
        texts.control->setAccessibleDescription(uiText(texts.hint));
    }
}

int TFParGen::Show_Modal()
{
    if (!FormShow())
        return QDialog::Rejected;
    return exec();
}

bool TFParGen::FormShow()
{
    const ParGenLoad load = loadParGen(m_shell.files.parGen);
    if (load.status == ParGenLoad::Status::Failed) {
        messages().showError(uiText(kTextCannotReadFile) + m_shell.files.parGen
                             + QStringLiteral("\n") + load.error);
        return false;
    }
    setValues(load.values);
    Move_GroupBoxs();
    Set_Max_Payload_Size();
    m_edited = false;
    m_scroll->verticalScrollBar()->setValue(0);
    return true;
}

ParGen TFParGen::values() const
{
    ParGen v;
    v.Eth_Conn_Device_Name = m_deviceName->text();
    v.Eth_Conn_DHCP_Cable = m_dhcpCable->isChecked();
    v.Eth_Conn_DHCP_WiFi = m_dhcpWiFi->isChecked();
    v.Eth_Conn_Enable_DNS = m_enableDns->isChecked();
    QString *primary[] = {&v.Eth_Conn_Primary_DNS1, &v.Eth_Conn_Primary_DNS2,
                          &v.Eth_Conn_Primary_DNS3, &v.Eth_Conn_Primary_DNS4};
    QString *secondary[] = {&v.Eth_Conn_Secondary_DNS1, &v.Eth_Conn_Secondary_DNS2,
                            &v.Eth_Conn_Secondary_DNS3, &v.Eth_Conn_Secondary_DNS4};
    QString *ip[] = {&v.Ethernet_IP1, &v.Ethernet_IP2, &v.Ethernet_IP3, &v.Ethernet_IP4};
    QString *mask[] = {&v.Ethernet_SM1, &v.Ethernet_SM2, &v.Ethernet_SM3, &v.Ethernet_SM4};
    QString *gateway[] = {&v.Ethernet_GAT1, &v.Ethernet_GAT2, &v.Ethernet_GAT3, &v.Ethernet_GAT4};
    for (int i = 0; i < 4; ++i) {
        *primary[i] = m_primaryDns[i]->text();
        *secondary[i] = m_secondaryDns[i]->text();
        *ip[i] = m_ip[i]->text();
        *mask[i] = m_mask[i]->text();
        *gateway[i] = m_gateway[i]->text();
    }
    v.LoRa_RF_Band = chosenText(m_band);
    v.LoRa_Network_Type = chosenText(m_networkType);
    v.LoRa_Adaptive_DataRate = m_adaptiveDataRate->isChecked();
    v.LoRa_DataRate = chosenText(m_dataRate);
    v.LoRa_Transmission_Type = chosenText(m_transmissionType);
    v.LoRa_Payload_Size = m_payloadSize->text();
    v.LoRa_Activation_Method = chosenText(m_activation);
    v.LoRa_Device_Address = m_deviceAddress->text();
    v.LoRa_JoinEUI = m_joinEui->text();
    v.LoRa_Network_Session_Key = m_networkSessionKey->text();
    v.LoRa_Application_Session_Key = m_applicationSessionKey->text();
    v.LoRa_Application_Key = m_applicationKey->text();
    v.LoRa_FPort = chosenText(m_fPort);
    v.LoRa_Frequency_SubBand = chosenText(m_subBand);
    v.Ethernet_EN_GAT = m_enableGateway->isChecked();
    v.CANopen_IDDev = m_canId->text();
    v.CANopen_BAUDRATE = m_baudRate->currentIndex();
    v.CANopen_Set_Operational = m_setOperational->isChecked();
    v.CANopen_Network_Start = m_networkStart->isChecked();
    v.CANopen_Delay = m_delay->text();
    v.CANopen_SDO_TimeOut = m_sdoTimeout->text();
    return v;
}

void TFParGen::setValues(const ParGen &v)
{
    // Loading is not an edit: no change handler runs until every value is in place.
    std::vector<QSignalBlocker> blockers;
    const QList<QWidget *> widgets = m_group->findChildren<QWidget *>();
    blockers.reserve(widgets.size());
    for (QWidget *widget : widgets)
        blockers.emplace_back(widget);

    m_deviceName->setText(v.Eth_Conn_Device_Name);
    m_dhcpCable->setChecked(v.Eth_Conn_DHCP_Cable);
    m_dhcpWiFi->setChecked(false);
    m_enableDns->setChecked(v.Eth_Conn_Enable_DNS);
    const QString primary[] = {v.Eth_Conn_Primary_DNS1, v.Eth_Conn_Primary_DNS2,
                               v.Eth_Conn_Primary_DNS3, v.Eth_Conn_Primary_DNS4};
    const QString secondary[] = {v.Eth_Conn_Secondary_DNS1, v.Eth_Conn_Secondary_DNS2,
                                 v.Eth_Conn_Secondary_DNS3, v.Eth_Conn_Secondary_DNS4};
    const QString ip[] = {v.Ethernet_IP1, v.Ethernet_IP2, v.Ethernet_IP3, v.Ethernet_IP4};
    const QString mask[] = {v.Ethernet_SM1, v.Ethernet_SM2, v.Ethernet_SM3, v.Ethernet_SM4};
    const QString gateway[] = {v.Ethernet_GAT1, v.Ethernet_GAT2, v.Ethernet_GAT3,
                               v.Ethernet_GAT4};
    for (int i = 0; i < 4; ++i) {
        m_primaryDns[i]->setText(primary[i]);
        m_secondaryDns[i]->setText(secondary[i]);
        m_ip[i]->setText(ip[i]);
        m_mask[i]->setText(mask[i]);
        m_gateway[i]->setText(gateway[i]);
    }
    choose(m_band, v.LoRa_RF_Band);
    Change_LoRa_DataRate();
    m_dataRate->setCurrentIndex(v.LoRa_DataRate.isEmpty() ? -1 : m_dataRate->findData(v.LoRa_DataRate));
    choose(m_networkType, v.LoRa_Network_Type);
    m_adaptiveDataRate->setChecked(v.LoRa_Adaptive_DataRate);
    choose(m_transmissionType, v.LoRa_Transmission_Type);
    m_payloadSize->setText(v.LoRa_Payload_Size);
    choose(m_activation, v.LoRa_Activation_Method);
    m_deviceAddress->setText(v.LoRa_Device_Address);
    m_joinEui->setText(v.LoRa_JoinEUI);
    m_networkSessionKey->setText(v.LoRa_Network_Session_Key);
    m_applicationSessionKey->setText(v.LoRa_Application_Session_Key);
    m_applicationKey->setText(v.LoRa_Application_Key);
    choose(m_fPort, v.LoRa_FPort);
    choose(m_subBand, v.LoRa_Frequency_SubBand);
    m_enableGateway->setChecked(v.Ethernet_EN_GAT);
    m_canId->setText(v.CANopen_IDDev);
    m_baudRate->setCurrentIndex(v.CANopen_BAUDRATE);
    m_setOperational->setChecked(v.CANopen_Set_Operational);
    m_networkStart->setChecked(v.CANopen_Network_Start);
    m_delay->setText(v.CANopen_Delay);
    m_sdoTimeout->setText(v.CANopen_SDO_TimeOut);
    blockers.clear();
    Move_GroupBoxs();
}

void TFParGen::Change_LoRa_DataRate()
{
    {
        const QSignalBlocker blocker(m_dataRate);
        m_dataRate->clear();
        // A TAB has no width in a list entry; the exact text travels as the item's data.
        for (const QString &text : loRaDataRateTexts(m_band->currentText())) {
            QString shown = text;
            shown.replace(u'\t', QStringLiteral("  "));
            m_dataRate->addItem(shown, text);
        }
        m_dataRate->setCurrentIndex(m_dataRate->count() > 0 ? 0 : -1);
    }
}

quint8 TFParGen::Find_Max_PayLoad() const
{
    return maxLoRaPayload(chosenText(m_band), chosenText(m_dataRate));
}

void TFParGen::Set_Max_Payload_Size()
{
    const QSignalBlocker blocker(m_payloadSize);
    m_payloadSize->setText(QString::number(Find_Max_PayLoad()));
}

bool TFParGen::Controllo_Dati()
{
    const Faults faults = swz::Controllo_Dati(values());
    if (faults.isEmpty())
        return true;
    QWidget *focus = QApplication::focusWidget();
    messages().showError(faults.first().message);
    if (focus && isVisible())
        focus->setFocus();
    return false;
}

void TFParGen::Btn_OKClick()
{
    if (!Controllo_Dati())
        return;
    const QString &path = m_shell.files.parGen;
    if (const std::optional<QString> reason = saveParGen(path, values())) {
        messages().showError(uiText(kTextCannotWriteFile) + path + QStringLiteral("\n") + *reason);
        return;
    }
    accept();
}

void TFParGen::On_Change(QObject *sender)
{
    if (sender == m_band) {
        Change_LoRa_DataRate();
        Set_Max_Payload_Size();
        Move_GroupBoxs();
    } else if (sender == m_dataRate) {
        Set_Max_Payload_Size();
    } else if (sender == m_activation) {
        Move_GroupBoxs();
    }
}

void TFParGen::On_Click(QObject *sender)
{
    if (sender == m_dhcpCable || sender == m_dhcpWiFi)
        Move_GroupBoxs();
}

int TFParGen::panelHeight(CollapsiblePanel *panel, QWidget *lastControl) const
{
    if (!panel->isExpanded())
        return CollapsiblePanel::kHeaderHeight;
    return lastControl->geometry().bottom() + 1 + CollapsiblePanel::kHeaderHeight + kPanelMargin;
}

void TFParGen::Move_GroupBoxs()
{
    // 1. Ethernet connection
    m_dhcpWiFi->setEnabled(false);

    // 2. LoRaWAN: every shown row 28 pixels below the previous one.
    const int bandPosition = m_band->currentIndex();
    const bool subBands = bandPosition == 5 || bandPosition == 6;
    const bool otaa = m_activation->currentIndex() == 1;
    int position = kFirstRow;
    for (const Row &row : m_loRaRows) {
        bool shown = true;
        if (row.input == m_subBand)
            shown = subBands;
        else if (row.input == m_deviceAddress || row.input == m_networkSessionKey
                 || row.input == m_applicationSessionKey)
            shown = !otaa;
        else if (row.input == m_applicationKey)
            shown = otaa;
        row.input->setVisible(shown);
        if (row.label)
            row.label->setVisible(shown);
        if (!shown)
            continue;
        if (row.label) {
            row.label->move(kLabelLeft, position);
            row.input->move(row.input->x(), position - kInputRaise);
        } else {
            row.input->move(row.input->x(), position);
        }
        position += kRowPitch;
    }

    // 4. Ethernet: a DHCP address leaves the fixed address unused, but its values stay.
    const bool fixedAddress = !m_dhcpCable->isChecked();
    for (int i = 0; i < 4; ++i) {
        m_ip[i]->setEnabled(fixedAddress);
        m_mask[i]->setEnabled(fixedAddress);
        m_gateway[i]->setEnabled(fixedAddress);
    }
    m_enableGateway->setEnabled(fixedAddress);

    QWidget *lastControls[] = {m_secondaryDns[3], m_fPort, m_sdoTimeout, m_gateway[3]};
    const int width = kClientWidth - style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    int top = 0;
    for (int i = 0; i < 4; ++i) {
        CollapsiblePanel *panel = m_panels[i];
        const int height = panelHeight(panel, lastControls[i]);
        panel->setGeometry(0, top, width, height);
        panel->header()->setGeometry(0, 0, width, CollapsiblePanel::kHeaderHeight);
        panel->body()->setGeometry(0, CollapsiblePanel::kHeaderHeight, width,
                                   height - CollapsiblePanel::kHeaderHeight);
        top += height;
    }
    m_group->resize(width, top);
}

void TFParGen::placeWindowParts()
{
    const int h = height();
    m_scroll->setGeometry(0, kTitleHeight, kClientWidth, h - kTitleHeight - kButtonBarHeight);
    m_cancel->move(kClientWidth - 16 - 110, h - 6 - 28);
    m_ok->move(kClientWidth - 16 - 110 - 8 - 110, h - 6 - 28);
}

void TFParGen::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    placeWindowParts();
}

void TFParGen::showEvent(QShowEvent *event)
{
    centreOnScreen(this);
    QDialog::showEvent(event);
}

int TFParGen::wheelLineStep() const
{
    return m_scroll->verticalScrollBar()->singleStep();
}

void TFParGen::keyPressEvent(QKeyEvent *event)
{
    // Escape closes like Cancel only while nothing has been changed; after an edit only the
    // Cancel button or the close box discard the values.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        if (!m_edited)
            reject();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TFParGen::octetKeyPress(QLineEdit *field, QKeyEvent *event)
{
    if (event->text() != QLatin1String("."))
        return false;
    for (const auto &[from, to] : m_octetChain) {
        if (from == field && to->isVisible() && to->isEnabled()) {
            to->setFocus(Qt::TabFocusReason);
            to->selectAll();
            m_scroll->ensureWidgetVisible(to);
            break;
        }
    }
    return true;
}

bool TFParGen::scrollByWheel(QWheelEvent *event)
{
    const int delta = event->angleDelta().y();
    if (delta == 0)
        return true;
    QScrollBar *bar = m_scroll->verticalScrollBar();
    const int lines = QApplication::wheelScrollLines();
    for (int i = 0; i < lines; ++i) {
        bar->triggerAction(delta > 0 ? QAbstractSlider::SliderSingleStepSub
                                     : QAbstractSlider::SliderSingleStepAdd);
        bar->triggerAction(QAbstractSlider::SliderNoAction);
    }
    return true;
}

bool TFParGen::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        auto *field = qobject_cast<QLineEdit *>(watched);
        if (field && m_octetFields.contains(field))
            return octetKeyPress(field, key);
        if (field && (m_hexFields.contains(field) || field == m_payloadSize)) {
            const QString text = key->text();
            if (text.size() == 1 && !isHexKey(text.front()))
                return true; // dropped
            if (text.size() == 1 && text.front().isLower()) {
                if (!field->isReadOnly())
                    field->insert(text.toUpper());
                return true;
            }
        }
    } else if (event->type() == QEvent::Wheel) {
        // The wheel scrolls the panels wherever the pointer is over them, rather than
        // turning a list or a field under the pointer.
        auto *widget = qobject_cast<QWidget *>(watched);
        if (widget && widget->window() == this)
            return scrollByWheel(static_cast<QWheelEvent *>(event));
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace swz
