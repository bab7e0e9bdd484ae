#include "files/fileaccess.h"
#include "common/platformerror.h"
#include "files/fileaccessdetail.h"
#include "files/ioerror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>

namespace FileAccess {

namespace Detail {

void fail(int errnoValue)
{
    throw PlatformError(IoError::message(errnoValue));
}

int nameError(const QString &path)
{
    if (path.contains(QChar(0)))
        return EINVAL;
    if (path.isEmpty())
        return ENOENT;
    return 0;
}

void checkName(const QString &path)
{
    if (const int error = nameError(path))
        fail(error);
}

QString notRegular(const QString &path, bool folder)
{
    const QString name = QDir::toNativeSeparators(path);
    if (folder)
        return QStringLiteral("Файл \"%1\" не записан: это папка, а не файл.").arg(name);
    return QStringLiteral("Файл \"%1\" не записан: это не обычный файл, а устройство или канал; "
                          "он оставлен без изменений.")
        .arg(name);
}

QString notReadable(const QString &path, bool folder)
{
    const QString name = QDir::toNativeSeparators(path);
    if (folder)
        return QStringLiteral("Файл \"%1\" не прочитан: это папка, а не файл.").arg(name);
    return QStringLiteral("Файл \"%1\" не прочитан: это не обычный файл, а устройство или канал.").arg(name);
}

void tooLarge(const QString &path, qint64 size, qsizetype maxBytes)
{
    throw PlatformError(QStringLiteral("Файл \"%1\" не прочитан: в нём %2 байт, а больше %3 МБ файл каналов не "
                                       "бывает (обычно он меньше 100 КБ).")
                            .arg(QDir::toNativeSeparators(path))
                            .arg(size)
                            .arg(maxBytes / (1024 * 1024)));
}

} // namespace Detail

void writeAtomically(const QString &path, const QByteArray &bytes)
{
    Detail::checkName(path);
    // QSaveFile tells no error number. When it cannot create the temporary
    // file or cannot rename it over the target, the target itself is tried
    // for the reason; a failure while writing is the writer's own.
    const auto creationFailure = [&path] {
        const int blocker = writeBlocker(path);
        if (const auto reason = IoError::diskReason(blocker))
            return PlatformError(IoError::unableToWrite(path, *reason));
        return PlatformError(blocker != 0 ? IoError::message(blocker) : IoError::unableToWrite(path));
    };
    if (const auto refusal = targetRefusal(path))
        throw PlatformError(*refusal);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw creationFailure();
    Detail::keepOwnerAndMode(path, file.handle());
    // Until commit() the old file is untouched; leaving without it drops the temporary file.
    errno = 0; // the system's reason, where it gives one
    if (file.write(bytes) != bytes.size() || !file.flush() || file.error() != QFileDevice::NoError) {
        const auto reason = IoError::diskReason(errno);
        throw PlatformError(reason ? IoError::unableToWrite(path, *reason) : IoError::unableToWrite(path));
    }
    if (!file.commit())
        throw creationFailure();
}

} // namespace FileAccess
