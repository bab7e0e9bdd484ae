#pragma once

#include <QString>
#include <QtGlobal>

// What fileaccess.cpp and its platform files (fileaccess_unix.cpp,
// fileaccess_win.cpp) share.
namespace FileAccess::Detail {

// Throws PlatformError with the numbered message of the errno value.
[[noreturn]] void fail(int errnoValue);
// A NUL cannot be part of a file name (EINVAL), and no name names no file
// (ENOENT); 0 for any other name.
int nameError(const QString &path);
// Throws with nameError's errno, if any.
void checkName(const QString &path);
// The refusal of a save onto a folder or onto something else not a file.
QString notRegular(const QString &path, bool folder);
// The refusal to read a folder, or a device or a pipe, as a channel file.
QString notReadable(const QString &path, bool folder);
// Throws the refusal of a file larger than a channel file ever is.
[[noreturn]] void tooLarge(const QString &path, qint64 size, qsizetype maxBytes);
// Gives the temporary file of a save the owner and mode of the file it
// replaces (Linux); nothing where the system has no such thing to keep.
void keepOwnerAndMode(const QString &path, int fd);

} // namespace FileAccess::Detail
