#pragma once

// Shared by the CSV tests: a channel table in the forms the CSV file reads
// back (frequencies with two decimals, as a station read writes them), with
// every kind of cell a spreadsheet program changes when it saves the file.

#include "channelfilefixtures.h"
#include "common/numbers.h"
#include "exchange/channelcsv.h"

Q_DECLARE_METATYPE(ChannelCsv::Encoding)

namespace CsvFixtures {

// ChannelFileFixtures::makeState's table with two-decimal frequencies, a
// repeater mark, a cell that needs quoting and Id_Тон ticked on row 1.
inline ChannelPlan stationFormState(int channels)
{
    ChannelPlan state = ChannelFileFixtures::makeState(StationKind::Band144_174, 2, channels);
    ChannelTable &t = state.table;
    for (int row = 1; row <= channels; ++row)
        for (int column : {ChannelTable::Rx, ChannelTable::Tx})
            if (t.cell(column, row) != QStringLiteral("РЕТР_ПП"))
                t.setCell(column, row, Numbers::formatTwoDecimals(Numbers::toDecimal(t.cell(column, row))));
    t.setCell(ChannelTable::Tx, 1, QStringLiteral("РЕТР_ПР"));
    t.setCell(ChannelTable::TxOff, channels, QStringLiteral("Норм; \"ч\""));
    t.setChecked(ChannelTable::IdTone, 1, true);
    return state;
}

// The table, or the text of the refusal, of a decode.
inline ChannelTable importedTable(const std::variant<ChannelCsv::Imported, Refusal> &result)
{
    if (const auto *refusal = std::get_if<Refusal>(&result))
        qFatal("CSV refused: %s", qPrintable(refusal->text));
    return std::get<ChannelCsv::Imported>(result).table;
}

inline QString refusalText(const std::variant<ChannelCsv::Imported, Refusal> &result)
{
    const auto *refusal = std::get_if<Refusal>(&result);
    return refusal ? refusal->text : QStringLiteral("<taken>");
}

// Every cell and box of the channel rows, one line per row, for QCOMPARE.
inline QStringList rowsOf(const ChannelTable &table)
{
    QStringList rows;
    for (int row = 1; row < table.rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < ChannelTable::ColumnCount; ++column)
            cells << (ChannelTable::isCheckColumn(column) ? QString(!table.hasBoxes(row) ? "(нет флажка)"
                                                                    : table.isChecked(column, row) ? "+"
                                                                                                   : "-")
                                                          : table.cell(column, row));
        rows << cells.join(u'|');
    }
    return rows;
}

} // namespace CsvFixtures
