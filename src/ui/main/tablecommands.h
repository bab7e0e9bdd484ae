#pragma once

#include "table/channeltable.h"

#include <QList>
#include <QStringList>
#include <QUndoCommand>
#include <QVariant>
#include <functional>

class ChannelTableModel;

// One cell's value before and after an edit: its text (Qt::EditRole) or the
// state of its box (Qt::CheckStateRole).
struct CellEdit
{
    int column = 0;
    int row = 0; // table row, 1..N
    int role = Qt::EditRole;
    QVariant before;
    QVariant after;
};

// Cells changed by one action of the user (typing, a list, Enter, a box,
// paste, fill): the model writes them, so its signals fire both ways.
class CellsCommand : public QUndoCommand
{
public:
    // `done`: the cells already hold their new values (a core operation
    // changed them); the first redo only tells the views.
    CellsCommand(ChannelTableModel &model, QList<CellEdit> edits, const QString &text, bool done = false);

    void undo() override;
    void redo() override;

private:
    ChannelTableModel &m_model;
    QList<CellEdit> m_edits;
    bool m_done;
};

// The table and the settings text as a whole-table step leaves them.
struct TableSnapshot
{
    ChannelTable table;
    QStringList settingsLines;
    bool operator==(const TableSnapshot &) const = default;
};

// A template, a file load or a station read: the whole table and the
// settings text go back and forth together. The step has already been made
// when it is pushed.
class WholeTableCommand : public QUndoCommand
{
public:
    using Restore = std::function<void(const TableSnapshot &)>;
    WholeTableCommand(TableSnapshot before, TableSnapshot after, Restore restore, const QString &text);

    void undo() override;
    void redo() override;

private:
    TableSnapshot m_before;
    TableSnapshot m_after;
    Restore m_restore;
    bool m_done = true;
};
