#include "files/fileaccess.h"
#include "common/platformerror.h"
#include "files/fileaccessdetail.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <cerrno>
#include <string>
#include <windows.h>

// Every name goes to the wide (UTF-16) Windows functions, so that file and
// folder names in Cyrillic work whatever the system's code page.

namespace FileAccess {

using Detail::checkName;
using Detail::fail;
using Detail::notReadable;
using Detail::tooLarge;

namespace {

std::wstring wide(const QString &path)
{
    return QDir::toNativeSeparators(path).toStdWString();
}

// CON, PRN, AUX, NUL, COM1 to COM9 and LPT1 to LPT9, also with an extension
// ("nul.ini"), name a device in every folder, not a file.
bool isDeviceName(const QString &path)
{
    static const QRegularExpression device(QStringLiteral("^(con|prn|aux|nul|com[1-9]|lpt[1-9])(\\..*)?$"),
                                           QRegularExpression::CaseInsensitiveOption);
    return device.match(QFileInfo(path).fileName().trimmed()).hasMatch();
}

int errnoOf(DWORD error)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
        return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT:
        return EACCES;
    case ERROR_INVALID_NAME:
        return EINVAL;
    case ERROR_FILENAME_EXCED_RANGE:
        return ENAMETOOLONG;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    default:
        return EIO;
    }
}

// Windows says "path not found" also where a file stands for a folder of the
// path; POSIX tells that apart (ENOTDIR), and so do our messages.
bool fileStandsForFolder(const QString &path)
{
    QString up = QFileInfo(path).absolutePath();
    for (int depth = 0; depth < 256; ++depth) {
        const QFileInfo folder(up);
        if (folder.isFile())
            return true;
        if (folder.isDir() || folder.isRoot() || folder.absolutePath() == up)
            return false;
        up = folder.absolutePath();
    }
    return false;
}

// Windows refuses to open a read-only file for writing; asked first, as
// Wine run as root would open it anyway.
bool isReadOnly(const QString &path)
{
    const DWORD attributes = ::GetFileAttributesW(wide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

// Closes a file however the function that opened it is left.
struct ClosedOnExit
{
    HANDLE handle;
    ~ClosedOnExit() { ::CloseHandle(handle); }
};

} // namespace

std::optional<QString> targetRefusal(const QString &path)
{
    if (path.isEmpty() || path.contains(QChar(0)))
        return std::nullopt;
    if (isDeviceName(path))
        return Detail::notRegular(path, false);
    // Attributes of what the name leads to, links followed.
    const QFileInfo info(path);
    if (!info.exists() || info.isFile())
        return std::nullopt;
    return Detail::notRegular(path, info.isDir());
}

namespace Detail {
void keepOwnerAndMode(const QString &, int) {}
} // namespace Detail

namespace {

QByteArray readWhole(const QString &path, qsizetype maxBytes, bool forUpdate)
{
    checkName(path);
    if (isDeviceName(path))
        throw PlatformError(notReadable(path, false)); // a device may never end
    const QFileInfo seen(path);
    if (seen.exists() && !seen.isFile())
        throw PlatformError(notReadable(path, seen.isDir()));
    if (forUpdate && isReadOnly(path))
        fail(EACCES);
    // A file only read may be open in a spreadsheet program at the same time.
    const DWORD access = forUpdate ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ;
    const DWORD sharing = forUpdate ? FILE_SHARE_READ : FILE_SHARE_READ | FILE_SHARE_WRITE;
    HANDLE file =
        ::CreateFileW(wide(path).c_str(), access, sharing, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_PATH_NOT_FOUND && fileStandsForFolder(path))
            fail(ENOTDIR);
        fail(errnoOf(error));
    }
    const ClosedOnExit closer{file};
    if (::GetFileType(file) != FILE_TYPE_DISK)
        throw PlatformError(notReadable(path, false));
    LARGE_INTEGER size{};
    if (::GetFileSizeEx(file, &size) && size.QuadPart > maxBytes)
        tooLarge(path, size.QuadPart, maxBytes);
    QByteArray bytes;
    char buffer[65536];
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(file, buffer, sizeof buffer, &got, nullptr))
            fail(errnoOf(::GetLastError()));
        if (got == 0)
            break;
        bytes.append(buffer, static_cast<qsizetype>(got));
        if (bytes.size() > maxBytes) // grown while it was read
            tooLarge(path, bytes.size(), maxBytes);
    }
    return bytes;
}

} // namespace

QByteArray readForUpdate(const QString &path, qsizetype maxBytes)
{
    return readWhole(path, maxBytes, true);
}

QByteArray read(const QString &path, qsizetype maxBytes)
{
    return readWhole(path, maxBytes, false);
}

int writeBlocker(const QString &path)
{
    if (const int error = Detail::nameError(path))
        return error;
    const QFileInfo info(path);
    // NTFS takes names of up to 255 characters.
    if (info.fileName().size() > 255)
        return ENAMETOOLONG;
    if (fileStandsForFolder(path))
        return ENOTDIR;
    if (isReadOnly(path))
        return EACCES;
    // Opening without truncation tells whether the file takes writes and
    // leaves it untouched.
    HANDLE file = ::CreateFileW(wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        ::CloseHandle(file);
    } else {
        const DWORD error = ::GetLastError();
        if (error != ERROR_FILE_NOT_FOUND)
            return errnoOf(error);
    }
    // Whether the folder takes a new file.
    const QString folder = info.absolutePath();
    wchar_t probe[MAX_PATH + 1] = {};
    if (::GetTempFileNameW(wide(folder).c_str(), L"vtl", 0, probe) == 0)
        return errnoOf(::GetLastError());
    ::DeleteFileW(probe);
    return 0;
}

} // namespace FileAccess
