#pragma once

#include "common/window_parts.h"
#include "params/par_gen.h"

#include <QDialog>
#include <QList>

#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QToolButton;

namespace swz {

struct Shell;

// One folding panel of the parameter window: a header button that folds and unfolds it and a
// body that holds the panel's controls at fixed positions.
class CollapsiblePanel final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CollapsiblePanel)

public:
    CollapsiblePanel(QWidget *parent, const QString &name);

    void setCaption(const QString &caption);
    QString caption() const;
    bool isExpanded() const { return m_expanded; }
    void setExpanded(bool expanded);
    QWidget *body() const { return m_body; }
    QToolButton *header() const { return m_header; }

    static constexpr int kHeaderHeight = 24;

signals:
    void expandedChanged();

private:
    QToolButton *m_header;
    QWidget *m_body;
    bool m_expanded = true;
};

// Step 2: the communication parameters of the open project (ParGen.xml). Created once; every
// showing reloads the file, OK checks and saves, Cancel discards.
class TFParGen final : public QDialog, public LanguageAware
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFParGen)

public:
    explicit TFParGen(Shell &shell, QWidget *parent = nullptr);

    void Set_Lang() override;

    // Loads ParGen.xml and shows the window modally. A file that exists but cannot be read or
    // parsed is reported and the window does not open, so nothing can overwrite it unseen.
    int Show_Modal();

    // Loads the controls from ParGen.xml; false (after the error message) when it cannot be read.
    bool FormShow();
    void Btn_OKClick();
    // Shows the first fault of the check, leaving the focus where it was; true when none.
    bool Controllo_Dati();

    void Change_LoRa_DataRate();
    quint8 Find_Max_PayLoad() const;
    void Set_Max_Payload_Size();
    void Move_GroupBoxs();

    // The parameters as the controls hold them, and the reverse.
    ParGen values() const;
    void setValues(const ParGen &values);

    // The scrolling step of one wheel line, for tests.
    int wheelLineStep() const;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    struct Row
    {
        QLabel *label = nullptr;
        QWidget *input = nullptr;
    };

    void FormCreate();
    void buildEthernetConnection(QWidget *body);
    void buildLoRaWan(QWidget *body);
    void buildCanOpen(QWidget *body);
    void buildEthernet(QWidget *body);
    void Order_TAB_Panels();
    void placeWindowParts();
    void watchEdits();
    void installWheelFilter(QWidget *widget);
    bool scrollByWheel(QWheelEvent *event);
    bool octetKeyPress(QLineEdit *field, QKeyEvent *event);
    void On_Change(QObject *sender);
    void On_Click(QObject *sender);
    int panelHeight(CollapsiblePanel *panel, QWidget *lastControl) const;

    QLabel *rowLabel(QWidget *body, const QString &name, int top);
    QLineEdit *lineEdit(QWidget *body, const QString &name, int left, int top, int width,
                        int maxLength = 0);
    QComboBox *comboBox(QWidget *body, const QString &name, int top,
                        const QStringList &entries);
    QCheckBox *checkBox(QWidget *body, const QString &name, int left, int top);
    std::array<QLineEdit *, 4> octets(QWidget *body, const QString &prefix, int top);
    QLineEdit *hexField(QWidget *body, const QString &name, int top, int maxLength);

    Shell &m_shell;
    TitleBand m_title;
    QScrollArea *m_scroll = nullptr;
    QWidget *m_group = nullptr;
    std::array<CollapsiblePanel *, 4> m_panels{};
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
    bool m_edited = false;

    // Ethernet connection
    QLabel *m_deviceNameLabel = nullptr;
    QLineEdit *m_deviceName = nullptr;
    QCheckBox *m_dhcpCable = nullptr;
    QCheckBox *m_dhcpWiFi = nullptr;
    QCheckBox *m_enableDns = nullptr;
    QLabel *m_primaryDnsLabel = nullptr;
    QLabel *m_secondaryDnsLabel = nullptr;
    std::array<QLineEdit *, 4> m_primaryDns{};
    std::array<QLineEdit *, 4> m_secondaryDns{};

    // LoRaWAN
    QComboBox *m_band = nullptr;
    QComboBox *m_subBand = nullptr;
    QComboBox *m_networkType = nullptr;
    QCheckBox *m_adaptiveDataRate = nullptr;
    QComboBox *m_dataRate = nullptr;
    QComboBox *m_transmissionType = nullptr;
    QLineEdit *m_payloadSize = nullptr;
    QLineEdit *m_joinEui = nullptr;
    QComboBox *m_activation = nullptr;
    QLineEdit *m_deviceAddress = nullptr;
    QLineEdit *m_networkSessionKey = nullptr;
    QLineEdit *m_applicationSessionKey = nullptr;
    QLineEdit *m_applicationKey = nullptr;
    QComboBox *m_fPort = nullptr;
    QList<Row> m_loRaRows; // in display order, hidden rows included

    // CANopen
    QLineEdit *m_canId = nullptr;
    QComboBox *m_baudRate = nullptr;
    QCheckBox *m_setOperational = nullptr;
    QCheckBox *m_networkStart = nullptr;
    QLineEdit *m_delay = nullptr;
    QLineEdit *m_sdoTimeout = nullptr;

    // Ethernet
    std::array<QLineEdit *, 4> m_ip{};
    std::array<QLineEdit *, 4> m_mask{};
    std::array<QLineEdit *, 4> m_gateway{};
    QCheckBox *m_enableGateway = nullptr;

    // The octet chains: the field that a "." moves the focus to.
    QList<QPair<QLineEdit *, QLineEdit *>> m_octetChain;
    QList<QLineEdit *> m_octetFields;
    QList<QLineEdit *> m_hexFields;

    // Captions and hints by control, re-applied by Set_Lang.
    struct Texts
    {
        QWidget *control;
        QLabel *label; // the row's label; null for check boxes and octets after the first
        int caption;
        int hint;
        int octet;     // 1 to 4 for the octet fields of an address, else 0
    };
    void addTexts(QWidget *control, QLabel *label, int caption, int hint, int octet = 0);
    QList<Texts> m_texts;
};

} // namespace swz
