#include "files/fileaccess.h"
#include "common/platformerror.h"
#include "files/ioerror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace FileAccess {

namespace {

[[noreturn]] void fail(int errnoValue)
{
    throw PlatformError(IoError::message(errnoValue));
}

// A NUL cannot be part of a file name, and no name names no file.
void checkName(const QString &path)
{
    if (path.contains(QChar(0)))
        fail(EINVAL);
    if (path.isEmpty())
        fail(ENOENT);
}

QString notRegular(const QString &path, bool folder)
{
    const QString name = QDir::toNativeSeparators(path);
    if (folder)
        return QStringLiteral("Файл \"%1\" не записан: это папка, а не файл.").arg(name);
    return QStringLiteral("Файл \"%1\" не записан: это не обычный файл, а устройство или канал; "
                          "он оставлен без изменений.")
        .arg(name);
}

QString notReadable(const QString &path, bool folder)
{
    const QString name = QDir::toNativeSeparators(path);
    if (folder)
        return QStringLiteral("Файл \"%1\" не прочитан: это папка, а не файл.").arg(name);
    return QStringLiteral("Файл \"%1\" не прочитан: это не обычный файл, а устройство или канал.").arg(name);
}

[[noreturn]] void tooLarge(const QString &path, qint64 size, qsizetype maxBytes)
{
    throw PlatformError(QStringLiteral("Файл \"%1\" не прочитан: в нём %2 байт, а больше %3 МБ файл каналов не "
                                       "бывает (обычно он меньше 100 КБ).")
                            .arg(QDir::toNativeSeparators(path))
                            .arg(size)
                            .arg(maxBytes / (1024 * 1024)));
}

} // namespace

#ifdef Q_OS_UNIX

std::optional<QString> targetRefusal(const QString &path)
{
    struct stat info
    {
    };
    if (path.isEmpty() || path.contains(QChar(0)) || ::stat(QFile::encodeName(path).constData(), &info) != 0)
        return std::nullopt; // nothing there (or nothing reachable): the save tells
    if (S_ISREG(info.st_mode))
        return std::nullopt;
    return notRegular(path, S_ISDIR(info.st_mode));
}

namespace {

// The new version replaces the file under the same owner and mode. Someone
// who may not give a file away (not root) keeps what the system allows.
void keepOwnerAndMode(const QString &path, int fd)
{
    struct stat info
    {
    };
    if (fd < 0 || ::stat(QFile::encodeName(path).constData(), &info) != 0)
        return;
    [[maybe_unused]] const int owned = ::fchown(fd, info.st_uid, info.st_gid);
    [[maybe_unused]] const int moded = ::fchmod(fd, info.st_mode & 07777);
}

} // namespace

QByteArray readForUpdate(const QString &path, qsizetype maxBytes)
{
    checkName(path);
    const QByteArray name = QFile::encodeName(path);
    struct stat info
    {
    };
    // A device or a pipe may never end, and opening a serial device alone
    // changes its lines: what is not a regular file is not opened at all.
    if (::stat(name.constData(), &info) != 0)
        fail(errno);
    if (!S_ISREG(info.st_mode))
        throw PlatformError(notReadable(path, S_ISDIR(info.st_mode)));
    const int fd = ::open(name.constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        fail(errno);
    struct Closer
    {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    if (::fstat(fd, &info) != 0)
        fail(errno);
    if (!S_ISREG(info.st_mode)) // replaced between the two looks
        throw PlatformError(notReadable(path, S_ISDIR(info.st_mode)));
    if (info.st_size > maxBytes)
        tooLarge(path, info.st_size, maxBytes);
    QByteArray bytes;
    bytes.reserve(static_cast<qsizetype>(info.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            fail(errno);
        }
        bytes.append(buffer, static_cast<qsizetype>(n));
        if (bytes.size() > maxBytes) // grown while it was read
            tooLarge(path, bytes.size(), maxBytes);
    }
    return bytes;
}

int writeBlocker(const QString &path)
{
    if (path.isEmpty())
        return ENOENT;
    if (path.contains(QChar(0)))
        return EINVAL;
    // Opening without truncation tells whether the file takes writes and leaves it untouched.
    int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0)
        ::close(fd);
    else if (errno != ENOENT)
        return errno;
    QByteArray probe = QFile::encodeName(QFileInfo(path).absolutePath()) + "/.vetral-probe-XXXXXX";
    fd = ::mkstemp(probe.data());
    if (fd < 0)
        return errno;
    ::close(fd);
    ::unlink(probe.constData());
    return 0;
}

#else

std::optional<QString> targetRefusal(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists() || info.isFile())
        return std::nullopt;
    return notRegular(path, info.isDir());
}

namespace {
void keepOwnerAndMode(const QString &, int) {}
} // namespace

QByteArray readForUpdate(const QString &path, qsizetype maxBytes)
{
    checkName(path);
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        throw PlatformError(notReadable(path, info.isDir()));
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly))
        fail(file.exists() ? EACCES : ENOENT);
    if (file.size() > maxBytes)
        tooLarge(path, file.size(), maxBytes);
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        fail(EIO);
    return bytes;
}

int writeBlocker(const QString &path)
{
    if (path.isEmpty())
        return ENOENT;
    const QFileInfo info(path);
    if (!info.absoluteDir().exists())
        return ENOENT;
    if (info.isDir() || (info.exists() && !info.isWritable()))
        return EACCES;
    return 0;
}

#endif

void writeAtomically(const QString &path, const QByteArray &bytes)
{
    checkName(path);
    // QSaveFile tells no error number. When it cannot create the temporary
    // file or cannot rename it over the target, the target itself is tried
    // for the reason; a failure while writing is the writer's own.
    const auto creationFailure = [&path] {
        const int blocker = writeBlocker(path);
        return PlatformError(blocker != 0 ? IoError::message(blocker) : IoError::unableToWrite(path));
    };
    if (const auto refusal = targetRefusal(path))
        throw PlatformError(*refusal);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw creationFailure();
    keepOwnerAndMode(path, file.handle());
    // Until commit() the old file is untouched; leaving without it drops the temporary file.
    if (file.write(bytes) != bytes.size() || !file.flush() || file.error() != QFileDevice::NoError)
        throw PlatformError(IoError::unableToWrite(path));
    if (!file.commit())
        throw creationFailure();
}

} // namespace FileAccess
