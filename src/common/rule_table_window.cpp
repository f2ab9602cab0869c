#include "common/rule_table_window.h"

#include "common/messages.h"

#include <QApplication>
#include <QFrame>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QVBoxLayout>

namespace swz {

namespace {

constexpr int kTitleHeight = 69;
constexpr int kButtonBandHeight = 40;
constexpr int kButtonWidth = 110;
constexpr int kButtonHeight = 28;
constexpr int kButtonLefts[6] = {16, 134, 252, 370, 488, 606};
constexpr int kRowNumberWidth = 40;
const QColor kWindowColour(0xF8, 0xF7, 0xED);

// Row-buffer messages shared by every rule table.
constexpr int kTextOverwriteRow = 1100;
constexpr int kTextPasteWrongSize = 1101;
constexpr int kTextPasteNotCopied = 1102;

const char *const kButtonNames[6] = {"Btn_OK",     "Btn_Cancel",  "Btn_DelRow",
                                     "Btn_InsRow", "Btn_CopyRow", "Btn_PasteRow"};

// Tints the cells by column and draws check boxes centred; a click on the box toggles it.
class RuleCellDelegate final : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        if (index.data(RuleList::KindRole).toInt() != 1) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        QStyleOptionViewItem panel = option;
        initStyleOption(&panel, index);
        panel.features &= ~QStyleOptionViewItem::HasCheckIndicator;
        panel.text.clear();
        const QWidget *widget = option.widget;
        QStyle *style = widget ? widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &panel, painter, widget);

        QStyleOptionViewItem box = option;
        box.rect = checkRect(option, index);
        box.state &= ~QStyle::State_HasFocus;
        box.state |= index.data(Qt::CheckStateRole).toInt() == Qt::Checked ? QStyle::State_On
                                                                           : QStyle::State_Off;
        style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &box, painter, widget);
    }

    bool editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option,
                     const QModelIndex &index) override
    {
        if (index.data(RuleList::KindRole).toInt() != 1)
            return QStyledItemDelegate::editorEvent(event, model, option, index);
        bool toggle = false;
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: {
            // Swallowed on the box so that a double-click does not toggle twice.
            auto *mouse = static_cast<QMouseEvent *>(event);
            return mouse->button() == Qt::LeftButton
                   && checkRect(option, index).contains(mouse->position().toPoint());
        }
        case QEvent::MouseButtonRelease: {
            auto *mouse = static_cast<QMouseEvent *>(event);
            toggle = mouse->button() == Qt::LeftButton
                     && checkRect(option, index).contains(mouse->position().toPoint());
            break;
        }
        case QEvent::KeyPress: {
            const int key = static_cast<QKeyEvent *>(event)->key();
            toggle = key == Qt::Key_Space || key == Qt::Key_Select;
            break;
        }
        default:
            break;
        }
        if (!toggle)
            return false;
        const bool ticked = index.data(Qt::CheckStateRole).toInt() == Qt::Checked;
        return model->setData(index, ticked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
    }

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        const quint32 rgb = index.data(RuleList::TintRole).toUInt();
        if (rgb != tint::kNoTint)
            option->backgroundBrush = QColor::fromRgb(rgb);
    }

private:
    static QRect checkRect(const QStyleOptionViewItem &option, const QModelIndex &)
    {
        const QWidget *widget = option.widget;
        QStyle *style = widget ? widget->style() : QApplication::style();
        const int w = style->pixelMetric(QStyle::PM_IndicatorWidth, &option, widget);
        const int h = style->pixelMetric(QStyle::PM_IndicatorHeight, &option, widget);
        return QStyle::alignedRect(option.direction, Qt::AlignCenter, QSize(w, h), option.rect);
    }
};

} // namespace

RuleGridView::RuleGridView(RuleList &list, QWidget *parent)
    : QTableView(parent)
    , m_list(list)
{
    setObjectName(list.definition().gridName);
    setModel(&list);
    setItemDelegate(new RuleCellDelegate(this));
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(20);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setAccessibleName(list.definition().gridName);
    // The view's own auto-size on a double-click of a header border runs regardless of the
    // settings switch; the window decides instead.
    disconnect(horizontalHeader(), &QHeaderView::sectionHandleDoubleClicked, this, nullptr);
    auto onHeader = [this](int column) {
        if (headerDoubleClicked)
            headerDoubleClicked(column);
    };
    connect(horizontalHeader(), &QHeaderView::sectionHandleDoubleClicked, this, onHeader);
    connect(horizontalHeader(), &QHeaderView::sectionDoubleClicked, this, onHeader);
    applyColumns();
}

void RuleGridView::applyColumns()
{
    setColumnWidth(0, kRowNumberWidth);
    for (int c = 1; c <= m_list.dataColumnCount(); ++c) {
        setColumnWidth(c, m_list.definition().columns[c - 1].width);
        setColumnHidden(c, m_list.isColumnHidden(c));
    }
}

int RuleGridView::currentGridRow() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() + 1 : 1;
}

void RuleGridView::setCurrentCell(int gridRow, int column)
{
    const QModelIndex target = m_list.index(gridRow - 1, column);
    setCurrentIndex(target);
    scrollTo(target);
}

void RuleGridView::selectGridRow(int gridRow)
{
    const QModelIndex first = m_list.index(gridRow - 1, 1);
    const QModelIndex last = m_list.index(gridRow - 1, m_list.dataColumnCount());
    if (!first.isValid())
        return;
    selectionModel()->setCurrentIndex(first, QItemSelectionModel::NoUpdate);
    selectionModel()->select(QItemSelection(first, last), QItemSelectionModel::ClearAndSelect);
}

bool RuleGridView::Grid_Enter_Key(QKeyEvent *event)
{
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)
        return false;
    if (!jumpOnEnter || !jumpOnEnter())
        return false;
    const QModelIndex current = currentIndex();
    if (current.isValid() && current.column() >= 1) {
        const auto [row, column] = m_list.nextCell(current.row() + 1, current.column());
        setCurrentCell(row, column);
    }
    return true;
}

void RuleGridView::keyPressEvent(QKeyEvent *event)
{
    if (Grid_Enter_Key(event)) {
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void RuleGridView::mousePressEvent(QMouseEvent *event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && index.isValid() && index.column() == 0) {
        selectGridRow(index.row() + 1);
        setFocus(Qt::MouseFocusReason);
        event->accept();
        return;
    }
    QTableView::mousePressEvent(event);
}

bool RuleGridView::edit(const QModelIndex &index, EditTrigger trigger, QEvent *event)
{
    const bool editing = QTableView::edit(index, trigger, event);
    // Enter in an open cell editor jumps too; our filter runs before the delegate's.
    if (editing) {
        if (QWidget *editor = indexWidget(index))
            editor->installEventFilter(this);
    }
    return editing;
}

bool RuleGridView::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && watched != this && watched->isWidgetType()) {
        auto *key = static_cast<QKeyEvent *>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && jumpOnEnter
            && jumpOnEnter()) {
            auto *editor = static_cast<QWidget *>(watched);
            commitData(editor);
            closeEditor(editor, QAbstractItemDelegate::NoHint);
            Grid_Enter_Key(key);
            return true;
        }
    }
    return QTableView::eventFilter(watched, event);
}

RuleTableWindow::RuleTableWindow(const RuleTableDefinition &definition, RuleTableContext context,
                                 QWidget *parent)
    : QDialog(parent)
    , m_definition(definition)
    , m_context(std::move(context))
    , m_table(definition, *m_context.rowBuffer)
{
    setUpFixedDialog(this, definition.windowName, definition.clientWidth, kClientHeight);
    QPalette light = palette();
    light.setColor(QPalette::Window, kWindowColour);
    setPalette(light);
    setAutoFillBackground(true);

    m_title = makeTitleBand(this, definition.clientWidth, kTitleHeight);

    m_pages = new QTabWidget(this);
    m_pages->setObjectName(definition.pageControlName);
    m_pages->setGeometry(0, kTitleHeight, definition.clientWidth,
                         kClientHeight - kTitleHeight - kButtonBandHeight);
    for (int i = 0; i < 2; ++i) {
        auto *page = new QWidget;
        page->setObjectName(definition.lists[std::size_t(i)].pageName);
        auto *layout = new QVBoxLayout(page);
        layout->setContentsMargins(0, 0, 0, 0);
        auto *grid = new RuleGridView(m_table.list(i), page);
        grid->jumpOnEnter = [this] {
            return m_context.jumpOnEnter && m_context.jumpOnEnter();
        };
        grid->headerDoubleClicked = [this, i](int column) { Grid_Header_DblClick(i, column); };
        layout->addWidget(grid);
        m_grids[std::size_t(i)] = grid;
        m_pages->addTab(page, QString());
    }

    auto *band = new QFrame(this);
    band->setObjectName(QStringLiteral("P_Buttons"));
    band->setGeometry(0, kClientHeight - kButtonBandHeight, definition.clientWidth,
                      kButtonBandHeight);
    for (int b = 0; b < 6; ++b) {
        m_buttons[std::size_t(b)] = makeButton(band, QString::fromLatin1(kButtonNames[b]),
                                               kButtonLefts[b], 6, kButtonWidth, kButtonHeight);
    }
    connect(m_buttons[0], &QPushButton::clicked, this, &RuleTableWindow::okClicked);
    connect(m_buttons[1], &QPushButton::clicked, this, &QDialog::reject);
    connect(m_buttons[2], &QPushButton::clicked, this, &RuleTableWindow::deleteRowClicked);
    connect(m_buttons[3], &QPushButton::clicked, this, &RuleTableWindow::Btn_InsRowClick);
    connect(m_buttons[4], &QPushButton::clicked, this, &RuleTableWindow::Btn_CopyRowClick);
    connect(m_buttons[5], &QPushButton::clicked, this, &RuleTableWindow::Btn_PasteRowClick);

    Set_Lang();
}

void RuleTableWindow::Set_Lang()
{
    setWindowTitle(text(m_definition.captionText));
    setLabelText(m_title.L_SW_Desc, text(m_definition.descriptionText));
    for (int b = 0; b < 6; ++b) {
        QPushButton *button = m_buttons[std::size_t(b)];
        button->setText(text(m_definition.firstButtonText + b));
        button->setAccessibleName(button->text());
        if (m_definition.firstButtonHintText >= 0)
            button->setToolTip(text(m_definition.firstButtonHintText + b));
    }
    for (int i = 0; i < 2; ++i) {
        const RuleListDefinition &list = m_definition.lists[std::size_t(i)];
        m_pages->setTabText(i, text(list.tabText));
        QStringList headers{text(list.rowNumberHeaderText)};
        QStringList hints;
        for (const RuleColumn &column : list.columns) {
            headers.append(text(column.headerText));
            hints.append(text(column.hintText));
        }
        m_table.list(i).setHeaderTexts(headers, hints);
    }
}

int RuleTableWindow::exec()
{
    if (!FormShow())
        return QDialog::Rejected;
    centreOnScreen(this);
    return QDialog::exec();
}

bool RuleTableWindow::prepareGrids()
{
    m_table.prepare();
    return true;
}

bool RuleTableWindow::FormShow()
{
    m_pages->setCurrentIndex(0);
    if (!prepareGrids())
        return false;
    for (RuleGridView *grid : m_grids) {
        grid->applyColumns();
        grid->clearSelection();
        grid->setCurrentCell(1, 1);
    }
    const QString path = m_context.sectionFile ? m_context.sectionFile() : QString();
    if (const std::optional<QString> failure = m_table.load(path)) {
        messages().showError(text(kTextCannotReadFile) + *failure);
        return false;
    }
    return true;
}

int RuleTableWindow::activeList() const
{
    return m_pages->currentIndex() == 1 ? 1 : 0;
}

bool RuleTableWindow::Controllo_dati()
{
    const Faults faults = checkRules();
    if (faults.isEmpty())
        return true;
    messages().showError(faults.first().message);
    return false;
}

void RuleTableWindow::okClicked()
{
    if (!Controllo_dati())
        return;
    const QString path = m_context.sectionFile ? m_context.sectionFile() : QString();
    if (const std::optional<QString> failure = m_table.save(path)) {
        messages().showError(text(kTextCannotWriteFile) + path + QStringLiteral("\n") + *failure);
        return;
    }
    accept();
}

void RuleTableWindow::deleteRowClicked()
{
    const int listIndex = activeList();
    const int row = grid(listIndex)->currentGridRow();
    if (!messages().askYesNo(text(m_definition.deleteQuestionText) + QString::number(row)))
        return;
    m_table.list(listIndex).deleteRow(row);
}

void RuleTableWindow::Btn_InsRowClick()
{
    const int listIndex = activeList();
    m_table.list(listIndex).insertRow(grid(listIndex)->currentGridRow(),
                                      m_definition.newRowsEnabled);
}

void RuleTableWindow::Btn_CopyRowClick()
{
    const int listIndex = activeList();
    m_table.copyRow(listIndex, grid(listIndex)->currentGridRow());
}

void RuleTableWindow::Btn_PasteRowClick()
{
    const int listIndex = activeList();
    const RuleTable::PasteResult result = m_table.pasteRow(
        listIndex, grid(listIndex)->currentGridRow(),
        [this] { return messages().askYesNo(text(kTextOverwriteRow)); });
    if (result == RuleTable::PasteResult::NotCopied)
        messages().showError(text(kTextPasteNotCopied));
    else if (result == RuleTable::PasteResult::WrongSize)
        messages().showError(text(kTextPasteWrongSize));
}

void RuleTableWindow::Grid_Header_DblClick(int listIndex, int column)
{
    if (!m_context.autoSizeOnDoubleClick || !m_context.autoSizeOnDoubleClick())
        return;
    RuleGridView *view = grid(listIndex);
    const RuleList &list = m_table.list(listIndex);
    int widest = view->horizontalHeader()->fontMetrics().horizontalAdvance(list.headerText(column));
    const QFontMetrics cells = view->fontMetrics();
    for (int row = 1; row <= list.lastRow(); ++row)
        widest = qMax(widest, cells.horizontalAdvance(list.cell(row, column)));
    view->setColumnWidth(column, widest);
}

} // namespace swz
