#include "main/channeltablemodel.h"
#include "main/tablecommands.h"

#include <QUndoStack>

ChannelTableModel::ChannelTableModel(ChannelTable &table, QObject *parent) : QAbstractTableModel(parent), m_table(table)
{
}

int ChannelTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_table.channelCount();
}

int ChannelTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ChannelTable::ColumnCount;
}

QVariant ChannelTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const int row = tableRow(index);
    const int column = index.column();
    const bool box = isBox(column, row);
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return box ? QVariant() : QVariant(m_table.cell(column, row));
    case Qt::CheckStateRole:
        if (box)
            return m_table.isChecked(column, row) ? Qt::Checked : Qt::Unchecked;
        return {};
    default:
        return {};
    }
}

bool ChannelTableModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid())
        return false;
    const int row = tableRow(index);
    const int column = index.column();
    CellEdit e{column, row, role, {}, {}};
    if (role == Qt::CheckStateRole && isBox(column, row)) {
        e.before = m_table.isChecked(column, row) ? Qt::Checked : Qt::Unchecked;
        e.after = value.value<Qt::CheckState>() == Qt::Checked ? Qt::Checked : Qt::Unchecked;
    } else if (role == Qt::EditRole) {
        e.before = m_table.cell(column, row);
        e.after = value.toString();
    } else {
        return false;
    }
    if (e.before != e.after)
        edit({e}, QStringLiteral("Правка ячейки"));
    return true;
}

void ChannelTableModel::writeCells(const std::vector<TableSheet::CellWrite> &writes, const QString &step)
{
    QList<CellEdit> edits;
    for (const TableSheet::CellWrite &w : writes) {
        if (w.checked && isBox(w.column, w.row))
            edits.append({w.column, w.row, Qt::CheckStateRole,
                          m_table.isChecked(w.column, w.row) ? Qt::Checked : Qt::Unchecked,
                          *w.checked ? Qt::Checked : Qt::Unchecked});
        else if (w.text)
            edits.append({w.column, w.row, Qt::EditRole, m_table.cell(w.column, w.row), *w.text});
    }
    if (!edits.isEmpty())
        edit(edits, step);
}

void ChannelTableModel::recordChangedCells(const ChannelTable &before, const QString &step)
{
    if (before.rowCount() != m_table.rowCount())
        return;
    QList<CellEdit> edits;
    for (int row = 1; row < m_table.rowCount(); ++row) {
        for (int column = 0; column < ChannelTable::ColumnCount; ++column) {
            if (isBox(column, row) && before.hasBoxes(row)) {
                const bool was = before.isChecked(column, row);
                const bool is = m_table.isChecked(column, row);
                if (was != is)
                    edits.append({column, row, Qt::CheckStateRole, was ? Qt::Checked : Qt::Unchecked,
                                  is ? Qt::Checked : Qt::Unchecked});
            } else if (before.cell(column, row) != m_table.cell(column, row)) {
                edits.append({column, row, Qt::EditRole, before.cell(column, row), m_table.cell(column, row)});
            }
        }
    }
    if (!edits.isEmpty())
        edit(edits, step, true);
}

void ChannelTableModel::edit(QList<CellEdit> edits, const QString &step, bool done)
{
    auto *command = new CellsCommand(*this, std::move(edits), step, done);
    if (m_history) {
        if (m_beforeStep)
            m_beforeStep();
        m_history->push(command);
    } else {
        command->redo();
        delete command;
    }
}

void ChannelTableModel::writeCell(int column, int tableRow, const QVariant &value, int role)
{
    if (tableRow < 1 || tableRow >= m_table.rowCount() || column < 0 || column >= ChannelTable::ColumnCount)
        return;
    if (role == Qt::CheckStateRole)
        m_table.setChecked(column, tableRow, value.value<Qt::CheckState>() == Qt::Checked);
    else
        m_table.setCell(column, tableRow, value.toString());
    const QModelIndex i = index(tableRow - 1, column);
    emit dataChanged(i, i, {role == Qt::CheckStateRole ? Qt::CheckStateRole : Qt::DisplayRole, Qt::EditRole});
}

QVariant ChannelTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal && section >= 0 && section < ChannelTable::ColumnCount)
        return m_table.cell(section, 0);
    return {};
}

Qt::ItemFlags ChannelTableModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const int column = index.column();
    if (column <= ChannelTable::Tx)
        f |= Qt::ItemIsEditable;
    if (isBox(column, tableRow(index)))
        f |= Qt::ItemIsUserCheckable;
    return f;
}

void ChannelTableModel::beginTableChange()
{
    if (m_changeDepth++ == 0)
        beginResetModel();
}

void ChannelTableModel::endTableChange()
{
    if (m_changeDepth > 0 && --m_changeDepth == 0)
        endResetModel();
}

void ChannelTableModel::cellChanged(int column, int tableRow)
{
    if (tableRow == 0) {
        emit headerDataChanged(Qt::Horizontal, column, column);
        return;
    }
    const QModelIndex i = index(tableRow - 1, column);
    emit dataChanged(i, i);
}

void ChannelTableModel::insertChannelRow(int tableRow)
{
    if (tableRow < 1 || tableRow > m_table.rowCount())
        return;
    beginInsertRows({}, tableRow - 1, tableRow - 1);
    m_table.insertRow(tableRow);
    endInsertRows();
    // The rows moved as they were; then their numbers follow.
    m_table.renumberFrom(tableRow + 1, 1);
    emit dataChanged(index(tableRow - 1, ChannelTable::Number), index(rowCount() - 1, ChannelTable::Number));
}

void ChannelTableModel::removeChannelRow(int tableRow)
{
    if (tableRow < 1 || tableRow > rowCount() || rowCount() <= 1)
        return;
    beginRemoveRows({}, tableRow - 1, tableRow - 1);
    m_table.removeRow(tableRow);
    endRemoveRows();
    m_table.renumberFrom(tableRow, -1);
    if (tableRow <= rowCount())
        emit dataChanged(index(tableRow - 1, ChannelTable::Number), index(rowCount() - 1, ChannelTable::Number));
}
