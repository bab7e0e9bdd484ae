#pragma once

// A .docx read back as a word processor would see it: the package's entries,
// and of word/document.xml the paragraphs around the table, the table's
// grid, rows and cells, the page size and the margins.

#include <QFile>
#include <QMap>
#include <QXmlStreamReader>
#include <QtTest>
#include <zip.h>

namespace DocxFixtures {

inline const QString W = QStringLiteral("http://schemas.openxmlformats.org/wordprocessingml/2006/main");

// What a word processor would see of one paragraph.
struct Paragraph
{
    QString text;
    QString align;
    bool bold = false;
    int halfPoints = 0;
    bool keepNext = false;
};

struct Cell
{
    Paragraph paragraph;
    int widthTwips = 0;
};

// The body of word/document.xml, read back.
struct Body
{
    QList<Paragraph> before;
    QList<Paragraph> after;
    int tableCount = 0;
    QList<int> grid;
    QList<QList<Cell>> rows;
    QMap<QString, QString> pageSize;
    QMap<QString, QString> margins;
};

inline QMap<QString, QByteArray> unzip(const QString &path)
{
    QMap<QString, QByteArray> entries;
    int code = 0;
    zip_t *archive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &code);
    if (!archive)
        return entries;
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t stat;
        if (zip_stat_index(archive, static_cast<zip_uint64_t>(i), 0, &stat) != 0)
            continue;
        QByteArray data(static_cast<qsizetype>(stat.size), '\0');
        zip_file_t *file = zip_fopen_index(archive, static_cast<zip_uint64_t>(i), 0);
        if (!file)
            continue;
        const zip_int64_t read = zip_fread(file, data.data(), stat.size);
        zip_fclose(file);
        if (read == static_cast<zip_int64_t>(stat.size))
            entries.insert(QString::fromUtf8(stat.name), data);
    }
    zip_close(archive);
    return entries;
}

inline QMap<QString, QString> wAttributes(const QXmlStreamReader &xml)
{
    QMap<QString, QString> result;
    for (const QXmlStreamAttribute &attribute : xml.attributes())
        if (attribute.namespaceUri() == W)
            result.insert(attribute.name().toString(), attribute.value().toString());
    return result;
}

// Reads one <w:p>; the reader stands on its start element.
inline Paragraph readParagraph(QXmlStreamReader &xml)
{
    Paragraph p;
    bool inRun = false;
    bool runBold = false, markBold = false, hasRun = false;
    int runSize = 0, markSize = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement() && xml.name() == u"p")
            break;
        if (xml.isEndElement() && xml.name() == u"r")
            inRun = false;
        if (!xml.isStartElement() || xml.namespaceUri() != W)
            continue;
        const auto name = xml.name();
        if (name == u"r") {
            inRun = true;
            hasRun = true;
        } else if (name == u"keepNext") {
            p.keepNext = true;
        } else if (name == u"jc") {
            p.align = wAttributes(xml).value(QStringLiteral("val"));
        } else if (name == u"b") {
            (inRun ? runBold : markBold) = true;
        } else if (name == u"sz") {
            (inRun ? runSize : markSize) = wAttributes(xml).value(QStringLiteral("val")).toInt();
        } else if (name == u"t") {
            // Without xml:space="preserve" a word processor drops the blanks at the ends.
            const bool preserve = xml.attributes().value(QStringLiteral("xml:space")) == u"preserve";
            const QString text = xml.readElementText();
            p.text += preserve ? text : text.trimmed();
        } else if (name == u"tab") {
            p.text += u'\t';
        } else if (name == u"br") {
            p.text += u'\n';
        }
    }
    p.bold = hasRun ? runBold : markBold;
    p.halfPoints = hasRun ? runSize : markSize;
    return p;
}

inline void readTable(QXmlStreamReader &xml, Body &body)
{
    ++body.tableCount;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement() && xml.name() == u"tbl")
            return;
        if (!xml.isStartElement())
            continue;
        if (xml.name() == u"gridCol") {
            body.grid << wAttributes(xml).value(QStringLiteral("w")).toInt();
        } else if (xml.name() == u"tr") {
            body.rows.append(QList<Cell>());
        } else if (xml.name() == u"tc") {
            body.rows.last().append(Cell());
        } else if (xml.name() == u"tcW") {
            body.rows.last().last().widthTwips = wAttributes(xml).value(QStringLiteral("w")).toInt();
        } else if (xml.name() == u"p") {
            body.rows.last().last().paragraph = readParagraph(xml);
        }
    }
}

inline Body readBody(const QByteArray &documentXml)
{
    Body body;
    QXmlStreamReader xml(documentXml);
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement() || xml.namespaceUri() != W)
            continue;
        if (xml.name() == u"p")
            (body.tableCount == 0 ? body.before : body.after) << readParagraph(xml);
        else if (xml.name() == u"tbl")
            readTable(xml, body);
        else if (xml.name() == u"pgSz")
            body.pageSize = wAttributes(xml);
        else if (xml.name() == u"pgMar")
            body.margins = wAttributes(xml);
    }
    if (xml.hasError())
        qWarning() << "document.xml:" << xml.errorString();
    return body;
}

inline QStringList rowTexts(const QList<Cell> &row)
{
    QStringList texts;
    for (const Cell &cell : row)
        texts << cell.paragraph.text;
    return texts;
}

} // namespace DocxFixtures
