#pragma once

#include <QStringList>

// The commands of vetral-cli. Each takes the arguments after its name and
// returns the exit status (ExitCode). Usage errors are thrown as UsageError,
// platform failures as PlatformError; main() reports both with status 2.
namespace Commands {

int check(const QStringList &arguments);
int dump(const QStringList &arguments);
int write(const QStringList &arguments);
int read(const QStringList &arguments);
int report(const QStringList &arguments);
int search(const QStringList &arguments);
int fleet(const QStringList &arguments);

} // namespace Commands
