#include "report/reportdocument.h"

namespace {

ReportParagraph centredTitle(const QString &text)
{
    return {text, ReportParagraph::Align::Centre, true, ReportDocument::TitlePointSize};
}

ReportParagraph body(const QString &text)
{
    return {text, ReportParagraph::Align::Left, false, ReportDocument::BodyPointSize};
}

QString box(const ChannelTable &table, int column, int row)
{
    // A row whose boxes were detached counts as not ticked.
    return table.isChecked(column, row) ? QStringLiteral("+") : QStringLiteral("-");
}

} // namespace

namespace ReportRefusals {

MaybeRefusal forMenu(bool dataValid)
{
    if (dataValid)
        return std::nullopt;
    return Refusal{QStringLiteral("Пока не будет произведена проверка данных, протокол создаваться не будет!!!")};
}

MaybeRefusal forButton(bool dataValid)
{
    if (dataValid)
        return std::nullopt;
    return Refusal{QStringLiteral("Пока не будет произведена проверка данных, протокол создаваться не будет")};
}

} // namespace ReportRefusals

QString ReportDocument::title()
{
    return QStringLiteral("Радиостанция серии \"Ветрал\"");
}

QString ReportDocument::defaultSerial()
{
    return QStringLiteral("К7ТВ-12345");
}

const ReportRow::Texts &ReportDocument::headerTexts()
{
    static const ReportRow::Texts texts{
        QStringLiteral("№"),        QStringLiteral("Прием"),  QStringLiteral("Передача"), QStringLiteral("CTCSS_Rx"),
        QStringLiteral("CTCSS_Tx"), QStringLiteral("DCS_Rx"), QStringLiteral("DCS_Tx"),   QStringLiteral("Tон_Rx"),
        QStringLiteral("Tон_Tx"),   QStringLiteral("ШП"),     QStringLiteral("Pmin"),     QStringLiteral("Pmax"),
        QStringLiteral("Скан"),     QStringLiteral("Sw"),     QStringLiteral("Id"),       QStringLiteral("Tx_Off"),
        QStringLiteral("Time"),     QStringLiteral("Акт")};
    return texts;
}

const std::array<int, ReportDocument::ColumnCount> &ReportDocument::columnWidths()
{
    static const std::array<int, ColumnCount> widths{23, 62, 62, 69, 69, 54, 54, 51, 49,
                                                     32, 37, 38, 37, 33, 24, 46, 36, 31};
    return widths;
}

int ReportDocument::tableRowCount(int channelCount)
{
    int rows = 1 + channelCount;
    for (int channel : RepeatedHeaderChannels)
        if (channel <= channelCount)
            ++rows;
    return rows;
}

ReportRow ReportDocument::channelRow(const ChannelTable &table, int row)
{
    using C = ChannelTable;
    ReportRow result;
    if (row >= table.rowCount()) {
        // The table shrank after the check: the channel has nothing to show
        // but its unticked boxes, which keep their places (columns 13, 15, 18).
        for (int column : {C::Scan, C::IdTone, C::Active})
            result.cells[static_cast<std::size_t>(column)] = QStringLiteral("-");
        return result;
    }
    const auto text = [&](int column) { return table.cell(column, row); };
    result.cells = {text(C::Number),
                    text(C::Rx),
                    text(C::Tx),
                    text(C::CtcRx),
                    text(C::CtcTx),
                    text(C::DcsRx),
                    text(C::DcsTx),
                    text(C::ToneRx),
                    text(C::ToneTx),
                    text(C::Sh),
                    text(C::PMin),
                    text(C::PMax),
                    box(table, C::Scan, row),
                    text(C::Sw),
                    box(table, C::IdTone, row),
                    text(C::TxOff),
                    text(C::Time),
                    box(table, C::Active, row)};
    return result;
}

ReportDocument ReportDocument::build(const QString &serial, const QStringList &settingsLines, const ChannelTable &table,
                                     int channelCount)
{
    ReportDocument doc;
    doc.paragraphsBeforeTable << centredTitle(title()) << centredTitle(serial) << body(QString());
    for (const QString &line : settingsLines)
        doc.paragraphsBeforeTable << body(line);
    // The table follows the first of the blank paragraphs, which keeps its
    // blank; the other blanks were only room for the table and are left out.
    // That paragraph goes to the next page with the table when the table does
    // not start on the current one: LibreOffice otherwise breaks the moved
    // table after a few rows, leaving most of its first page empty.
    ReportParagraph blank = body(QStringLiteral(" "));
    blank.keepWithNext = true;
    doc.paragraphsBeforeTable << body(QString()) << blank;

    const ReportRow header{true, headerTexts()};
    doc.rows << header;
    for (int channel = 1; channel <= channelCount; ++channel) {
        for (int repeated : RepeatedHeaderChannels)
            if (channel == repeated)
                doc.rows << header;
        doc.rows << channelRow(table, channel);
    }

    doc.paragraphsAfterTable << body(QString());
    return doc;
}
