#pragma once

#include "common/refusal.h"
#include "table/channeltable.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <array>

// The report needs data that passed the check; these are its answers while
// the data-valid flag is clear.
namespace ReportRefusals {

// "Создать протокол" of the main menu.
MaybeRefusal forMenu(bool dataValid);
// "Создать" of the report dialog (the same words without the exclamation marks).
MaybeRefusal forButton(bool dataValid);

} // namespace ReportRefusals

// One paragraph of the report outside the table.
struct ReportParagraph
{
    enum class Align { Left, Centre };

    QString text;
    Align align = Align::Left;
    bool bold = false;
    int pointSize = 12;
    // Kept on one page with what follows it.
    bool keepWithNext = false;

    bool operator==(const ReportParagraph &) const = default;
};

// One row of the report's table: either a (repeated) header row or a channel.
struct ReportRow
{
    static constexpr int ColumnCount = 18;
    using Texts = std::array<QString, ColumnCount>;

    bool header = false;
    Texts cells;

    bool operator==(const ReportRow &) const = default;
};

// The content of a test report, independent of the file format: the page,
// the paragraphs above the table, the table and what follows it.
class ReportDocument
{
public:
    static constexpr int ColumnCount = ReportRow::ColumnCount;
    // Margins in points; the page is landscape.
    static constexpr int MarginLeft = 25;
    static constexpr int MarginRight = 25;
    static constexpr int MarginTop = 75;
    static constexpr int MarginBottom = 67;
    static constexpr int TitlePointSize = 20;
    static constexpr int BodyPointSize = 12;
    static constexpr int HeaderPointSize = 11;
    static constexpr int CellPointSize = 12;
    // A header row is repeated before these channels, cutting the table into blocks of 30.
    static constexpr std::array<int, 3> RepeatedHeaderChannels{31, 61, 91};

    static QString title(); // Радиостанция серии "Ветрал"
    // The serial number a report carries unless another is given.
    static QString defaultSerial();
    // Header texts of the report's table; "Tон_Rx" and "Tон_Tx" begin with a Latin T.
    static const ReportRow::Texts &headerTexts();
    // Column widths in points.
    static const std::array<int, ColumnCount> &columnWidths();
    // Table rows for a channel count: one header, the channels, and one
    // repeated header for each of the channels 31, 61 and 91 that exists.
    static int tableRowCount(int channelCount);

    // The report as the "Создать" button makes it: serial is the protocol's
    // serial number as typed; channelCount is the channel count of the image
    // the last passed check built. Channels beyond the table's rows show empty
    // cells; a row without check boxes shows "-" for each box.
    static ReportDocument build(const QString &serial, const QStringList &settingsLines, const ChannelTable &table,
                                int channelCount);

    // Title, serial number, an empty paragraph, the settings lines, an empty
    // paragraph and the blank paragraph the table follows.
    QList<ReportParagraph> paragraphsBeforeTable;
    QList<ReportRow> rows;
    // What stands behind the table: one empty paragraph, since a document
    // body may not end with a table.
    QList<ReportParagraph> paragraphsAfterTable;

private:
    static ReportRow channelRow(const ChannelTable &table, int row);
};
