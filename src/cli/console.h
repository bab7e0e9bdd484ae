#pragma once

#include <QString>

// Lines on standard output and standard error, always in UTF-8, whatever the
// locale says, so that the Russian texts reach a script as they are. A
// Windows console window is given the characters themselves instead
// (ConsolePlatform), so they read correctly in any code page.
namespace Console {

void out(const QString &line);
void err(const QString &line);
// Text without a line end, flushed at once (the progress bar).
void errRaw(const QString &text);
bool errIsTerminal();

// The exit status: the command's own when everything reached standard output
// and standard error, else 2 after a message on standard error (when that
// takes one), so that a script never takes lost output for success.
int finish(int exitCode);

} // namespace Console
