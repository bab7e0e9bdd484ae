#include "paperpdf.h"
#include "paperpainter.h"
#include "files/fileaccess.h"

#include <QBuffer>
#include <QPdfWriter>

namespace PaperPdf {

QByteArray bytes(const PaperDocument &doc)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageLayout(doc.page);
        writer.setTitle(doc.title);
        writer.setCreator(QStringLiteral("Программатор Ветрал"));
        PaperPainter::paint(doc, writer);
    }
    return buffer.data();
}

void save(const PaperDocument &doc, const QString &path)
{
    FileAccess::writeAtomically(path, bytes(doc));
}

} // namespace PaperPdf
