#pragma once

#include "table/channeltable.h"
#include "table/tablesheet.h"

#include <QAbstractTableModel>
#include <functional>
#include <vector>

class QUndoStack;
struct CellEdit;

// Shows the channel table: model row i is table row i + 1 (row 0 is the header,
// shown by the horizontal header view). The boxes of columns 12, 14 and 17 are
// the check state of their cells, so they scroll with them.
//
// Views learn of every change the way Qt expects: a change of the table's
// shape (rows, boxes, header) by the core is wrapped in a reset that begins
// before the core touches the table; a single cell changed outside the model
// is announced with dataChanged.
//
// With a history, every change of cells through the model (setData, and the
// writes of a paste or a fill) is one step of it, made by a command that
// writes the cells back through the model; setData with the value a cell
// already holds makes no step.
class ChannelTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit ChannelTableModel(ChannelTable &table, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // The core is about to rebuild or reshape the table, and has done so.
    // Pairs may nest; the outermost pair is one model reset.
    void beginTableChange();
    void endTableChange();
    // The pair as a scope, so that a change that throws still ends the reset.
    class TableChange
    {
    public:
        explicit TableChange(ChannelTableModel &model) : m_model(model) { m_model.beginTableChange(); }
        ~TableChange() { m_model.endTableChange(); }
        TableChange(const TableChange &) = delete;
        TableChange &operator=(const TableChange &) = delete;

    private:
        ChannelTableModel &m_model;
    };

    // `beforeStep` runs before each step is pushed.
    void setHistory(QUndoStack *history, std::function<void()> beforeStep = {})
    {
        m_history = history;
        m_beforeStep = std::move(beforeStep);
    }
    // Cells worked out on the core table (a paste, a fill), as one step.
    void writeCells(const std::vector<TableSheet::CellWrite> &writes, const QString &step);
    // Cells a core operation has changed since `before` (same rows), recorded
    // as one step and told to the views.
    void recordChangedCells(const ChannelTable &before, const QString &step);

    // A cell's text (Qt::EditRole) or box (Qt::CheckStateRole) written outside
    // the history, for the history's commands; a row that is gone is skipped.
    void writeCell(int column, int tableRow, const QVariant &value, int role);
    // One cell was changed outside the model.
    void cellChanged(int column, int tableRow);

    // A channel row inserted at, or removed from, table row `tableRow`, told
    // to the views as rows; the channel numbers below follow. Outside the history.
    void insertChannelRow(int tableRow);
    void removeChannelRow(int tableRow);

    const ChannelTable &table() const { return m_table; }
    static int tableRow(const QModelIndex &index) { return index.row() + 1; }

private:
    void edit(QList<CellEdit> edits, const QString &step, bool done = false);
    bool isBox(int column, int tableRow) const
    {
        return ChannelTable::isCheckColumn(column) && m_table.hasBoxes(tableRow);
    }

    ChannelTable &m_table;
    QUndoStack *m_history = nullptr;
    std::function<void()> m_beforeStep;
    int m_changeDepth = 0;
};
