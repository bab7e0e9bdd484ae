#pragma once

#include "common/refusal.h"
#include "files/profile.h"

#include <QString>
#include <QStringList>

// The temporary settings file "MyTemp.ini" through which the data check reads
// the general settings text. Every check writes it anew and leaves it on disk.
namespace TempSettingsFile {

// Refuses lines that hold a character Windows-1251 cannot hold, naming the
// character and its line, so that nothing is written as something else.
MaybeRefusal refuseUnencodable(const QStringList &lines);

// Writes the lines in Windows-1251, each ended by CR LF, into a new file at
// the path (creating its folder), and reads the file back as a profile.
// A file that cannot be written or read throws PlatformError with the
// system's text.
Profile writeAndRead(const QStringList &lines, const QString &path);

} // namespace TempSettingsFile
