// The traces of transfers and the support bundle from the command line.
#include "commandline.h"
#include "commands.h"
#include "console.h"
#include "common/exitcodes.h"
#include "support/supportbundle.h"
#include "trace/tracelisting.h"
#include "trace/tracestore.h"

#include <QDir>

namespace Commands {

int trace(const CommandLine &line)
{
    QString path = line.argument(0);
    if (line.isSet(QStringLiteral("path")) && !path.isEmpty())
        throw UsageError(QStringLiteral("Параметр --path не берёт файла (см. vetral-cli trace --help)"));
    if (path.isEmpty()) {
        const auto last = TraceStore::last(traceFolder());
        if (!last) {
            Console::err(
                QStringLiteral("Журналов обмена нет: ни одной передачи со станцией ещё не было (папка \"%1\").")
                    .arg(QDir::toNativeSeparators(traceFolder())));
            return ExitCode::Failure;
        }
        path = *last;
    }
    if (line.isSet(QStringLiteral("path"))) {
        Console::out(QDir::toNativeSeparators(path));
        return ExitCode::Done;
    }
    const Trace trace = TraceStore::load(path);
    Console::out(QStringLiteral("Файл: %1").arg(QDir::toNativeSeparators(path)));
    for (const QString &text : TraceListing::lines(trace))
        Console::out(text);
    return ExitCode::Done;
}

int support(const CommandLine &line)
{
    const QString path =
        SupportBundle::write(line.argument(0), SupportBundle::collect(SupportBundle::Sources::ofThisUser()));
    Console::out(QStringLiteral("Архив для службы поддержки: %1").arg(QDir::toNativeSeparators(path)));
    return ExitCode::Done;
}

} // namespace Commands
