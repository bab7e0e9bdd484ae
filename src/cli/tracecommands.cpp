// The traces of transfers and the support bundle from the command line.
#include "commandline.h"
#include "commands.h"
#include "console.h"
#include "exitcodes.h"
#include "support/supportbundle.h"
#include "trace/tracelisting.h"
#include "trace/tracestore.h"

#include <QDir>

namespace Commands {

int trace(const QStringList &arguments)
{
    CommandLine line(QStringLiteral("trace"),
                     QStringLiteral("Журнал обмена со станцией: время в мс от начала, направление, шаг (стартовый\n"
                                    "байт, заголовок, тоны, каналы, запрос, блоки ответа), байты в шестнадцатеричной\n"
                                    "записи, по строке на байт или на подряд идущие байты в одну сторону. Без FILE -\n"
                                    "журнал последней передачи. --path печатает только путь последнего журнала.\n"
                                    "Код выхода: 0 - напечатан, 2 - журнала нет или файл не журнал обмена."));
    line.addOptionalArgument(QStringLiteral("FILE"), QStringLiteral("Файл журнала обмена."));
    line.addOption({QStringLiteral("path"), QStringLiteral("Напечатать путь журнала последней передачи.")});
    if (!line.parse(arguments))
        return ExitCode::Done;
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

int support(const QStringList &arguments)
{
    CommandLine line(QStringLiteral("support"),
                     QStringLiteral("Архив для службы поддержки OUT.zip: сводка (ПРОЧТИТЕ.txt), версии программы\n"
                                    "и Qt, система, порты и адаптеры (как в ports), файлы настроек, последние 10\n"
                                    "журналов обмена и имена последних копий архива чтений. Существующий файл\n"
                                    "не заменяется. Код выхода: 0 - записан, 2 - ошибка файла."));
    line.addArgument(QStringLiteral("OUT.zip"), QStringLiteral("Файл архива."));
    if (!line.parse(arguments))
        return ExitCode::Done;
    const QString path =
        SupportBundle::write(line.argument(0), SupportBundle::collect(SupportBundle::Sources::ofThisUser()));
    Console::out(QStringLiteral("Архив для службы поддержки: %1").arg(QDir::toNativeSeparators(path)));
    return ExitCode::Done;
}

} // namespace Commands
