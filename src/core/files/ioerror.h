#pragma once

#include <QString>
#include <optional>

// The texts of the platform's file errors, as the general error handler shows
// them: the input/output error by its number, and the profile writer's failure.
namespace IoError {

// "Файл не найден.", "Недопустимое имя файла.", "Открыто слишком много
// файлов.", "Доступ к файлу запрещен." or "Ошибка ввода-вывода N." for the errno value of a failed
// open or create. A missing file or folder counts as not found; a name the
// system cannot take (too long, a path through a file, a NUL) as invalid; a
// directory, a read-only file system or a busy executable as access denied.
QString message(int errnoValue);

// "Не удалось записать в файл <file>": the content could not be written.
QString unableToWrite(const QString &fileName);
// "Не удалось записать в файл <file>: нет места на диске": and why.
QString unableToWrite(const QString &fileName, const QString &reason);

// Why a write failed, for the failures of the disk or the folder rather than
// of the file: "нет места на диске" (ENOSPC, EDQUOT), "папка только для
// чтения" (EROFS), "файл больше, чем разрешено системой" (EFBIG). Nothing
// for other errors.
std::optional<QString> diskReason(int errnoValue);
// diskReason(), else message().
QString writeReason(int errnoValue);

} // namespace IoError
