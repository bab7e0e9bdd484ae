#include "files/readarchive.h"

#include "common/paths.h"
#include "common/platformerror.h"
#include "files/channelfile.h"
#include "files/pendingfile.h"
#include "files/profile.h"
#include "table/channelplan.h"
#include "table/settingstext.h"

#include <QDir>

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

} // namespace

QString folderName()
{
    return QStringLiteral("Архив чтений");
}

QString folder()
{
    return Paths::dataFolder() + u'/' + folderName();
}

std::optional<QString> folderRefusal()
{
    return Paths::dataFolderRefusal();
}

QString baseName(const QStringList &settingsLines, const QDateTime &time)
{
    return serialPart(settingsLines) + u' ' + time.toString(QStringLiteral("yyyy-MM-dd HH-mm-ss"));
}

QString store(const ChannelPlan &plan, const QString &folder, const QDateTime &time)
{
    if (folder == ReadArchive::folder())
        if (const auto refusal = folderRefusal())
            throw PlatformError(*refusal);
    const QByteArray bytes = ChannelFile::encode(plan);
    if (!QDir().mkpath(folder))
        throw PlatformError(QStringLiteral("Не удалось создать папку \"%1\"").arg(QDir::toNativeSeparators(folder)));
    const QDir dir(folder);
    // Written whole before it takes a name of its own, and never over a copy
    // of the same moment (two stations of one serial number read within a
    // second).
    PendingFile copy(dir, QStringLiteral(".копия-XXXXXX.part"));
    try {
        copy.write(bytes);
    } catch (const PlatformError &e) {
        throw PlatformError(QStringLiteral("Не удалось записать копию в папку \"%1\": %2")
                                .arg(QDir::toNativeSeparators(folder), e.text()));
    }
    return copy.publishNumbered(dir, baseName(plan.settingsLines, time), QStringLiteral(".ini"));
}

QString failureMessage(const QString &reason)
{
    return QStringLiteral("Прочитанные данные не сохранены в архив чтений: %1").arg(reason);
}

} // namespace ReadArchive
