#pragma once

#include "table/channeltable.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// The channel table as a spreadsheet sees it through the clipboard:
// tab-separated cells, one line per row, a check box as "да" or "нет".
// Copy, paste and fill down are worked out here, on the core table; the
// window applies the result as one step of its history.
namespace TableSheet {

// Rows of cells, as the clipboard carries them.
using Block = QList<QStringList>;

// A rectangle of channel cells: table rows (1..N) and columns, inclusive.
struct Range
{
    int left = 0;
    int top = 1;
    int right = 0;
    int bottom = 1;
};

// The new value of one cell: its text, or the state of its box.
struct CellWrite
{
    int column = 0;
    int row = 0;
    std::optional<QString> text;
    std::optional<bool> checked;
    bool operator==(const CellWrite &) const = default;
};

struct Placement
{
    std::vector<CellWrite> writes;
    // Cells of the block that fell past the last row or column.
    int cutCells = 0;
};

// Lines end with CR LF or LF; a line end after the last line makes no
// empty row, and an empty text no block at all.
Block parse(const QString &text);
// Every line ends with LF, as spreadsheets put it on the clipboard.
QString format(const Block &block);

// "да", "+" and "1" tick a box, "нет", "-" and "0" clear it (letter case and
// surrounding blanks do not count); any other word leaves it.
std::optional<bool> boxState(const QString &word);
QString boxWord(bool checked);

// A cell as copy gives it: the word of its box, or its text. A check column
// of a row without boxes gives its text.
QString cellWord(const ChannelTable &table, int column, int row);
Block copy(const ChannelTable &table, const Range &range);

// The block laid onto the table from (column, row) right and down. Texts
// go in as they are, but for the decimal point of a frequency (Rx, Tx), which
// becomes the comma; a box takes a word of boxState() and keeps its state
// for any other; a row without boxes keeps its check columns as they are,
// since a paste does not make boxes. Only cells that change are written.
Placement paste(const ChannelTable &table, int column, int row, const Block &block);

// Every cell of the range below its top row takes the top cell's value, as
// a paste of that cell's word would.
std::vector<CellWrite> fillDown(const ChannelTable &table, const Range &range);

} // namespace TableSheet
