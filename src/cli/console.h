#pragma once

#include <QString>

// Lines on standard output and standard error, always in UTF-8, whatever the
// locale says, so that the Russian texts reach a script as they are.
namespace Console {

void out(const QString &line);
void err(const QString &line);
// Text without a line end, flushed at once (the progress bar).
void errRaw(const QString &text);
bool errIsTerminal();

} // namespace Console
