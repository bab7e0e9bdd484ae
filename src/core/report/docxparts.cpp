#include "report/docxparts.h"
#include "report/docxxml.h"
#include "report/reportdocument.h"

#include <array>

namespace DocxParts {

namespace {

using DocxXml::W;
using DocxXml::XmlPart;

const QString PackageRels = QStringLiteral("http://schemas.openxmlformats.org/package/2006/relationships");
const QString ContentTypesNs = QStringLiteral("http://schemas.openxmlformats.org/package/2006/content-types");
const QString OfficeDocRel =
    QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument");
const QString StylesRel = QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles");
const QString SettingsRel =
    QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships/settings");
const QString WordMl = QStringLiteral("application/vnd.openxmlformats-officedocument.wordprocessingml.");

void writeRelationship(QXmlStreamWriter &xml, const QString &id, const QString &type, const QString &target)
{
    xml.writeEmptyElement(QStringLiteral("Relationship"));
    xml.writeAttribute(QStringLiteral("Id"), id);
    xml.writeAttribute(QStringLiteral("Type"), type);
    xml.writeAttribute(QStringLiteral("Target"), target);
}

QByteArray relationships(const QList<std::array<QString, 3>> &entries)
{
    XmlPart part;
    QXmlStreamWriter &xml = part.xml();
    xml.writeDefaultNamespace(PackageRels);
    xml.writeStartElement(PackageRels, QStringLiteral("Relationships"));
    for (const auto &entry : entries)
        writeRelationship(xml, entry[0], entry[1], entry[2]);
    xml.writeEndElement();
    return part.finish();
}

bool isXmlChar(char32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD)
           || (c >= 0x10000 && c <= 0x10FFFF);
}

} // namespace

QString xmlSafe(const QString &text)
{
    QString result;
    result.reserve(text.size());
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            result += c;
            result += text.at(++i);
        } else if (!c.isSurrogate() && isXmlChar(c.unicode())) {
            result += c;
        }
    }
    return result;
}

QByteArray contentTypes()
{
    XmlPart part;
    QXmlStreamWriter &xml = part.xml();
    xml.writeDefaultNamespace(ContentTypesNs);
    xml.writeStartElement(ContentTypesNs, QStringLiteral("Types"));
    const auto byExtension = [&](const QString &extension, const QString &type) {
        xml.writeEmptyElement(QStringLiteral("Default"));
        xml.writeAttribute(QStringLiteral("Extension"), extension);
        xml.writeAttribute(QStringLiteral("ContentType"), type);
    };
    const auto byPart = [&](const QString &name, const QString &type) {
        xml.writeEmptyElement(QStringLiteral("Override"));
        xml.writeAttribute(QStringLiteral("PartName"), name);
        xml.writeAttribute(QStringLiteral("ContentType"), type);
    };
    byExtension(QStringLiteral("rels"), QStringLiteral("application/vnd.openxmlformats-package.relationships+xml"));
    byExtension(QStringLiteral("xml"), QStringLiteral("application/xml"));
    byPart(QStringLiteral("/word/document.xml"), WordMl + QStringLiteral("document.main+xml"));
    byPart(QStringLiteral("/word/styles.xml"), WordMl + QStringLiteral("styles+xml"));
    byPart(QStringLiteral("/word/settings.xml"), WordMl + QStringLiteral("settings+xml"));
    xml.writeEndElement();
    return part.finish();
}

QByteArray packageRelationships()
{
    return relationships({{QStringLiteral("rId1"), OfficeDocRel, QStringLiteral("word/document.xml")}});
}

QByteArray documentRelationships()
{
    return relationships({{QStringLiteral("rId1"), StylesRel, QStringLiteral("styles.xml")},
                          {QStringLiteral("rId2"), SettingsRel, QStringLiteral("settings.xml")}});
}

QByteArray settings()
{
    XmlPart part;
    QXmlStreamWriter &xml = part.xml();
    xml.writeNamespace(W, QStringLiteral("w"));
    xml.writeStartElement(W, QStringLiteral("settings"));
    xml.writeEmptyElement(W, QStringLiteral("zoom"));
    xml.writeAttribute(W, QStringLiteral("percent"), QStringLiteral("100"));
    // The report is a record, not prose: no spelling or grammar marks over codes and numbers.
    xml.writeEmptyElement(W, QStringLiteral("hideSpellingErrors"));
    xml.writeEmptyElement(W, QStringLiteral("hideGrammaticalErrors"));
    part.wVal(QStringLiteral("defaultTabStop"), 708);
    part.wVal(QStringLiteral("characterSpacingControl"), QStringLiteral("doNotCompress"));
    xml.writeStartElement(W, QStringLiteral("compat"));
    xml.writeEmptyElement(W, QStringLiteral("compatSetting"));
    xml.writeAttribute(W, QStringLiteral("name"), QStringLiteral("compatibilityMode"));
    xml.writeAttribute(W, QStringLiteral("uri"), QStringLiteral("http://schemas.microsoft.com/office/word"));
    xml.writeAttribute(W, QStringLiteral("val"), QStringLiteral("15"));
    xml.writeEndElement();
    xml.writeEndElement();
    return part.finish();
}

QByteArray styles()
{
    XmlPart part;
    QXmlStreamWriter &xml = part.xml();
    xml.writeNamespace(W, QStringLiteral("w"));
    xml.writeStartElement(W, QStringLiteral("styles"));

    xml.writeStartElement(W, QStringLiteral("docDefaults"));
    xml.writeStartElement(W, QStringLiteral("rPrDefault"));
    xml.writeStartElement(W, QStringLiteral("rPr"));
    part.wVal(QStringLiteral("sz"), ReportDocument::BodyPointSize * 2);
    part.wVal(QStringLiteral("szCs"), ReportDocument::BodyPointSize * 2);
    xml.writeEmptyElement(W, QStringLiteral("lang"));
    xml.writeAttribute(W, QStringLiteral("val"), QStringLiteral("ru-RU"));
    xml.writeAttribute(W, QStringLiteral("eastAsia"), QStringLiteral("en-US"));
    xml.writeAttribute(W, QStringLiteral("bidi"), QStringLiteral("ar-SA"));
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeStartElement(W, QStringLiteral("pPrDefault"));
    xml.writeStartElement(W, QStringLiteral("pPr"));
    xml.writeEmptyElement(W, QStringLiteral("spacing"));
    xml.writeAttribute(W, QStringLiteral("after"), QStringLiteral("0"));
    xml.writeAttribute(W, QStringLiteral("line"), QStringLiteral("240"));
    xml.writeAttribute(W, QStringLiteral("lineRule"), QStringLiteral("auto"));
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndElement();

    xml.writeStartElement(W, QStringLiteral("style"));
    xml.writeAttribute(W, QStringLiteral("type"), QStringLiteral("paragraph"));
    xml.writeAttribute(W, QStringLiteral("default"), QStringLiteral("1"));
    xml.writeAttribute(W, QStringLiteral("styleId"), QStringLiteral("Normal"));
    part.wVal(QStringLiteral("name"), QStringLiteral("Normal"));
    xml.writeEmptyElement(W, QStringLiteral("qFormat"));
    xml.writeEndElement();

    xml.writeStartElement(W, QStringLiteral("style"));
    xml.writeAttribute(W, QStringLiteral("type"), QStringLiteral("table"));
    xml.writeAttribute(W, QStringLiteral("default"), QStringLiteral("1"));
    xml.writeAttribute(W, QStringLiteral("styleId"), QStringLiteral("TableNormal"));
    part.wVal(QStringLiteral("name"), QStringLiteral("Normal Table"));
    xml.writeEmptyElement(W, QStringLiteral("semiHidden"));
    xml.writeEmptyElement(W, QStringLiteral("unhideWhenUsed"));
    xml.writeStartElement(W, QStringLiteral("tblPr"));
    part.wWidth(QStringLiteral("tblInd"), 0);
    xml.writeEndElement();
    xml.writeEndElement();

    xml.writeEndElement();
    return part.finish();
}

std::vector<Part> package(const ReportDocument &doc)
{
    return {{QStringLiteral("[Content_Types].xml"), contentTypes()},
            {QStringLiteral("_rels/.rels"), packageRelationships()},
            {QStringLiteral("word/document.xml"), document(doc)},
            {QStringLiteral("word/_rels/document.xml.rels"), documentRelationships()},
            {QStringLiteral("word/styles.xml"), styles()},
            {QStringLiteral("word/settings.xml"), settings()}};
}

} // namespace DocxParts
