#include "common/rule_table.h"

#include "common/text_values.h"
#include "common/xml_file.h"

#include <QDomElement>
#include <QXmlStreamWriter>

namespace swz {

bool flagSet(const QString &text)
{
    return trimBlanks(text) == kFlagYes;
}

RuleList::RuleList(const RuleListDefinition &definition, QObject *parent)
    : QAbstractTableModel(parent)
    , m_definition(definition)
    , m_hidden(definition.columns.size() + 1, false)
{
}

QString RuleList::cell(int row, int column) const
{
    if (!validRow(row) || column < 0 || column > dataColumnCount())
        return {};
    return m_rows[row - 1][column];
}

void RuleList::setCell(int row, int column, const QString &text)
{
    if (!validRow(row) || column < 1 || column > dataColumnCount())
        return;
    m_rows[row - 1][column] = text;
    const QModelIndex changed = index(row - 1, column);
    emit dataChanged(changed, changed);
}

QStringList RuleList::rowTexts(int row) const
{
    if (!validRow(row))
        return {};
    return m_rows[row - 1].mid(1);
}

bool RuleList::isCheckBoxColumn(int column) const
{
    return column >= 1 && column <= dataColumnCount()
           && m_definition.columns[column - 1].kind == RuleColumn::Kind::CheckBox;
}

bool RuleList::isColumnHidden(int column) const
{
    return m_hidden.value(column, false);
}

void RuleList::setColumnHidden(int column, bool hidden)
{
    if (column >= 1 && column < m_hidden.size())
        m_hidden[column] = hidden;
}

void RuleList::prepare(int gridRows, int firstNumber, bool fillEnable)
{
    beginResetModel();
    m_rows.clear();
    const int dataRows = qMax(0, gridRows - 1);
    m_rows.reserve(dataRows);
    for (int r = 1; r <= dataRows; ++r) {
        QStringList texts(dataColumnCount() + 1);
        texts[0] = QString::number(r - 1 + firstNumber);
        if (fillEnable && dataColumnCount() >= 1)
            texts[1] = kFlagYes;
        m_rows.append(texts);
    }
    endResetModel();
}

int RuleList::ruleCount() const
{
    int count = 0;
    while (count < m_rows.size()
           && !trimBlanks(m_rows[count].value(m_definition.keyColumn)).isEmpty())
        ++count;
    return count;
}

void RuleList::rowsChanged(int first, int last)
{
    if (first <= last)
        emit dataChanged(index(first - 1, 1), index(last - 1, dataColumnCount()));
}

void RuleList::deleteRow(int row)
{
    if (!validRow(row))
        return;
    for (int r = row; r < lastRow(); ++r) {
        for (int c = 1; c <= dataColumnCount(); ++c)
            m_rows[r - 1][c] = m_rows[r][c];
    }
    for (int c = 1; c <= dataColumnCount(); ++c)
        m_rows[lastRow() - 1][c].clear();
    rowsChanged(row, lastRow());
}

void RuleList::insertRow(int row, bool enable)
{
    if (!validRow(row))
        return;
    for (int r = lastRow() - 1; r >= row; --r) {
        for (int c = 1; c <= dataColumnCount(); ++c)
            m_rows[r][c] = m_rows[r - 1][c];
    }
    for (int c = 1; c <= dataColumnCount(); ++c)
        m_rows[row - 1][c].clear();
    if (enable && dataColumnCount() >= 1)
        m_rows[row - 1][1] = kFlagYes;
    rowsChanged(row, lastRow());
}

bool RuleList::rowInUse(int row) const
{
    for (int c = 1; c <= dataColumnCount(); ++c) {
        if (!isCheckBoxColumn(c) && !trimBlanks(cell(row, c)).isEmpty())
            return true;
    }
    return false;
}

void RuleList::pasteRow(int row, const QStringList &texts)
{
    if (!validRow(row))
        return;
    for (int c = 1; c <= dataColumnCount() && c <= texts.size(); ++c)
        m_rows[row - 1][c] = texts[c - 1];
    rowsChanged(row, row);
}

std::pair<int, int> RuleList::nextCell(int row, int column) const
{
    for (int c = column + 1; c <= dataColumnCount(); ++c) {
        if (!isColumnHidden(c))
            return {row, c};
    }
    return {row >= lastRow() ? 1 : row + 1, 1};
}

void RuleList::load(const QDomElement &listElement)
{
    int row = 1;
    for (QDomNode node = listElement.firstChild(); !node.isNull() && row <= lastRow();
         node = node.nextSibling()) {
        // Rules are taken by position whatever their element name; comments and text are no
        // rules.
        if (!node.isElement())
            continue;
        const QDomElement rule = node.toElement();
        for (int c = 1; c <= dataColumnCount(); ++c) {
            const RuleColumn &column = m_definition.columns[c - 1];
            m_rows[row - 1][c] = rule.hasAttribute(column.attribute)
                                     ? rule.attribute(column.attribute)
                                     : column.missingValue;
        }
        ++row;
    }
    rowsChanged(1, lastRow());
}

void RuleList::write(QXmlStreamWriter &xml) const
{
    xml.writeStartElement(m_definition.element);
    const int rules = ruleCount();
    for (int r = 1; r <= rules; ++r) {
        xml.writeStartElement(QStringLiteral("row"));
        for (int c = 1; c <= dataColumnCount(); ++c)
            xml.writeAttribute(m_definition.columns[c - 1].attribute, cell(r, c));
        xml.writeEndElement();
    }
    xml.writeEndElement();
}

void RuleList::setHeaderTexts(const QStringList &headers, const QStringList &hints)
{
    m_headers = headers;
    m_hints = hints;
    emit headerDataChanged(Qt::Horizontal, 0, dataColumnCount());
}

int RuleList::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int RuleList::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : dataColumnCount() + 1;
}

QVariant RuleList::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const int row = index.row() + 1;
    const int column = index.column();
    const bool checkBox = isCheckBoxColumn(column);
    switch (role) {
    case Qt::DisplayRole:
        return checkBox ? QVariant() : QVariant(cell(row, column));
    case Qt::EditRole:
        return cell(row, column);
    case Qt::CheckStateRole:
        // Only "Y" ticks the box; any other text shows unticked and stays until clicked.
        if (checkBox)
            return cell(row, column) == kFlagYes ? Qt::Checked : Qt::Unchecked;
        return {};
    case Qt::TextAlignmentRole:
        return checkBox ? int(Qt::AlignCenter) : int(Qt::AlignLeft | Qt::AlignVCenter);
    case TintRole:
        return column >= 1 ? m_definition.columns[column - 1].tint : tint::kNoTint;
    case KindRole:
        return checkBox ? 1 : 0;
    default:
        return {};
    }
}

bool RuleList::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || index.column() < 1)
        return false;
    const int row = index.row() + 1;
    if (role == Qt::CheckStateRole && isCheckBoxColumn(index.column())) {
        const bool ticked = value.toInt() == Qt::Checked;
        setCell(row, index.column(), ticked ? kFlagYes : kFlagNo);
        return true;
    }
    if (role == Qt::EditRole && !isCheckBoxColumn(index.column())) {
        setCell(row, index.column(), value.toString());
        return true;
    }
    return false;
}

QVariant RuleList::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return m_headers.value(section);
    if (role == Qt::ToolTipRole && section >= 1) {
        const QString hint = m_hints.value(section - 1);
        return hint.isEmpty() ? QVariant() : QVariant(hint);
    }
    return {};
}

Qt::ItemFlags RuleList::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    if (index.column() == 0)
        return Qt::ItemIsEnabled;
    if (isCheckBoxColumn(index.column()))
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

RuleTable::RuleTable(const RuleTableDefinition &definition, QStringList &rowBuffer)
    : m_definition(definition)
    , m_rowBuffer(rowBuffer)
{
    for (std::size_t i = 0; i < m_lists.size(); ++i)
        m_lists[i] = std::make_unique<RuleList>(definition.lists[i]);
    prepare();
}

void RuleTable::prepare(int gridRows)
{
    for (auto &list : m_lists)
        list->prepare(gridRows, m_definition.firstRowNumber, m_definition.newRowsEnabled);
    m_copied = {false, false};
}

void RuleTable::copyRow(int listIndex, int row)
{
    m_rowBuffer = list(listIndex).rowTexts(row);
    m_copied[std::size_t(listIndex)] = true;
    m_copied[std::size_t(1 - listIndex)] = false;
}

RuleTable::PasteResult RuleTable::pasteRow(int listIndex, int row,
                                           const std::function<bool()> &askOverwrite)
{
    RuleList &target = list(listIndex);
    if (!copied(listIndex))
        return PasteResult::NotCopied;
    if (m_rowBuffer.size() != target.dataColumnCount())
        return PasteResult::WrongSize;
    if (target.rowInUse(row) && !askOverwrite())
        return PasteResult::Declined;
    target.pasteRow(row, m_rowBuffer);
    return PasteResult::Pasted;
}

std::optional<QString> RuleTable::load(const QString &path)
{
    const XmlLoad xml = loadXmlFile(path);
    if (xml.failed())
        return path + QStringLiteral(": ") + xml.error;
    if (xml.loaded())
        load(xml.root());
    return std::nullopt;
}

void RuleTable::load(const QDomElement &root)
{
    // A missing list element leaves its grid as prepared, the same as an empty list.
    for (std::size_t i = 0; i < m_lists.size(); ++i) {
        const QDomElement element = childElement(root, m_definition.lists[i].element);
        if (!element.isNull())
            m_lists[i]->load(element);
    }
}

QByteArray RuleTable::document() const
{
    QByteArray out;
    QXmlStreamWriter xml(&out);
    xml.setAutoFormatting(true);
    xml.writeStartElement(m_definition.rootElement);
    for (const auto &list : m_lists)
        list->write(xml);
    xml.writeEndElement();
    xml.writeComment(QStringLiteral("SW_VERSION = 1.000"));
    xml.writeEndDocument();
    // Auto-formatting opens with a line break when there is no XML declaration; the root is
    // the first thing in the file.
    if (out.startsWith('\n'))
        out.remove(0, 1);
    return out;
}

std::optional<QString> RuleTable::save(const QString &path) const
{
    return saveFileAtomically(path, document());
}

RuleChecker::RuleChecker(const RuleList &list, const QString &rowPrefix, Faults &faults)
    : m_list(list)
    , m_prefix(rowPrefix)
    , m_faults(faults)
{
}

void RuleChecker::forEachRule(const std::function<void(int)> &check)
{
    const int rules = m_list.ruleCount();
    for (int row = 1; row <= rules; ++row)
        check(row);
}

qint32 RuleChecker::value(int row, int column) const
{
    return readIntegerOr(m_list.cell(row, column), -1);
}

bool RuleChecker::range(int row, int column, qint64 lo, qint64 hi, const QString &text)
{
    const qint64 read = value(row, column);
    if (read >= lo && read <= hi)
        return true;
    fail(row, text);
    return false;
}

void RuleChecker::fail(int row, const QString &text)
{
    m_faults.append({m_list.definition().element, row, m_prefix + QString::number(row) + text});
}

} // namespace swz
