#pragma once

#include "table/tablesheet.h"

#include <QObject>
#include <array>
#include <functional>
#include <optional>

class ChannelTableModel;
class QAction;
class QTableView;
class TableHistory;

// The channel table edited like a spreadsheet: copy (Ctrl+C), paste (Ctrl+V),
// fill down (Ctrl+D), undo (Ctrl+Z) and redo (Ctrl+Y, Ctrl+Shift+Z), as keys
// of the table and as its context menu. The keys belong to the table, so a
// list open over a cell takes them too (they are its actions as well); every
// action first has an open list give its value back. Rows are inserted and
// removed from the context menu. Paste and fill write
// their cells as one step of the history without moving the current cell,
// so the row highlight stays and no list opens.
class TableSheetActions : public QObject
{
    Q_OBJECT
public:
    enum Kind { Copy, Paste, FillDown, Undo, Redo, InsertRow, RemoveRow, KindCount };

    // `giveBackList` closes a list open over a cell, its value written back.
    TableSheetActions(QTableView &grid, ChannelTableModel &model, TableHistory &history,
                      std::function<void()> giveBackList, QObject *parent = nullptr);

    QAction *action(Kind kind) const { return m_actions[kind]; }

    void copy();
    void paste();
    void fillDown();
    // "Вставить строку", "Удалить строку" at the current row; one step each.
    void insertRow();
    void removeRow();

    // What a paste that ran past the table's edge says.
    static QString cutCellsText(int cells);

private:
    QAction *addAction(Kind kind, const char *name, const QString &text, const QList<QKeySequence> &keys,
                       void (TableSheetActions::*slot)());
    std::optional<TableSheet::Range> selectedRange() const;
    void select(const TableSheet::Range &range);

    QTableView &m_grid;
    ChannelTableModel &m_model;
    TableHistory &m_history;
    std::function<void()> m_giveBackList;
    std::array<QAction *, KindCount> m_actions{};
};
