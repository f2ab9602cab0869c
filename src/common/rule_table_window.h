#pragma once

#include "common/faults.h"
#include "common/rule_table.h"
#include "common/window_parts.h"

#include <QDialog>
#include <QStringList>
#include <QTableView>

#include <array>
#include <functional>

class QPushButton;
class QTabWidget;

namespace swz {

// What a rule-table window takes from the application: the shared row buffer, the UI texts
// and the two table switches of the settings, read at each key press and double-click.
struct RuleTableContext
{
    QStringList *rowBuffer = nullptr;
    std::function<QString(int)> text;
    std::function<bool()> jumpOnEnter;
    std::function<bool()> autoSizeOnDoubleClick;
    std::function<QString()> sectionFile; // path of the editor's section file
};

// One grid of a rule table: the row-number click, the Enter-key jump and the header
// double-click; the window decides through the callbacks.
class RuleGridView final : public QTableView
{
    Q_OBJECT

public:
    RuleGridView(RuleList &list, QWidget *parent);

    RuleList &list() const { return m_list; }
    // The grid row of the focused cell, 1 for the first data row; 1 when nothing is focused.
    int currentGridRow() const;
    void setCurrentCell(int gridRow, int column);
    // Selects the data columns of a row and makes it the current row.
    void selectGridRow(int gridRow);
    // Re-applies widths and hidden columns after the list was prepared.
    void applyColumns();

    std::function<bool()> jumpOnEnter;
    std::function<void(int column)> headerDoubleClicked;

    // The Enter-key rule; true when the key was consumed.
    bool Grid_Enter_Key(QKeyEvent *event);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    bool edit(const QModelIndex &index, EditTrigger trigger, QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    RuleList &m_list;
};

// The window shared by every rule-table editor: title band, two pages with one grid each and
// the six buttons. An editor adds its declaration, its checks and whatever it reads before
// loading its file.
class RuleTableWindow : public QDialog, public LanguageAware
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RuleTableWindow)

public:
    static constexpr int kClientHeight = 337;

    RuleTableWindow(const RuleTableDefinition &definition, RuleTableContext context,
                    QWidget *parent = nullptr);

    // Prepares and loads, then shows the window modally. When the section file cannot be
    // read the window does not open, so OK can never write empty grids over it.
    int exec() override;

    void Set_Lang() override;
    // Prepares both grids and reads the section file; false (after the message) when a file
    // could not be read.
    bool FormShow();
    bool Controllo_dati();

    // Row commands on the grid of the active page at its current row.
    void deleteRowClicked();
    void Btn_InsRowClick();
    void Btn_CopyRowClick();
    void Btn_PasteRowClick();
    void okClicked();

    void Grid_Header_DblClick(int listIndex, int column);

    RuleTable &table() { return m_table; }
    const RuleTable &table() const { return m_table; }
    RuleGridView *grid(int listIndex) const { return m_grids[std::size_t(listIndex)]; }
    int activeList() const;
    QTabWidget *pages() const { return m_pages; }

    // The checks of the editor, in check order.
    virtual Faults checkRules() const = 0;

protected:
    // Everything the editor does before its file is loaded; false stops the opening. The
    // default prepares both grids at the declared size.
    virtual bool prepareGrids();
    QString text(int index) const { return m_context.text(index); }

private:
    RuleTableDefinition m_definition;
    RuleTableContext m_context;
    RuleTable m_table;
    TitleBand m_title;
    QTabWidget *m_pages = nullptr;
    std::array<RuleGridView *, 2> m_grids{};
    std::array<QPushButton *, 6> m_buttons{};
};

} // namespace swz
