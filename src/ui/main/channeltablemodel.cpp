#include "main/channeltablemodel.h"

ChannelTableModel::ChannelTableModel(ChannelTable &table, QObject *parent)
    : QAbstractTableModel(parent), m_table(table)
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
    const bool box = ChannelTable::isCheckColumn(column) && m_table.hasBoxes(row);
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
    if (role == Qt::CheckStateRole && ChannelTable::isCheckColumn(column) && m_table.hasBoxes(row)) {
        m_table.setChecked(column, row, value.value<Qt::CheckState>() == Qt::Checked);
    } else if (role == Qt::EditRole) {
        m_table.setCell(column, row, value.toString());
    } else {
        return false;
    }
    emit dataChanged(index, index, {role});
    return true;
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
    if (ChannelTable::isCheckColumn(column) && m_table.hasBoxes(tableRow(index)))
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
