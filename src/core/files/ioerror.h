#pragma once

#include <QString>

// The texts of the platform's file errors, as the general error handler shows
// them: the input/output error by its number, and the profile writer's failure.
namespace IoError {

// "File not found.", "Invalid filename.", "Too many open files.",
// "File access denied." or "I/O error N." for the errno value of a failed
// open or create. A missing file or folder counts as not found; a name the
// system cannot take (too long, a path through a file, a NUL) as invalid; a
// directory, a read-only file system or a busy executable as access denied.
QString message(int errnoValue);

// "Unable to write to <file>": the content could not be written.
QString unableToWrite(const QString &fileName);

} // namespace IoError
