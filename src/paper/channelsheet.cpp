#include "channelsheet.h"
#include "image/fieldcoding.h"
#include "table/channelplan.h"
#include "table/settingstext.h"

#include <QMarginsF>
#include <QPageSize>
#include <QRectF>
#include <numeric>

namespace ChannelSheet {

namespace {

constexpr qreal Margin = 28; // points, about a centimetre
constexpr qreal TitleSize = 14;
constexpr qreal TextSize = 10;
constexpr qreal CellSize = 9;
constexpr qreal LegendSize = 8;
constexpr int SettingsColumns = 6;

QString dateText(const QDate &date)
{
    return date.toString(QStringLiteral("dd.MM.yyyy"));
}

QString moduleText(const ChannelPlan &state)
{
    if (state.moduleCode < Modules::Count)
        return Modules::captions()[state.moduleCode].trimmed();
    return QStringLiteral("код %1").arg(state.moduleCode);
}

// A band code that names no station type (kept from a file) is shown beside
// the type whose limits the data are checked against.
QString stationText(const ChannelPlan &state)
{
    QString text = QStringLiteral("%1 (%2)").arg(state.profile().caption, state.profile().menuCaption);
    if (state.bandCode != state.profile().bandCode)
        text += QStringLiteral(", код типа в файле %1").arg(state.bandCode);
    return text;
}

qreal usableWidth()
{
    return pageLayout().paintRect(QPageLayout::Point).width();
}

// The settings lines but the section line, in columns that fill the page
// from top to bottom and then left to right.
PaperTable settingsTable(const QStringList &settingsLines)
{
    QStringList lines;
    for (const QString &line : settingsLines)
        if (line.trimmed().compare(SettingsText::sectionLine(), Qt::CaseInsensitive) != 0)
            lines << line;
    PaperTable table;
    table.pointSize = CellSize;
    table.centred = false;
    for (int column = 0; column < SettingsColumns; ++column)
        table.columnWidths << usableWidth() / SettingsColumns;
    const qsizetype rows = (lines.size() + SettingsColumns - 1) / SettingsColumns;
    for (qsizetype row = 0; row < rows; ++row) {
        PaperRow paperRow;
        for (qsizetype column = 0; column < SettingsColumns; ++column)
            paperRow.cells << lines.value(column * rows + row);
        table.rows << paperRow;
    }
    return table;
}

QList<int> repeaterMarks(const ChannelTable &table, int row)
{
    QList<int> marked;
    if (table.cell(ChannelTable::Rx, row) == FieldCoding::rxRepeaterText())
        marked << ChannelTable::Rx;
    if (table.cell(ChannelTable::Tx, row) == FieldCoding::txRepeaterText())
        marked << ChannelTable::Tx;
    return marked;
}

// The channel table with the window's column proportions across the page;
// a box as "+" ticked or "-" clear, as in the test report.
PaperTable channelTable(const ChannelTable &table, bool &hasMarks)
{
    PaperTable paper;
    paper.pointSize = CellSize;
    paper.headerPointSize = CellSize;
    paper.repeatedRows = 1;
    const auto &widths = ChannelTable::columnWidths();
    const qreal total = std::accumulate(widths.begin(), widths.end(), 0);
    for (int width : widths)
        paper.columnWidths << usableWidth() * width / total;
    PaperRow header;
    header.header = true;
    for (const QString &text : ChannelTable::headerTexts())
        header.cells << text.trimmed();
    paper.rows << header;
    hasMarks = false;
    for (int row = 1; row < table.rowCount(); ++row) {
        PaperRow paperRow;
        for (int column = 0; column < ChannelTable::ColumnCount; ++column) {
            if (ChannelTable::isCheckColumn(column))
                paperRow.cells << (table.isChecked(column, row) ? QStringLiteral("+") : QStringLiteral("-"));
            else
                paperRow.cells << table.cell(column, row);
        }
        paperRow.marked = repeaterMarks(table, row);
        hasMarks = hasMarks || !paperRow.marked.isEmpty();
        paper.rows << paperRow;
    }
    return paper;
}

PaperParagraph paragraph(const QString &text, qreal size, bool bold = false)
{
    return PaperParagraph{text, size, bold, false, false};
}

} // namespace

QPageLayout pageLayout()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(Margin, Margin, Margin, Margin),
                       QPageLayout::Point);
}

PaperDocument build(const ChannelPlan &state, const QDate &date, const QString &source)
{
    PaperDocument doc;
    doc.page = pageLayout();
    doc.title = QStringLiteral("Таблица каналов: %1").arg(state.profile().caption);
    // Narrow enough for "146500,00" in the frequency columns at 9 pt.
    doc.fontFamily = QStringLiteral("Arial");

    doc.blocks << paragraph(QStringLiteral("Таблица каналов: %1").arg(stationText(state)), TitleSize, true);
    QStringList details{QStringLiteral("Модуль: %1").arg(moduleText(state)),
                        QStringLiteral("Каналов: %1").arg(state.table.channelCount())};
    if (!source.isEmpty())
        details << QStringLiteral("Файл: %1").arg(source);
    details << QStringLiteral("Дата: %1").arg(dateText(date));
    doc.blocks << paragraph(details.join(QStringLiteral("    ")), TextSize);

    const PaperTable settings = settingsTable(state.settingsLines);
    if (!settings.rows.isEmpty()) {
        PaperParagraph heading = paragraph(SettingsText::sectionName(), TextSize, true);
        heading.keepWithNext = true;
        doc.blocks << heading << settings;
    }
    doc.blocks << paragraph(QString(), TextSize / 2);

    bool hasMarks = false;
    doc.blocks << channelTable(state.table, hasMarks);
    if (hasMarks)
        doc.blocks << paragraph(QStringLiteral("%1 в столбце Tx: канал приема ретранслятора; %2 в столбце Rx: канал "
                                               "передачи ретранслятора.")
                                    .arg(FieldCoding::txRepeaterText(), FieldCoding::rxRepeaterText()),
                                LegendSize);

    QStringList foot{state.profile().caption, QStringLiteral("таблица каналов")};
    if (!source.isEmpty())
        foot << source;
    foot << dateText(date);
    doc.footer = foot.join(QStringLiteral(" - "));
    return doc;
}

} // namespace ChannelSheet
