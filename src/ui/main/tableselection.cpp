#include "main/tableselection.h"
#include "main/channeltablemodel.h"

#include <QItemSelectionModel>
#include <QTableView>
#include <algorithm>

namespace TableSelection {

std::optional<TableSheet::Range> range(const QTableView &grid)
{
    QModelIndexList cells = grid.selectionModel()->selectedIndexes();
    if (cells.isEmpty() && grid.currentIndex().isValid())
        cells << grid.currentIndex();
    if (cells.isEmpty())
        return std::nullopt;
    TableSheet::Range r{cells.first().column(), ChannelTableModel::tableRow(cells.first()), cells.first().column(),
                        ChannelTableModel::tableRow(cells.first())};
    for (const QModelIndex &i : std::as_const(cells)) {
        r.left = std::min(r.left, i.column());
        r.right = std::max(r.right, i.column());
        r.top = std::min(r.top, ChannelTableModel::tableRow(i));
        r.bottom = std::max(r.bottom, ChannelTableModel::tableRow(i));
    }
    return r;
}

} // namespace TableSelection
