#include "app/open_conf_window.h"

#include "app/shell.h"
#include "lang/text_table.h"

#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace swz {

TFOpenConf::TFOpenConf(Shell &shell, QWidget *parent)
    : QDialog(parent)
    , m_shell(shell)
{
    setObjectName(QStringLiteral("TFOpenConf"));
    setWindowFlags(Qt::Dialog | Qt::WindowCloseButtonHint);
    setModal(true);
    applyWindowFont(this);
    resize(377, 351);
    setMinimumSize(260, 200);

    m_title = makeTitleBand(this, 377);
    m_label1 = makeLabel(this, QStringLiteral("Label1"), 16, 76);

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("ListBox1"));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(m_list, &QListWidget::itemSelectionChanged, this, &TFOpenConf::ListBox1Click);

    m_ok = makeButton(this, QStringLiteral("Btn_OK"), 0, 0, 110, 28);
    m_cancel = makeButton(this, QStringLiteral("Btn_Cancel"), 0, 0, 110, 28);
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    // Double-clicking a project opens it, as a user of a list expects.
    connect(m_list, &QListWidget::itemDoubleClicked, this, &QDialog::accept);

    placeControls();
    Set_Lang();
}

void TFOpenConf::placeControls()
{
    const int w = width();
    const int h = height();
    m_title.panel->resize(w, m_title.panel->height());
    m_list->setGeometry(16, 96, w - 32, h - 96 - 46);
    m_cancel->move(w - 16 - 110, h - 6 - 28 - 6);
    m_ok->move(w - 16 - 110 - 8 - 110, h - 6 - 28 - 6);
}

void TFOpenConf::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    placeControls();
}

void TFOpenConf::Set_Lang()
{
    setWindowTitle(uiText(200));
    setLabelText(m_title.L_SW_Desc, uiText(201));
    setLabelText(m_label1, uiText(202));
    m_list->setToolTip(uiText(205));
    m_ok->setText(uiText(203));
    m_ok->setToolTip(uiText(206));
    m_cancel->setText(uiText(204));
    m_cancel->setToolTip(uiText(207));
}

void TFOpenConf::showEvent(QShowEvent *event)
{
    centreOnScreen(this);
    QDialog::showEvent(event);
    FormShow();
}

void TFOpenConf::Load_Existing_Configuration()
{
    SL = listProjects(m_shell.workspace);
}

void TFOpenConf::FormShow()
{
    Load_Existing_Configuration();
    {
        const QSignalBlocker blocker(m_list);
        m_list->clear();
        m_list->addItems(SL);
    }
    const QString current = activeProjectFolderName(m_shell.workspace, m_shell.state);
    int index = Search_Open_Conf(SL, current);
    if (index < 0 && !SL.isEmpty())
        index = 0;
    if (index >= 0) {
        m_list->setCurrentRow(index);
        Name_Conf = SL.at(index);
    }
    m_list->setFocus();
}

void TFOpenConf::ListBox1Click()
{
    const QList<QListWidgetItem *> selected = m_list->selectedItems();
    if (!selected.isEmpty())
        Name_Conf = selected.first()->text();
}

} // namespace swz
