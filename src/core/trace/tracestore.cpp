#include "trace/tracestore.h"

#include "common/paths.h"
#include "common/platformerror.h"
#include "files/pendingfile.h"
#include "trace/traceformat.h"

#include <QDir>
#include <QFile>

namespace TraceStore {

namespace {

const auto kSuffix = QStringLiteral(".txt");
// Larger files are not traces of one transfer (a 99-channel write is about 40 KB).
constexpr qint64 MaxTraceBytes = 4 * 1024 * 1024;

QString plain(const QString &text)
{
    QString part;
    for (const QChar c : text.left(40))
        part += c.isLetterOrNumber() || c == u'-' || c == u'_' ? c : QChar(u'_');
    return part;
}

// Oldest first: the names begin with their time.
QStringList traceNames(const QDir &dir)
{
    return dir.entryList({QStringLiteral("*") + kSuffix}, QDir::Files, QDir::Name);
}

} // namespace

QString folderName()
{
    return QStringLiteral("Журналы обмена");
}

QString folder()
{
    return Paths::dataFolder() + u'/' + folderName();
}

QString store(const Trace &trace, const QString &folder, int kept)
{
    if (!QDir().mkpath(folder))
        throw PlatformError(QStringLiteral("Не удалось создать папку \"%1\"").arg(QDir::toNativeSeparators(folder)));
    const QDir dir(folder);
    PendingFile file(dir, QStringLiteral(".журнал-XXXXXX.part"));
    file.write(TraceFormat::encode(trace));
    QStringList name{trace.started.toString(QStringLiteral("yyyy-MM-dd HH-mm-ss-zzz"))};
    for (const QString &part : {trace.transfer, trace.port})
        if (!part.isEmpty())
            name.append(plain(part));
    const QString path = file.publishNumbered(dir, name.join(u' '), kSuffix);

    const QStringList all = traceNames(dir);
    for (qsizetype i = 0; i < all.size() - kept; ++i)
        QFile::remove(dir.filePath(all.at(i)));
    return path;
}

QStringList newest(const QString &folder, int count)
{
    const QDir dir(folder);
    const QStringList all = traceNames(dir);
    QStringList paths;
    for (qsizetype i = all.size() - 1; i >= 0 && paths.size() < count; --i)
        paths.append(dir.filePath(all.at(i)));
    return paths;
}

std::optional<QString> last(const QString &folder)
{
    const QStringList paths = newest(folder, 1);
    if (paths.isEmpty())
        return std::nullopt;
    return paths.constFirst();
}

Trace load(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw PlatformError(QStringLiteral("Не удалось открыть файл \"%1\": %2")
                                .arg(QDir::toNativeSeparators(path), file.errorString()));
    if (file.size() > MaxTraceBytes)
        throw PlatformError(QStringLiteral("Файл \"%1\" не журнал обмена: он больше %2 МБ")
                                .arg(QDir::toNativeSeparators(path))
                                .arg(MaxTraceBytes / 1024 / 1024));
    try {
        return TraceFormat::decode(file.readAll());
    } catch (const PlatformError &e) {
        throw PlatformError(QStringLiteral("Файл \"%1\": %2").arg(QDir::toNativeSeparators(path), e.text()));
    }
}

} // namespace TraceStore
