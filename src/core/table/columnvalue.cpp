#include "table/columnvalue.h"

namespace ColumnValue {

namespace {
QString headerOf(int column)
{
    return ChannelTable::headerTexts()[static_cast<std::size_t>(column)].trimmed();
}
} // namespace

QStringList Choice::items() const
{
    switch (kind) {
    case Kind::List:
        return ListChoice::items(list);
    case Kind::Box:
        return {TableSheet::boxWord(true), TableSheet::boxWord(false)};
    case Kind::Number:
    case Kind::Frequency:
        break;
    }
    return {};
}

Choice choiceFor(int column)
{
    if (column == ChannelTable::Rx || column == ChannelTable::Tx)
        return {Kind::Frequency, CellList::None};
    if (ChannelTable::isCheckColumn(column))
        return {Kind::Box, CellList::None};
    if (const CellList list = ListChoice::listFor(column); list != CellList::None)
        return {Kind::List, list};
    return {Kind::Number, CellList::None};
}

std::variant<Choice, Refusal> choiceFor(const TableSheet::Range &range)
{
    const Choice first = choiceFor(range.left);
    for (int column = range.left + 1; column <= range.right; ++column)
        if (choiceFor(column) != first)
            return Refusal{QStringLiteral("Одно значение можно задать только ячейкам столбцов одного вида, а в "
                                          "выделении столбцы \"%1\" и \"%2\" заполняются по-разному. Выделите "
                                          "ячейки одного столбца.")
                               .arg(headerOf(range.left), headerOf(column)),
                           Sound::Default};
    return first;
}

std::vector<TableSheet::CellWrite> writes(const ChannelTable &table, const TableSheet::Range &range,
                                          const QString &value)
{
    const QStringList line(range.right - range.left + 1, value);
    TableSheet::Block block;
    for (int row = range.top; row <= range.bottom; ++row)
        block << line;
    return TableSheet::paste(table, range.left, range.top, block).writes;
}

} // namespace ColumnValue
