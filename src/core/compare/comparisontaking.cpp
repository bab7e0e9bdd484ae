#include "compare/comparisontaking.h"

#include "files/channelfileformat.h"
#include "files/profile.h"
#include "table/settingstext.h"

#include <algorithm>
#include <optional>

namespace ComparisonTaking {

namespace {

using Kind = StationComparison::Difference::Kind;

bool isSettingsKey(const QString &key)
{
    return std::any_of(SettingsText::keys().begin(), SettingsText::keys().end(),
                       [&key](const SettingsText::KeySpec &spec) { return spec.name == key; });
}

void takeSetting(const StationComparison::Difference &d, QStringList &lines)
{
    if (d.b == StationComparison::missingLineText()) {
        lines.erase(std::remove_if(lines.begin(), lines.end(),
                                   [&d](const QString &line) {
                                       const qsizetype eq = line.indexOf(u'=');
                                       return eq > 0
                                              && line.left(eq).trimmed().compare(d.key, Qt::CaseInsensitive) == 0;
                                   }),
                    lines.end());
        return;
    }
    Profile settings(lines);
    settings.setValue(SettingsText::sectionName(), d.key, d.b);
    lines = settings.lines();
}

// Rows 1..rows of `from`, with `table`'s header and rows before `first`.
ChannelTable withRowsOf(const ChannelTable &table, const ChannelTable &from, int first, int rows)
{
    ChannelTable result = from;
    result.setRowCount(rows + 1);
    for (int row = 0; row < first; ++row) {
        for (int column = 0; column < ChannelTable::ColumnCount; ++column) {
            result.setCell(column, row, table.cell(column, row));
            if (row > 0 && ChannelTable::isCheckColumn(column))
                result.setChecked(column, row, table.isChecked(column, row));
        }
    }
    return result;
}

// Whether the table still has the rows the difference names: a row of
// cells or one only A has is there, a row only B has is not, yet.
bool fits(const StationComparison::Difference &d, const ChannelTable &table, const StationSide &from)
{
    const int rows = table.channelCount();
    if (d.kind == Kind::OnlyInB)
        return d.row > rows && d.row <= from.table.channelCount();
    if (d.row == 0)
        return !d.isCell();
    return d.row >= 1 && d.row <= rows;
}

} // namespace

QString outOfDateText()
{
    return QStringLiteral("Различия не взяты: таблица изменилась после сравнения. Сравните ещё раз.");
}

bool canTake(const StationComparison::Difference &d)
{
    if (d.isCell() || d.kind == Kind::OnlyInA || d.kind == Kind::OnlyInB)
        return true;
    return d.row == 0 && (d.kind == Kind::NotStored || isSettingsKey(d.key));
}

Taken take(const QList<StationComparison::Difference> &differences, const StationSide &from, ChannelTable &table,
           QStringList &settingsLines)
{
    for (const StationComparison::Difference &d : differences) {
        if (canTake(d) && !fits(d, table, from))
            return {0, Refusal{outOfDateText()}};
    }
    int taken = 0;
    std::optional<int> keepRows; // rows only A has go from the first one taken
    int addRows = 0;             // rows only B has come up to the last one taken
    for (const StationComparison::Difference &d : differences) {
        if (!canTake(d))
            continue;
        ++taken;
        if (d.kind == Kind::OnlyInA) {
            keepRows = std::min(keepRows.value_or(d.row), d.row);
        } else if (d.kind == Kind::OnlyInB) {
            addRows = std::max(addRows, d.row);
        } else if (d.isCell() && ChannelTable::isCheckColumn(d.column)) {
            table.setChecked(d.column, d.row, d.b == ChannelFileFormat::checkedValue());
        } else if (d.isCell()) {
            table.setCell(d.column, d.row, d.b);
        } else {
            takeSetting(d, settingsLines);
        }
    }
    if (addRows > 0)
        table = withRowsOf(table, from.table, table.rowCount(), std::min(addRows, from.table.channelCount()));
    if (keepRows)
        table.setRowCount(*keepRows);
    return {taken, std::nullopt};
}

} // namespace ComparisonTaking
