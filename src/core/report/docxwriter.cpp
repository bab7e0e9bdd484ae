#include "report/docxwriter.h"
#include "common/platformerror.h"
#include "files/zippackage.h"
#include "report/docxparts.h"
#include "report/reportfile.h"

#include <QDir>

namespace DocxWriter {

QByteArray package(const ReportDocument &doc, const QString &shownPath)
{
    const std::vector<DocxParts::Part> parts = DocxParts::package(doc);
    try {
        ZipPackage archive;
        for (const DocxParts::Part &part : parts)
            archive.add(part.name, part.data);
        return archive.close();
    } catch (const PlatformError &e) {
        throw PlatformError(ReportFile::failure(shownPath, e.text()));
    }
}

void write(const ReportDocument &doc, const QString &path)
{
    ReportFile::write(package(doc, path), path);
}

QString writeNumbered(const ReportDocument &doc, const QString &folder, const QString &base)
{
    const QString suffix = QStringLiteral(".docx");
    return ReportFile::writeNumbered(package(doc, QDir(folder).filePath(base + suffix)), folder, base, suffix);
}

} // namespace DocxWriter
