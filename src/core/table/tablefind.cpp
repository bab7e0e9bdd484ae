#include "table/tablefind.h"
#include "exchange/channelcsv.h"

namespace TableFind {

bool matches(const ChannelTable &table, const Cell &cell, const Query &query)
{
    const QString text = query.text.trimmed();
    if (text.isEmpty() || (ChannelTable::isCheckColumn(cell.column) && table.hasBoxes(cell.row)))
        return false;
    const QString &held = table.cell(cell.column, cell.row);
    const bool sameText = query.wholeCell ? held.trimmed().compare(text, Qt::CaseInsensitive) == 0
                                          : held.contains(text, Qt::CaseInsensitive);
    if (sameText)
        return true;
    // The value as the column takes it from a spreadsheet names the cell too.
    const QString wanted = ChannelCsv::cellText(cell.column, text);
    return wanted.compare(ChannelCsv::cellText(cell.column, held), Qt::CaseInsensitive) == 0;
}

std::optional<Cell> next(const ChannelTable &table, const Cell &from, const Query &query, bool backwards)
{
    const int columns = ChannelTable::ColumnCount;
    const int cells = table.channelCount() * columns;
    if (cells <= 0 || query.text.trimmed().isEmpty())
        return std::nullopt;
    const int start = (from.row - 1) * columns + from.column;
    const int step = backwards ? -1 : 1;
    for (int i = 1; i <= cells; ++i) {
        const int at = ((start + step * i) % cells + cells) % cells;
        const Cell cell{at % columns, at / columns + 1};
        if (matches(table, cell, query))
            return cell;
    }
    return std::nullopt;
}

} // namespace TableFind
