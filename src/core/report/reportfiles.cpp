#include "report/reportfiles.h"
#include "common/paths.h"
#include "common/platformerror.h"
#include "report/docxwriter.h"
#include "report/reportfile.h"

#include <QDir>

namespace ReportFiles {

namespace {

// Long enough for any real serial number, short enough that the whole name
// stays far below the 255 bytes a file name may take.
constexpr int MaxSerialLength = 80;

bool isForbidden(QChar c)
{
    static const QString forbidden = QStringLiteral("\\/:*?\"<>|");
    return c.unicode() < 0x20 || c.unicode() == 0x7F || forbidden.contains(c);
}

QString serialPart(const QString &serial)
{
    QString part;
    for (const QChar c : serial)
        part += isForbidden(c) ? QChar(u'_') : c;
    if (part.size() > MaxSerialLength) {
        part.truncate(MaxSerialLength);
        if (part.back().isHighSurrogate())
            part.chop(1);
    }
    while (!part.isEmpty() && (part.front().isSpace() || part.front() == u'.'))
        part.remove(0, 1);
    while (!part.isEmpty() && (part.back().isSpace() || part.back() == u'.'))
        part.chop(1);
    return part;
}

void makeFolder(const QString &folder)
{
    if (!QDir().mkpath(folder))
        throw PlatformError(QStringLiteral("Не удалось создать папку протоколов \"%1\"").arg(folder));
}

} // namespace

QString folderName()
{
    return QStringLiteral("Протоколы Ветрал");
}

QString reportsFolder()
{
    return Paths::documentsFolder() + u'/' + folderName();
}

QString baseName(const QString &serial, const QDateTime &time)
{
    QString name = QStringLiteral("Протокол ");
    const QString part = serialPart(serial);
    if (!part.isEmpty())
        name += part + u' ';
    return name + time.toString(QStringLiteral("yyyy-MM-dd HH-mm-ss"));
}

QString save(const ReportDocument &doc, const QString &serial, const QString &folder, const QDateTime &time)
{
    makeFolder(folder);
    return DocxWriter::writeNumbered(doc, folder, baseName(serial, time));
}

QString save(const QByteArray &document, const QString &suffix, const QString &serial, const QString &folder,
             const QDateTime &time)
{
    makeFolder(folder);
    return ReportFile::writeNumbered(document, folder, baseName(serial, time), suffix);
}

} // namespace ReportFiles
