#pragma once

// Shared by the writers of the package's XML parts; not part of the core's API.

#include "common/platformerror.h"

#include <QByteArray>
#include <QString>
#include <QXmlStreamWriter>

namespace DocxXml {

inline const QString W = QStringLiteral("http://schemas.openxmlformats.org/wordprocessingml/2006/main");
inline const QString R = QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships");

// One XML part being written, with shorthands for the common WordprocessingML forms.
class XmlPart
{
public:
    XmlPart() : m_xml(&m_data)
    {
        m_xml.setAutoFormatting(false);
        m_xml.writeStartDocument(QStringLiteral("1.0"), true);
    }
    XmlPart(const XmlPart &) = delete;
    XmlPart &operator=(const XmlPart &) = delete;

    QXmlStreamWriter &xml() { return m_xml; }

    QByteArray finish()
    {
        m_xml.writeEndDocument();
        // Only text that XML cannot carry makes the writer fail; DocxParts::xmlSafe() keeps it out.
        if (m_xml.hasError())
            throw PlatformError(QStringLiteral("Текст протокола содержит недопустимые символы"));
        return m_data;
    }

    // <w:name w:val="value"/>
    void wVal(const QString &name, const QString &value)
    {
        m_xml.writeEmptyElement(W, name);
        m_xml.writeAttribute(W, QStringLiteral("val"), value);
    }
    void wVal(const QString &name, int value) { wVal(name, QString::number(value)); }

    // <w:name w:w="twips" w:type="dxa"/>
    void wWidth(const QString &name, int twips)
    {
        m_xml.writeEmptyElement(W, name);
        m_xml.writeAttribute(W, QStringLiteral("w"), QString::number(twips));
        m_xml.writeAttribute(W, QStringLiteral("type"), QStringLiteral("dxa"));
    }

private:
    QByteArray m_data;
    QXmlStreamWriter m_xml;
};

} // namespace DocxXml
