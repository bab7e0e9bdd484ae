#pragma once

#include "station/stationprofile.h"
#include "table/channeltable.h"

#include <QList>
#include <QStringList>
#include <QUndoCommand>
#include <QVariant>
#include <cstdint>
#include <functional>
#include <utility>

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

// A step kept as what it left before and after it: an undo brings back the
// one, a redo the other. The step has already been made when it is pushed.
template <class Snapshot>
class SnapshotCommand : public QUndoCommand
{
public:
    using Restore = std::function<void(const Snapshot &)>;
    SnapshotCommand(Snapshot before, Snapshot after, Restore restore, const QString &text)
        : QUndoCommand(text), m_before(std::move(before)), m_after(std::move(after)), m_restore(std::move(restore))
    {
    }

    void undo() override { m_restore(m_before); }
    void redo() override
    {
        if (!std::exchange(m_done, false))
            m_restore(m_after);
    }

private:
    Snapshot m_before;
    Snapshot m_after;
    Restore m_restore;
    bool m_done = true;
};

// A template, a file load or a station read: the whole table and the
// settings text go back and forth together.
using WholeTableCommand = SnapshotCommand<TableSnapshot>;

// Lines typed into the settings text, as one step: only the text goes back
// and forth.
using SettingsTextCommand = SnapshotCommand<QStringList>;

// A choice of station type or module: the type with its limits, the codes,
// the table (whose boxes a type detaches), the settings text and what the
// window showed of them.
struct StationChoice
{
    StationKind kind;
    std::uint8_t bandCode = 0;
    std::uint8_t moduleCode = 0;
    int chosenModule = 0;
    TableSnapshot table;
    bool workAreaShown = false;
    bool settingsShown = false;
    bool tableShown = false;
};
using StationChoiceCommand = SnapshotCommand<StationChoice>;
