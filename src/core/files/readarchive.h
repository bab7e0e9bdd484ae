#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>

struct ChannelPlan;

// Every complete read of a station is kept as a channel file in the archive
// folder, so that what a station held before it was overwritten is never
// lost because nobody saved it. A copy is never replaced by a later one.
namespace ReadArchive {

QString folderName(); // Архив чтений
QString folder();     // <user's application data>/Архив чтений
// Why folder() cannot take copies (Paths::dataFolderRefusal); nothing when it can.
std::optional<QString> folderRefusal();

// "<serial number> <yyyy-MM-dd HH-mm-ss>", the serial number taken from the
// settings line "Серийный номер" ("без номера" when there is none). Characters
// other than letters, digits, "-" and "_" become "_".
QString baseName(const QStringList &settingsLines, const QDateTime &time);

// Writes the plan as "Запись в файл" would into a new file of the folder
// (created when needed), named by baseName() with " (2)", " (3)" ... when
// that name is taken, and returns its path. Throws PlatformError when the
// copy cannot be made (folder() when folderRefusal() says why); no partial
// file is left.
QString store(const ChannelPlan &plan, const QString &folder, const QDateTime &time);

// What the user is told when store() failed; the read itself stands.
QString failureMessage(const QString &reason);

} // namespace ReadArchive
