#include "files/ioerror.h"

#include <QDir>
#include <cerrno>

namespace IoError {

QString message(int errnoValue)
{
    switch (errnoValue) {
    case ENOENT:
        return QStringLiteral("Файл не найден.");
    case ENOTDIR:
    case ENAMETOOLONG:
    case EINVAL:
    case EILSEQ:
        return QStringLiteral("Недопустимое имя файла.");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("Открыто слишком много файлов.");
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
        return QStringLiteral("Доступ к файлу запрещен.");
    default:
        return QStringLiteral("Ошибка ввода-вывода %1.").arg(errnoValue);
    }
}

QString unableToWrite(const QString &fileName)
{
    return QStringLiteral("Не удалось записать в файл %1").arg(QDir::toNativeSeparators(fileName));
}

QString unableToWrite(const QString &fileName, const QString &reason)
{
    return unableToWrite(fileName) + QStringLiteral(": ") + reason;
}

std::optional<QString> diskReason(int errnoValue)
{
    switch (errnoValue) {
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return QStringLiteral("нет места на диске");
    case EROFS:
        return QStringLiteral("папка только для чтения");
    case EFBIG:
        return QStringLiteral("файл больше, чем разрешено системой");
    default:
        return std::nullopt;
    }
}

QString writeReason(int errnoValue)
{
    return diskReason(errnoValue).value_or(message(errnoValue));
}

} // namespace IoError
