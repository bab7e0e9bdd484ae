#pragma once

#include <QString>
#include <QStringList>
#include <cstdio>
#include <optional>

// What the console is on each system (consoleplatform_unix.cpp,
// consoleplatform_win.cpp).
namespace ConsolePlatform {

// Shows the text in the console window that the stream is, if it is one
// that needs it (Windows: written as UTF-16, so Russian reads correctly in
// any code page): whether that worked. Nothing when the stream is to be
// written as UTF-8 bytes (a terminal on Linux, a file or pipe anywhere).
std::optional<bool> writeToConsole(std::FILE *stream, const QString &text);

// Whether the stream is a terminal (progress is then redrawn in place).
bool isTerminal(std::FILE *stream);

// The program's arguments after its name, exactly as they were given. Throws
// UsageError for one that the program cannot hold exactly.
QStringList arguments(int argc, char **argv);

// Ends the program with `code` once everything is written and closed. On
// Windows the process ends at once: under Wine a process whose transfers ran
// on worker threads was seen to hang in its exit, after its result was out.
[[nodiscard]] int leave(int code);

} // namespace ConsolePlatform
