#pragma once

#include "trace/trace.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>

// The traces of the last transfers, kept beside the archive of reads in a
// folder of their own, one file each, written whole before they take their
// name as archive copies are. Only the newest ones are kept.
namespace TraceStore {

constexpr int Kept = 200;

QString folderName(); // Журналы обмена
QString folder();     // <user's application data>/Журналы обмена

// Writes the trace into `folder` (made when needed) as
// "<yyyy-MM-dd HH-mm-ss-zzz> <transfer> <port>.txt", numbered when the
// name is taken, and removes the oldest traces beyond `kept`. Returns the
// path. Throws PlatformError when it cannot be written.
QString store(const Trace &trace, const QString &folder, int kept = Kept);

// The paths of the newest `count` traces, the newest first.
QStringList newest(const QString &folder, int count);
std::optional<QString> last(const QString &folder);

// Reads a trace file; throws PlatformError naming the file.
Trace load(const QString &path);

} // namespace TraceStore
