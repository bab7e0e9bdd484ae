#include "files/ioerror.h"

#include <QDir>
#include <cerrno>

namespace IoError {

QString message(int errnoValue)
{
    switch (errnoValue) {
    case ENOENT:
        return QStringLiteral("File not found.");
    case ENOTDIR:
    case ENAMETOOLONG:
    case EINVAL:
    case EILSEQ:
        return QStringLiteral("Invalid filename.");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("Too many open files.");
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
        return QStringLiteral("File access denied.");
    default:
        return QStringLiteral("I/O error %1.").arg(errnoValue);
    }
}

QString unableToWrite(const QString &fileName)
{
    return QStringLiteral("Unable to write to %1").arg(QDir::toNativeSeparators(fileName));
}

} // namespace IoError
