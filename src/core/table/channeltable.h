#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

// The channel table: row 0 is the header, rows 1..N the channels, 18 text
// columns each. Columns 12, 14 and 17 carry check boxes instead of text; a row
// whose boxes were detached (after a station type change) has none at all.
class ChannelTable
{
public:
    static constexpr int ColumnCount = 18;
    enum Column {
        Number = 0,
        Rx = 1,
        Tx = 2,
        CtcRx = 3,
        CtcTx = 4,
        DcsRx = 5,
        DcsTx = 6,
        ToneRx = 7,
        ToneTx = 8,
        Sh = 9,
        PMax = 10,
        PMin = 11,
        Scan = 12,
        Sw = 13,
        IdTone = 14,
        TxOff = 15,
        Time = 16,
        Active = 17,
    };
    using Texts = std::array<QString, ColumnCount>;

    // Header texts of the window (template and station read).
    static const Texts &headerTexts();
    // Header texts written by a file load: the transmit header has a capital "Ц".
    static const Texts &loadedHeaderTexts();
    // What a template puts into each cell of a channel row; empty for the
    // number and the two frequencies, which it fills in itself, and for the
    // check columns.
    static const Texts &templateTexts();
    static bool isCheckColumn(int column) { return column == Scan || column == IdTone || column == Active; }
    // Position 0..2 of a check column among the three boxes of a row, or -1.
    static int checkIndex(int column);
    static const std::array<int, ColumnCount> &columnWidths();

    // The table at program start: 11 rows, empty header, no boxes.
    ChannelTable();

    int rowCount() const { return static_cast<int>(m_rows.size()); }
    int channelCount() const { return rowCount() - 1; }
    // Keeps the rows that stay; new rows are empty and carry no boxes.
    void setRowCount(int rows);

    const QString &cell(int column, int row) const;
    void setCell(int column, int row, const QString &text);
    void setHeader(const Texts &texts);

    bool hasBoxes(int row) const;
    // False for a row without boxes.
    bool isChecked(int column, int row) const;
    // Does nothing on a row without boxes.
    void setChecked(int column, int row, bool checked);

    // Fresh boxes for every channel row: "Скан." and "Акт" ticked, "Id_Тон" not;
    // then the check-box row count is recorded.
    void addCheckBoxes();
    // Detaches every box: the rows keep their texts but carry no boxes.
    void detachCheckBoxes();
    int checkBoxRowCount() const { return m_checkBoxRowCount; }

    // A channel row inserted at `row` (1..rowCount()), the rows from there
    // moving down with their boxes: it holds the template's texts, the channel
    // number of the row it pushed down and, in a table with boxes, fresh boxes.
    void insertRow(int row);
    // The channel row removed (1..rowCount()-1), the rows below moving up with
    // their boxes. The last channel row stays.
    void removeRow(int row);
    // Whole channel numbers from `row` on change by `by`: after an insertion
    // (from the row below it, by 1) or a removal (from its place, by -1).
    void renumberFrom(int row, int by);

    bool operator==(const ChannelTable &) const = default;

private:
    struct Row
    {
        Texts cells;
        std::optional<std::array<bool, 3>> boxes;
        bool operator==(const Row &) const = default;
    };
    std::vector<Row> m_rows;
    int m_checkBoxRowCount = 0;
};
