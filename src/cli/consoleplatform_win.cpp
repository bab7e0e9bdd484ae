#include "consoleplatform.h"

#include <QCoreApplication>
#include <windows.h>

namespace ConsolePlatform {

namespace {

// The console behind the stream, or nothing when it goes to a file or pipe.
HANDLE consoleOf(std::FILE *stream)
{
    const HANDLE handle = ::GetStdHandle(stream == stdout ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
    DWORD mode = 0;
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE || !::GetConsoleMode(handle, &mode))
        return nullptr;
    return handle;
}

} // namespace

std::optional<bool> writeToConsole(std::FILE *stream, const QString &text)
{
    const HANDLE console = consoleOf(stream);
    if (console == nullptr)
        return std::nullopt;
    // Whatever the C library still holds goes first, in order.
    std::fflush(stream);
    // The console's wide function shows the characters themselves: no code
    // page is involved and none has to be set or restored.
    const std::wstring wide = text.toStdWString();
    const wchar_t *next = wide.c_str();
    DWORD left = static_cast<DWORD>(wide.size());
    while (left > 0) {
        DWORD written = 0;
        if (!::WriteConsoleW(console, next, left, &written, nullptr) || written == 0)
            return false;
        next += written;
        left -= written;
    }
    return true;
}

bool isTerminal(std::FILE *stream)
{
    // Not _isatty: it also says yes for the NUL device.
    return consoleOf(stream) != nullptr;
}

QStringList arguments(int, char **)
{
    // Windows keeps the command line in UTF-16, and Qt reads it from there.
    // argv is that line converted to the system's code page, in which every
    // character outside it has become "?": Cyrillic file names on a Windows
    // whose system locale is not Russian.
    return QCoreApplication::arguments().mid(1);
}

int leave(int code)
{
    std::fflush(stdout);
    std::fflush(stderr);
    ::TerminateProcess(::GetCurrentProcess(), static_cast<UINT>(code));
    return code;
}

} // namespace ConsolePlatform
