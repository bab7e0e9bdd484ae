#include "files/readarchive.h"

#include "common/paths.h"
#include "common/platformerror.h"
#include "files/channelfile.h"
#include "files/profile.h"
#include "state/appstate.h"
#include "table/settingstext.h"

#include <QDir>
#include <QFile>
#include <QTemporaryFile>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <unistd.h>
#endif

namespace ReadArchive {

namespace {

// Serial numbers read from a station are six hexadecimal digits; a hand-made
// line may hold anything, so the name part is kept short and plain.
constexpr int MaxSerialLength = 40;

QString serialPart(const QStringList &settingsLines)
{
    const QString serial =
        Profile(settingsLines)
            .string(SettingsText::sectionName(), SettingsText::name(SettingsText::Key::Serial), QString())
            .left(MaxSerialLength);
    QString part;
    for (const QChar c : serial)
        part += c.isLetterOrNumber() || c == u'-' || c == u'_' ? c : QChar(u'_');
    return part.isEmpty() ? QStringLiteral("без номера") : part;
}

// The copy is written whole under a temporary name first and only then given
// its own name, so that a copy cut short (a full disk, a process stopped by
// a file size limit) never stands in the archive as a station's data. A name
// is taken only when no file has it, so that two copies made at the same
// moment never overwrite each other.
class PendingCopy
{
public:
    PendingCopy(const QDir &dir, const QByteArray &bytes) : m_file(dir.filePath(QStringLiteral(".копия-XXXXXX.part")))
    {
        if (!m_file.open())
            throw PlatformError(
                QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(dir.path()), m_file.errorString()));
        if (m_file.write(bytes) != bytes.size() || !m_file.flush())
            throw PlatformError(
                QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(m_file.fileName()), m_file.errorString()));
        m_file.close();
    }

    // False when a file of that name exists already.
    bool publishAs(const QString &path)
    {
        if (QFile::exists(path))
            return false;
#ifdef Q_OS_UNIX
        // A hard link is made only where no name stands, in one step: two
        // copies published at the same moment under one name (two stations
        // of one serial number read within a second) cannot both win. Qt's
        // rename checks first and then renames, and falls back to copying
        // over whatever took the name in between.
        const QByteArray from = QFile::encodeName(m_file.fileName());
        const QByteArray to = QFile::encodeName(path);
        if (::link(from.constData(), to.constData()) == 0)
            return true;
        if (errno == EEXIST)
            return false;
        if (errno != EPERM && errno != EOPNOTSUPP && errno != EXDEV)
            throw PlatformError(QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), qt_error_string(errno)));
            // A file system without hard links: Qt's rename is the best there is.
#endif
        QFile copy(m_file.fileName());
        if (copy.rename(path))
            return true;
        if (QFile::exists(path))
            return false;
        throw PlatformError(QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), copy.errorString()));
    }

private:
    QTemporaryFile m_file; // removed unless it was renamed
};

} // namespace

QString folderName()
{
    return QStringLiteral("Архив чтений");
}

QString folder()
{
    return Paths::dataFolder() + u'/' + folderName();
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
    PendingCopy copy(dir, bytes);
    QString path = dir.filePath(base + QStringLiteral(".ini"));
    for (int n = 2; !copy.publishAs(path); ++n)
        path = dir.filePath(base + QStringLiteral(" (%1).ini").arg(n));
    return path;
}

QString failureMessage(const QString &reason)
{
    return QStringLiteral("Прочитанные данные не сохранены в архив чтений: %1").arg(reason);
}

} // namespace ReadArchive
