#include "files/pendingfile.h"

#include "common/platformerror.h"
#include "files/ioerror.h"

#include <cerrno>

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <unistd.h>
#elif defined(Q_OS_WIN)
#include <windows.h>
#endif

namespace {

[[noreturn]] void fail(const QString &path, const QString &reason)
{
    throw PlatformError(QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), reason));
}

// Why the file failed: the disk's reason in the program's words where the
// system gives one (a full disk, a read-only folder), else Qt's.
QString reason(const QFile &file)
{
    return IoError::diskReason(errno).value_or(file.errorString());
}

// Exists as a name, a dangling link included.
bool nameTaken(const QString &path)
{
    return QFileInfo(path).exists() || QFileInfo(path).isSymLink();
}

} // namespace

PendingFile::PendingFile(const QDir &dir, const QString &pattern) : m_file(dir.filePath(pattern))
{
    errno = 0;
    if (!m_file.open())
        fail(dir.path(), reason(m_file));
    m_file.close();
}

void PendingFile::write(const QByteArray &bytes)
{
    errno = 0;
    if (!m_file.open() || m_file.write(bytes) != bytes.size() || !m_file.flush())
        throw PlatformError(reason(m_file));
    m_file.close();
}

bool PendingFile::publishAs(const QString &target)
{
    if (nameTaken(target))
        return false;
#ifdef Q_OS_UNIX
    // A hard link is made only where no name stands (a dangling link counts),
    // in one step. Qt's rename checks first and then renames, and falls back
    // to copying over whatever took the name in between.
    const QByteArray from = QFile::encodeName(m_file.fileName());
    const QByteArray to = QFile::encodeName(target);
    if (::link(from.constData(), to.constData()) == 0)
        return true;
    if (errno == EEXIST)
        return false;
    if (errno != EPERM && errno != EOPNOTSUPP && errno != EXDEV)
        fail(target, qt_error_string(errno));
#elif defined(Q_OS_WIN)
    // The same on NTFS. A move without MOVEFILE_REPLACE_EXISTING would do on
    // Windows itself, but Wine checks the name first and then renames.
    const auto from = QDir::toNativeSeparators(m_file.fileName()).toStdWString();
    const auto to = QDir::toNativeSeparators(target).toStdWString();
    if (CreateHardLinkW(to.c_str(), from.c_str(), nullptr))
        return true;
    const DWORD error = GetLastError();
    if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS)
        return false;
    if (error != ERROR_INVALID_FUNCTION && error != ERROR_NOT_SUPPORTED && error != ERROR_NOT_SAME_DEVICE)
        fail(target, qt_error_string(int(error)));
#endif
    // A file system without hard links (FAT on a technician's stick): the
    // temporary file's own rename moves the file it still holds open (Windows
    // refuses a move through another handle) and never falls back to a copy.
    if (m_file.rename(target)) {
        m_file.setAutoRemove(false); // it now stands under the target's name
        return true;
    }
    if (nameTaken(target))
        return false;
    fail(target, m_file.errorString());
}

QString PendingFile::publishNumbered(const QDir &folder, const QString &base, const QString &suffix)
{
    QString path = folder.filePath(base + suffix);
    for (int n = 2; !publishAs(path); ++n)
        path = folder.filePath(base + QStringLiteral(" (%1)").arg(n) + suffix);
    return path;
}
