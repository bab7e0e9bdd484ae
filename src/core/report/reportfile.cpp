#include "report/reportfile.h"
#include "common/platformerror.h"
#include "files/fileaccess.h"
#include "files/pendingfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <memory>

namespace ReportFile {

namespace {

// The whole document under a hidden name in the folder of `path`, which
// names the report in messages.
std::unique_ptr<PendingFile> written(const QByteArray &bytes, const QString &path)
{
    const QDir folder = QFileInfo(path).dir();
    if (!folder.exists())
        throw PlatformError(
            failure(path, QStringLiteral("папки \"%1\" нет").arg(QDir::toNativeSeparators(folder.path()))));
    std::unique_ptr<PendingFile> file;
    try {
        file = std::make_unique<PendingFile>(folder, QStringLiteral(".протокол-XXXXXX.part"));
    } catch (const PlatformError &e) {
        throw PlatformError(failure(path, e.text()));
    }
    // A report is a document to hand on, not a private file: it gets the
    // mode of a new document, rw-r--r--, rather than the temporary file's
    // owner-only mode.
    QFile::setPermissions(file->path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                                            | QFileDevice::ReadOther);
    try {
        file->write(bytes);
    } catch (const PlatformError &e) {
        throw PlatformError(failure(path, e.text()));
    }
    return file;
}

} // namespace

QString failure(const QString &path, const QString &reason)
{
    return QStringLiteral("Не удалось записать протокол в файл \"%1\": %2").arg(path, reason);
}

void write(const QByteArray &bytes, const QString &path)
{
    if (const auto refusal = FileAccess::targetRefusal(path))
        throw PlatformError(*refusal);
    const auto file = written(bytes, path);
    if (!file->publishAs(path))
        throw PlatformError(failure(path, QStringLiteral("файл с таким именем уже есть, он оставлен без изменений")));
}

QString writeNumbered(const QByteArray &bytes, const QString &folder, const QString &base, const QString &suffix)
{
    const QDir dir(folder);
    const auto file = written(bytes, dir.filePath(base + suffix));
    return file->publishNumbered(dir, base, suffix);
}

} // namespace ReportFile
