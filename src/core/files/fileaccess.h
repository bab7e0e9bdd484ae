#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Whole-file reads and writes of the channel files, with the failures told
// by the numbered input/output messages of IoError.
namespace FileAccess {

// Opens an existing regular file for reading and writing, as the loader
// must (a read-only file is refused), and returns its content. Throws
// PlatformError with IoError::message when it cannot be opened or read,
// and with a text that says what it is when the path names a folder, a
// device or a pipe (none of which is opened) or a file of more than
// maxBytes (refused before it is read).
QByteArray readForUpdate(const QString &path, qsizetype maxBytes);
// The same for a file the program only takes data from (a table from a
// spreadsheet): a read-only file, or one another program holds open, is read.
QByteArray read(const QString &path, qsizetype maxBytes);

// Replaces the file by the bytes, or leaves it as it was: the new content
// goes to a temporary file beside it that is renamed over the old one only
// when it is complete. Throws PlatformError with IoError::message when the
// file cannot be created, and with IoError::unableToWrite when the content
// cannot be written. A target that targetRefusal() names is refused with its
// text and left untouched; a replaced file keeps its owner and mode.
void writeAtomically(const QString &path, const QByteArray &bytes);

// Why a save must not go to the path: it names something that exists and is
// not a regular file (a folder, a device, a pipe, or a link to one), which a
// save would replace. Nothing when the path is free or a regular file.
std::optional<QString> targetRefusal(const QString &path);

// The errno that keeps a new version of the file from being put in place
// (the file cannot be opened for writing, or its folder takes no new file:
// EROFS when the system forbids it, whatever the reason it gives), or 0 when
// nothing is found. Creates nothing that stays.
int writeBlocker(const QString &path);

} // namespace FileAccess
