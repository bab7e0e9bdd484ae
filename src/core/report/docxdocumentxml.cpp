#include "report/docxparts.h"
#include "report/docxxml.h"
#include "report/reportdocument.h"

// word/document.xml: the report's paragraphs, its table and the page.

namespace DocxParts {

namespace {

using DocxXml::R;
using DocxXml::W;
using DocxXml::XmlPart;

// Single lines of 0.5 pt, as a new table in a word processor has.
constexpr int BorderEighths = 4;
// Narrow cell margins keep the header texts on one line in their columns.
constexpr int CellMarginTwips = 40;

struct RunFormat
{
    bool bold = false;
    int pointSize = 12;
};

void writeRunProperties(XmlPart &part, const RunFormat &format)
{
    QXmlStreamWriter &xml = part.xml();
    xml.writeStartElement(W, QStringLiteral("rPr"));
    if (format.bold) {
        xml.writeEmptyElement(W, QStringLiteral("b"));
        xml.writeEmptyElement(W, QStringLiteral("bCs"));
    }
    part.wVal(QStringLiteral("sz"), format.pointSize * 2);
    part.wVal(QStringLiteral("szCs"), format.pointSize * 2);
    xml.writeEndElement();
}

void writeTextElement(QXmlStreamWriter &xml, const QString &text)
{
    xml.writeStartElement(W, QStringLiteral("t"));
    xml.writeAttribute(QStringLiteral("xml:space"), QStringLiteral("preserve"));
    xml.writeCharacters(text);
    xml.writeEndElement();
}

// One run; tabs and line breaks inside the text become their own elements.
void writeRun(XmlPart &part, const QString &text, const RunFormat &format)
{
    const QString safe = xmlSafe(text);
    if (safe.isEmpty())
        return;
    QXmlStreamWriter &xml = part.xml();
    xml.writeStartElement(W, QStringLiteral("r"));
    writeRunProperties(part, format);
    QString pending;
    const auto flush = [&] {
        if (!pending.isEmpty())
            writeTextElement(xml, pending);
        pending.clear();
    };
    for (int i = 0; i < safe.size(); ++i) {
        const QChar c = safe.at(i);
        if (c == u'\t') {
            flush();
            xml.writeEmptyElement(W, QStringLiteral("tab"));
        } else if (c == u'\r' || c == u'\n') {
            flush();
            if (c == u'\r' && i + 1 < safe.size() && safe.at(i + 1) == u'\n')
                ++i;
            xml.writeEmptyElement(W, QStringLiteral("br"));
        } else {
            pending += c;
        }
    }
    flush();
    xml.writeEndElement();
}

void writeParagraph(XmlPart &part, const QString &text, bool centred, const RunFormat &format,
                    bool keepWithNext = false)
{
    QXmlStreamWriter &xml = part.xml();
    xml.writeStartElement(W, QStringLiteral("p"));
    xml.writeStartElement(W, QStringLiteral("pPr"));
    if (keepWithNext)
        xml.writeEmptyElement(W, QStringLiteral("keepNext"));
    part.wVal(QStringLiteral("jc"), centred ? QStringLiteral("center") : QStringLiteral("left"));
    // The paragraph mark carries the format too, so an empty paragraph keeps its height.
    writeRunProperties(part, format);
    xml.writeEndElement();
    writeRun(part, text, format);
    xml.writeEndElement();
}

void writeParagraph(XmlPart &part, const ReportParagraph &paragraph)
{
    writeParagraph(part, paragraph.text, paragraph.align == ReportParagraph::Align::Centre,
                   {paragraph.bold, paragraph.pointSize}, paragraph.keepWithNext);
}

void writeBorders(XmlPart &part)
{
    QXmlStreamWriter &xml = part.xml();
    xml.writeStartElement(W, QStringLiteral("tblBorders"));
    for (const char *side : {"top", "left", "bottom", "right", "insideH", "insideV"}) {
        xml.writeEmptyElement(W, QString::fromLatin1(side));
        xml.writeAttribute(W, QStringLiteral("val"), QStringLiteral("single"));
        xml.writeAttribute(W, QStringLiteral("sz"), QString::number(BorderEighths));
        xml.writeAttribute(W, QStringLiteral("space"), QStringLiteral("0"));
        xml.writeAttribute(W, QStringLiteral("color"), QStringLiteral("auto"));
    }
    xml.writeEndElement();
}

void writeTableProperties(XmlPart &part)
{
    QXmlStreamWriter &xml = part.xml();
    int total = 0;
    for (int width : ReportDocument::columnWidths())
        total += twips(width);
    xml.writeStartElement(W, QStringLiteral("tblPr"));
    part.wWidth(QStringLiteral("tblW"), total);
    writeBorders(part);
    xml.writeEmptyElement(W, QStringLiteral("tblLayout"));
    xml.writeAttribute(W, QStringLiteral("type"), QStringLiteral("fixed"));
    xml.writeStartElement(W, QStringLiteral("tblCellMar"));
    part.wWidth(QStringLiteral("left"), CellMarginTwips);
    part.wWidth(QStringLiteral("right"), CellMarginTwips);
    xml.writeEndElement();
    xml.writeEmptyElement(W, QStringLiteral("tblLook"));
    xml.writeAttribute(W, QStringLiteral("val"), QStringLiteral("0000"));
    xml.writeEndElement();

    xml.writeStartElement(W, QStringLiteral("tblGrid"));
    for (int width : ReportDocument::columnWidths()) {
        xml.writeEmptyElement(W, QStringLiteral("gridCol"));
        xml.writeAttribute(W, QStringLiteral("w"), QString::number(twips(width)));
    }
    xml.writeEndElement();
}

void writeTable(XmlPart &part, const QList<ReportRow> &rows)
{
    QXmlStreamWriter &xml = part.xml();
    xml.writeStartElement(W, QStringLiteral("tbl"));
    writeTableProperties(part);
    for (const ReportRow &row : rows) {
        const RunFormat format = row.header ? RunFormat{true, ReportDocument::HeaderPointSize}
                                            : RunFormat{false, ReportDocument::CellPointSize};
        xml.writeStartElement(W, QStringLiteral("tr"));
        xml.writeStartElement(W, QStringLiteral("trPr"));
        xml.writeEmptyElement(W, QStringLiteral("cantSplit"));
        xml.writeEndElement();
        for (int column = 0; column < ReportDocument::ColumnCount; ++column) {
            const auto index = static_cast<std::size_t>(column);
            xml.writeStartElement(W, QStringLiteral("tc"));
            xml.writeStartElement(W, QStringLiteral("tcPr"));
            part.wWidth(QStringLiteral("tcW"), twips(ReportDocument::columnWidths()[index]));
            xml.writeEndElement();
            writeParagraph(part, row.cells[index], true, format);
            xml.writeEndElement();
        }
        xml.writeEndElement();
    }
    xml.writeEndElement();
}

void writeSection(XmlPart &part)
{
    QXmlStreamWriter &xml = part.xml();
    xml.writeStartElement(W, QStringLiteral("sectPr"));
    xml.writeEmptyElement(W, QStringLiteral("pgSz"));
    xml.writeAttribute(W, QStringLiteral("w"), QString::number(PageWidthTwips));
    xml.writeAttribute(W, QStringLiteral("h"), QString::number(PageHeightTwips));
    xml.writeAttribute(W, QStringLiteral("orient"), QStringLiteral("landscape"));
    xml.writeEmptyElement(W, QStringLiteral("pgMar"));
    xml.writeAttribute(W, QStringLiteral("top"), QString::number(twips(ReportDocument::MarginTop)));
    xml.writeAttribute(W, QStringLiteral("right"), QString::number(twips(ReportDocument::MarginRight)));
    xml.writeAttribute(W, QStringLiteral("bottom"), QString::number(twips(ReportDocument::MarginBottom)));
    xml.writeAttribute(W, QStringLiteral("left"), QString::number(twips(ReportDocument::MarginLeft)));
    xml.writeAttribute(W, QStringLiteral("header"), QStringLiteral("720"));
    xml.writeAttribute(W, QStringLiteral("footer"), QStringLiteral("720"));
    xml.writeAttribute(W, QStringLiteral("gutter"), QStringLiteral("0"));
    xml.writeEmptyElement(W, QStringLiteral("cols"));
    xml.writeAttribute(W, QStringLiteral("space"), QStringLiteral("708"));
    xml.writeEndElement();
}

} // namespace

QByteArray document(const ReportDocument &doc)
{
    XmlPart part;
    QXmlStreamWriter &xml = part.xml();
    xml.writeNamespace(W, QStringLiteral("w"));
    xml.writeNamespace(R, QStringLiteral("r"));
    xml.writeStartElement(W, QStringLiteral("document"));
    xml.writeStartElement(W, QStringLiteral("body"));
    for (const ReportParagraph &paragraph : doc.paragraphsBeforeTable)
        writeParagraph(part, paragraph);
    writeTable(part, doc.rows);
    for (const ReportParagraph &paragraph : doc.paragraphsAfterTable)
        writeParagraph(part, paragraph);
    writeSection(part);
    xml.writeEndElement();
    xml.writeEndElement();
    return part.finish();
}

} // namespace DocxParts
