#include "files/fileaccess.h"
#include "common/platformerror.h"
#include "files/fileaccessdetail.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace FileAccess {

using Detail::checkName;
using Detail::fail;
using Detail::notReadable;
using Detail::tooLarge;

std::optional<QString> targetRefusal(const QString &path)
{
    struct stat info
    {
    };
    if (path.isEmpty() || path.contains(QChar(0)) || ::stat(QFile::encodeName(path).constData(), &info) != 0)
        return std::nullopt; // nothing there (or nothing reachable): the save tells
    if (S_ISREG(info.st_mode))
        return std::nullopt;
    return Detail::notRegular(path, S_ISDIR(info.st_mode));
}

namespace Detail {

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

} // namespace Detail

namespace {

QByteArray readWhole(const QString &path, qsizetype maxBytes, int openMode)
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
    const int fd = ::open(name.constData(), openMode | O_NONBLOCK | O_CLOEXEC);
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

} // namespace

QByteArray readForUpdate(const QString &path, qsizetype maxBytes)
{
    return readWhole(path, maxBytes, O_RDWR);
}

QByteArray read(const QString &path, qsizetype maxBytes)
{
    return readWhole(path, maxBytes, O_RDONLY);
}

int writeBlocker(const QString &path)
{
    if (const int error = Detail::nameError(path))
        return error;
    // Opening without truncation tells whether the file takes writes and leaves it untouched.
    int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0)
        ::close(fd);
    else if (errno != ENOENT)
        return errno;
    QByteArray probe = QFile::encodeName(QFileInfo(path).absolutePath()) + "/.vetral-probe-XXXXXX";
    fd = ::mkstemp(probe.data());
    if (fd < 0)
        return errno == EACCES || errno == EPERM ? EROFS : errno; // a folder that takes no file is read-only to us
    ::close(fd);
    ::unlink(probe.constData());
    return 0;
}

} // namespace FileAccess
