#include "reportpaper.h"
#include "paperpdf.h"
#include "report/docxwriter.h"
#include "report/reportdocument.h"
#include "report/reportfile.h"

#include <QFileInfo>
#include <QMarginsF>
#include <QPageSize>

namespace ReportPaper {

namespace {

PaperParagraph paragraph(const ReportParagraph &p)
{
    return PaperParagraph{p.text, static_cast<qreal>(p.pointSize), p.bold, p.align == ReportParagraph::Align::Centre,
                          p.keepWithNext};
}

} // namespace

PaperDocument build(const ReportDocument &report)
{
    PaperDocument doc;
    doc.page = QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                           QMarginsF(ReportDocument::MarginLeft, ReportDocument::MarginTop, ReportDocument::MarginRight,
                                     ReportDocument::MarginBottom),
                           QPageLayout::Point);
    doc.title = ReportDocument::title();
    // The face of a new document in the word processor the report was made for.
    doc.fontFamily = QStringLiteral("Times New Roman");
    for (const ReportParagraph &p : report.paragraphsBeforeTable)
        doc.blocks << paragraph(p);
    PaperTable table;
    for (int width : ReportDocument::columnWidths())
        table.columnWidths << width;
    table.pointSize = ReportDocument::CellPointSize;
    table.headerPointSize = ReportDocument::HeaderPointSize;
    for (const ReportRow &row : report.rows) {
        PaperRow paperRow;
        paperRow.header = row.header;
        for (const QString &cell : row.cells)
            paperRow.cells << cell;
        table.rows << paperRow;
    }
    doc.blocks << table;
    for (const ReportParagraph &p : report.paragraphsAfterTable)
        doc.blocks << paragraph(p);
    return doc;
}

QByteArray pdf(const ReportDocument &report)
{
    return PaperPdf::bytes(build(report));
}

bool isPdf(const QString &path)
{
    return QFileInfo(path).suffix().compare(QStringLiteral("pdf"), Qt::CaseInsensitive) == 0;
}

void write(const ReportDocument &report, const QString &path)
{
    if (isPdf(path))
        ReportFile::write(pdf(report), path);
    else
        DocxWriter::write(report, path);
}

} // namespace ReportPaper
