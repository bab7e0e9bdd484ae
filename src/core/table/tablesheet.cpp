#include "table/tablesheet.h"

#include <QRegularExpression>

namespace TableSheet {

Block parse(const QString &text)
{
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\n"));
    QStringList lines = text.split(lineEnd);
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    Block block;
    for (const QString &line : std::as_const(lines))
        block.append(line.split(u'\t'));
    return block;
}

QString format(const Block &block)
{
    QString text;
    for (const QStringList &row : block)
        text += row.join(u'\t') + u'\n';
    return text;
}

std::optional<bool> boxState(const QString &word)
{
    const QString w = word.trimmed().toLower();
    if (w == QStringLiteral("да") || w == u"+" || w == u"1")
        return true;
    if (w == QStringLiteral("нет") || w == u"-" || w == u"0")
        return false;
    return std::nullopt;
}

QString boxWord(bool checked)
{
    return checked ? QStringLiteral("да") : QStringLiteral("нет");
}

QString cellWord(const ChannelTable &table, int column, int row)
{
    if (ChannelTable::isCheckColumn(column) && table.hasBoxes(row))
        return boxWord(table.isChecked(column, row));
    return table.cell(column, row);
}

Block copy(const ChannelTable &table, const Range &range)
{
    Block block;
    for (int row = range.top; row <= range.bottom; ++row) {
        QStringList cells;
        for (int column = range.left; column <= range.right; ++column)
            cells << cellWord(table, column, row);
        block << cells;
    }
    return block;
}

Placement paste(const ChannelTable &table, int column, int row, const Block &block)
{
    Placement placement;
    for (qsizetype i = 0; i < block.size(); ++i) {
        const QStringList &cells = block.at(i);
        const int r = row + static_cast<int>(i);
        for (qsizetype j = 0; j < cells.size(); ++j) {
            const int c = column + static_cast<int>(j);
            if (r > table.channelCount() || c >= ChannelTable::ColumnCount) {
                ++placement.cutCells;
                continue;
            }
            QString word = cells.at(j);
            // A spreadsheet of another locale writes a frequency with a point.
            if (c == ChannelTable::Rx || c == ChannelTable::Tx)
                word.replace(u'.', u',');
            if (!ChannelTable::isCheckColumn(c)) {
                if (table.cell(c, r) != word)
                    placement.writes.push_back({c, r, word, std::nullopt});
            } else if (table.hasBoxes(r)) {
                const std::optional<bool> state = boxState(word);
                if (state && *state != table.isChecked(c, r))
                    placement.writes.push_back({c, r, std::nullopt, state});
            }
        }
    }
    return placement;
}

std::vector<CellWrite> fillDown(const ChannelTable &table, const Range &range)
{
    const QStringList top = copy(table, {range.left, range.top, range.right, range.top}).value(0);
    Block block;
    for (int row = range.top + 1; row <= range.bottom; ++row)
        block << top;
    return paste(table, range.left, range.top + 1, block).writes;
}

} // namespace TableSheet
