#include "check/tempsettingsfile.h"
#include "common/platformerror.h"
#include "files/windows1251.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace TempSettingsFile {

namespace {
[[noreturn]] void fail(const QString &action, const QString &path, const QFile &file)
{
    throw PlatformError(
        QStringLiteral("Не удалось %1 файл %2. %3").arg(action, QDir::toNativeSeparators(path), file.errorString()));
}
} // namespace

MaybeRefusal refuseUnencodable(const QStringList &lines)
{
    for (int i = 0; i < lines.size(); ++i) {
        if (const auto bad = Windows1251::findUnencodable(lines.at(i))) {
            return Refusal{QStringLiteral("В общих установках (строка %1) есть символ \"%2\", который нельзя "
                                          "записать в кодировке Windows-1251. Замените его.")
                               .arg(i + 1)
                               .arg(bad->character)};
        }
    }
    return std::nullopt;
}

Profile writeAndRead(const QStringList &lines, const QString &path)
{
    // A missing folder shows up as the open error below.
    QDir().mkpath(QFileInfo(path).absolutePath());

    const QByteArray bytes = Windows1251::encode(Profile(lines).toText());
    // A pipe or a device in the file's place would block the check or feed
    // it without end; a folder is refused by the open below.
    const QFileInfo existing(path);
    if (existing.exists() && !existing.isFile() && !existing.isDir())
        throw PlatformError(
            QStringLiteral("Не удалось создать файл %1: это не обычный файл").arg(QDir::toNativeSeparators(path)));
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        fail(QStringLiteral("создать"), path, out);
    // Written piece by piece: a disk that fills up part way takes a first
    // piece, and only the next write tells the reason ("File too large",
    // "No space left on device"), which a buffered flush would lose.
    for (qsizetype done = 0; done < bytes.size();) {
        const qint64 written = out.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0)
            fail(QStringLiteral("записать"), path, out);
        done += written;
    }
    out.close();

    QFile in(path);
    if (!in.open(QIODevice::ReadOnly))
        fail(QStringLiteral("открыть"), path, in);
    const QByteArray written = in.readAll();
    if (in.error() != QFileDevice::NoError)
        fail(QStringLiteral("прочитать"), path, in);
    return Profile::fromText(Windows1251::decode(written));
}

} // namespace TempSettingsFile
