#pragma once

#include "common/faults.h"

#include <QAbstractTableModel>
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <memory>
#include <optional>

class QDomElement;
class QXmlStreamWriter;

namespace swz {

// Column tints by role, as 0xRRGGBB; kNoTint leaves the window's own colour.
namespace tint {
inline constexpr quint32 kNoTint = 0xFF000000u;
inline constexpr quint32 kEnable = 0xFFD8B0;   // enable column
inline constexpr quint32 kIdentity = 0xE0FAFE; // start byte, sizes, index, device id, COB-ID
inline constexpr quint32 kTrigger = 0xA8FFA8;  // on change, on command, on timer, times
inline constexpr quint32 kAddress = 0xFCD6F4;  // array addresses and the FPort
inline constexpr quint32 kWhite = 0xFFFFFF;    // mnemonic
} // namespace tint

// One data column of a rule list: how it is shown, where its texts come from and the
// attribute it is stored in.
struct RuleColumn
{
    enum class Kind { Text, CheckBox };

    Kind kind = Kind::Text;
    int width = 64;
    quint32 tint = tint::kNoTint;
    int headerText = -1; // UI text index of the header cell
    int hintText = -1;   // UI text index of the header hint
    QString attribute;
    QString missingValue; // the cell text when a loaded rule lacks the attribute
};

// One of the two lists of a rule-table editor (one tab page, one grid).
struct RuleListDefinition
{
    QString gridName;        // object name of the grid
    QString pageName;        // object name of its tab page
    int tabText = -1;
    int rowNumberHeaderText = -1;
    QString element;         // list element of the section file
    QList<RuleColumn> columns; // data columns 1 to n
    int keyColumn = 1;       // grid column whose empty cell ends the list
};

// Everything that makes one rule-table editor different from the others, except its checks.
struct RuleTableDefinition
{
    QString windowName;
    QString pageControlName;
    int clientWidth = 749;
    int captionText = -1;
    int descriptionText = -1;
    int firstButtonText = -1;     // OK, Cancel, Delete Row, Insert Row, Copy Row, Paste Row
    int firstButtonHintText = -1; // their hints, same order
    int deleteQuestionText = -1;
    int rowPrefixText = -1;
    QString rootElement;
    std::array<RuleListDefinition, 2> lists;
    int rowCount = 257;        // grid rows, the header row included
    int firstRowNumber = 1;    // number shown beside the first data row
    bool newRowsEnabled = false; // new and prepared rows get "Y" in column 1
};

inline const QString kFlagYes = QStringLiteral("Y");
inline const QString kFlagNo = QStringLiteral("N");

// True when a flag cell is set: its text, trimmed, is "Y".
bool flagSet(const QString &text);

// The cells of one grid. Grid rows count as the window shows them: row 0 is the header,
// rows 1 to rowCount() - 1 hold rules; column 0 is the row number, columns 1 to n the data.
// As an item model, model row r is grid row r + 1.
class RuleList final : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Role { TintRole = Qt::UserRole + 1, KindRole };

    explicit RuleList(const RuleListDefinition &definition, QObject *parent = nullptr);

    const RuleListDefinition &definition() const { return m_definition; }
    int gridRowCount() const { return int(m_rows.size()) + 1; }
    int dataColumnCount() const { return int(m_definition.columns.size()); }
    int lastRow() const { return gridRowCount() - 1; }

    QString cell(int row, int column) const;
    void setCell(int row, int column, const QString &text);
    QStringList rowTexts(int row) const; // data columns 1 to n

    bool isCheckBoxColumn(int column) const;
    bool isColumnHidden(int column) const;
    void setColumnHidden(int column, bool hidden);

    // Resizes the grid and gives every data row its number and empty cells (column 1 gets
    // "Y" when fillEnable is set).
    void prepare(int gridRows, int firstNumber, bool fillEnable);

    // Number of rules: data rows from row 1 down to the first empty key cell.
    int ruleCount() const;

    // Row commands; rows out of range change nothing.
    void deleteRow(int row);
    void insertRow(int row, bool enable);
    bool rowInUse(int row) const;
    void pasteRow(int row, const QStringList &texts);

    // The cell the Enter key moves to from (row, column).
    std::pair<int, int> nextCell(int row, int column) const;

    // Fills rows from the children of a list element; extra children are ignored.
    void load(const QDomElement &listElement);
    // Writes the list element with one row element per rule.
    void write(QXmlStreamWriter &xml) const;

    void setHeaderTexts(const QStringList &headers, const QStringList &hints);
    const QStringList &hints() const { return m_hints; }
    QString headerText(int column) const { return m_headers.value(column); }

    // Item model.
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    bool validRow(int row) const { return row >= 1 && row < gridRowCount(); }
    void rowsChanged(int first, int last);

    RuleListDefinition m_definition;
    QList<QStringList> m_rows; // one entry per data row, column 0 included
    QList<bool> m_hidden;      // by grid column
    QStringList m_headers;     // by grid column
    QStringList m_hints;       // entry k: data column k + 1
};

// The two lists of an editor, their copy flags, the shared row buffer and the section file.
class RuleTable final
{
public:
    enum class PasteResult { Pasted, NotCopied, WrongSize, Declined };

    RuleTable(const RuleTableDefinition &definition, QStringList &rowBuffer);
    RuleTable(const RuleTable &) = delete;
    RuleTable &operator=(const RuleTable &) = delete;

    const RuleTableDefinition &definition() const { return m_definition; }
    RuleList &list(int index) { return *m_lists[std::size_t(index)]; }
    const RuleList &list(int index) const { return *m_lists[std::size_t(index)]; }
    bool copied(int index) const { return m_copied[std::size_t(index)]; }
    const QStringList &rowBuffer() const { return m_rowBuffer; }

    // Prepares both grids at gridRows rows and clears the copy flags.
    void prepare(int gridRows);
    void prepare() { prepare(m_definition.rowCount); }

    void copyRow(int listIndex, int row);
    // askOverwrite is asked only when the target row is in use.
    PasteResult pasteRow(int listIndex, int row, const std::function<bool()> &askOverwrite);

    // Reads the section file into the prepared grids. A missing file leaves them as they are;
    // a file that cannot be read gives the reason and leaves them as they are too.
    std::optional<QString> load(const QString &path);
    void load(const QDomElement &root);

    QByteArray document() const;
    // Replaces the section file; the reason when that failed.
    std::optional<QString> save(const QString &path) const;

private:
    RuleTableDefinition m_definition;
    QStringList &m_rowBuffer;
    std::array<std::unique_ptr<RuleList>, 2> m_lists;
    std::array<bool, 2> m_copied{false, false};
};

// Collects the faults of one list in check order, each with "prefix" + grid row + text.
class RuleChecker final
{
public:
    RuleChecker(const RuleList &list, const QString &rowPrefix, Faults &faults);

    // Calls check for every rule of the list (rows 1 to ruleCount()).
    void forEachRule(const std::function<void(int row)> &check);
    // The cell read as an integer, -1 when it is none.
    qint32 value(int row, int column) const;
    // A fault with text when the cell does not read lo..hi; true when it passed.
    bool range(int row, int column, qint64 lo, qint64 hi, const QString &text);
    void fail(int row, const QString &text);

private:
    const RuleList &m_list;
    QString m_prefix;
    Faults &m_faults;
};

} // namespace swz
