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

QByteArray readForUpdate(const QString &path)
{
    checkName(path);
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        fail(errno);
    struct stat info
    {
    };
    if (::fstat(fd, &info) != 0) {
        const int error = errno;
        ::close(fd);
        fail(error);
    }
    if (!S_ISREG(info.st_mode)) {
        // A device or a pipe may never end; it is no channel file.
        ::close(fd);
        fail(EACCES);
    }
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
            const int error = errno;
            ::close(fd);
            fail(error);
        }
        bytes.append(buffer, static_cast<qsizetype>(n));
    }
    ::close(fd);
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

QByteArray readForUpdate(const QString &path)
{
    checkName(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly))
        fail(file.exists() ? EACCES : ENOENT);
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
