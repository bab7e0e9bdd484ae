#pragma once

#include <QStringList>
#include <functional>

// What vetral-cli does with its arguments once the process is set up (its
// streams open, its application made): the overview, the version or a
// command, with usage and platform errors printed on standard error.
namespace ProgramRun {

// `arguments` gives those after the program's name; it is asked inside, so
// that arguments the program cannot take are reported as any usage error.
// Returns the exit status before Console::finish() has judged the output.
int run(const std::function<QStringList()> &arguments);

} // namespace ProgramRun
