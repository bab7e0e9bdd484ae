#include "files/readarchive.h"

#include "common/platformerror.h"
#include "files/channelfile.h"
#include "files/profile.h"
#include "state/appstate.h"
#include "table/settingstext.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace ReadArchive {

namespace {

// Serial numbers read from a station are six hexadecimal digits; a hand-made
// line may hold anything, so the name part is kept short and plain.
constexpr int MaxSerialLength = 40;

QString serialPart(const QStringList &settingsLines)
{
    const QString serial = Profile(settingsLines)
                               .string(SettingsText::sectionName(), SettingsText::name(SettingsText::Key::Serial), QString())
                               .left(MaxSerialLength);
    QString part;
    for (const QChar c : serial)
        part += c.isLetterOrNumber() || c == u'-' || c == u'_' ? c : QChar(u'_');
    return part.isEmpty() ? QStringLiteral("без номера") : part;
}

// Creates the file only when no file of that name exists, so that two
// copies made at the same moment never overwrite each other.
bool writeNew(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        if (QFile::exists(path))
            return false;
        throw PlatformError(QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), file.errorString()));
    }
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const QString reason = file.errorString();
        file.close();
        file.remove();
        throw PlatformError(QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), reason));
    }
    return true;
}

} // namespace

QString folderName()
{
    return QStringLiteral("Архив чтений");
}

QString folder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + u'/' + folderName();
}

QString baseName(const QStringList &settingsLines, const QDateTime &time)
{
    return serialPart(settingsLines) + u' ' + time.toString(QStringLiteral("yyyy-MM-dd HH-mm-ss"));
}

QString store(const AppState &state, const QString &folder, const QDateTime &time)
{
    const QByteArray bytes = ChannelFile::encode(state);
    if (!QDir().mkpath(folder))
        throw PlatformError(QStringLiteral("Не удалось создать папку \"%1\"").arg(QDir::toNativeSeparators(folder)));
    const QDir dir(folder);
    const QString base = baseName(state.settingsLines, time);
    QString path = dir.filePath(base + QStringLiteral(".ini"));
    for (int n = 2; !writeNew(path, bytes); ++n)
        path = dir.filePath(base + QStringLiteral(" (%1).ini").arg(n));
    return path;
}

QString failureMessage(const QString &reason)
{
    return QStringLiteral("Прочитанные данные не сохранены в архив чтений: %1").arg(reason);
}

} // namespace ReadArchive
