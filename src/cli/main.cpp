// vetral-cli: check, dump, write, read, report, search, ports, fleet and diff from a
// script, on the same core as the window: the same messages, bytes and files.
#include "commandline.h"
#include "commands.h"
#include "console.h"
#include "consoleplatform.h"
#include "common/exitcodes.h"
#include "helpwords.h"
#include "stopsignals.h"
#include "common/platformerror.h"
#include "common/standardstreams.h"
#include "common/qttranslations.h"

#include <QCoreApplication>
#include <array>
#include <new>

namespace {

struct Command
{
    const char *name;
    const char *summary;
    int (*run)(const QStringList &);
};

const std::array<Command, 11> kCommands{{
    {"check", "check FILE                          загрузить файл каналов и выполнить \"Контроль\"", Commands::check},
    {"dump", "dump FILE                           байты записи в станцию, по строке на запись", Commands::dump},
    {"write", "write FILE --port PORT [--verify]   записать в станцию (и сверить чтением)", Commands::write},
    {"read", "read --port PORT --output FILE      прочитать станцию в файл каналов", Commands::read},
    {"report", "report FILE --output OUT.docx|OUT.pdf [--serial TEXT]   протокол испытаний", Commands::report},
    {"search", "search                              найти станцию на COM1...COM7 (\"USB\")", Commands::search},
    {"ports", "ports                               последовательные порты и их адаптеры", Commands::ports},
    {"fleet",
     "fleet FILE --port PORT [--port PORT ...] [--id-from NNNN] [--report-dir DIR] [--serial TEXT]\n"
     "                                      записать партию станций сразу, по станции на порт",
     Commands::fleet},
    {"diff",
     "diff A.ini B.ini | diff FILE --port PORT\n"
     "                                      сравнить два файла или файл со станцией",
     Commands::diff},
    {"csv",
     "csv export FILE OUT.csv [--encoding ENC] | csv import IN.csv OUT.ini [--settings FILE.ini]\n"
     "                                      таблица каналов в CSV для электронной таблицы и обратно",
     Commands::csv},
    {"print", "print FILE --output OUT.pdf          лист каналов в PDF", Commands::printSheet},
}};

QString overview()
{
    QString text = QStringLiteral("Программатор радиостанций \"Ветрал\" для командной строки.\n\n"
                                  "Использование: vetral-cli КОМАНДА [параметры]\n\nКоманды:\n");
    for (const Command &command : kCommands)
        text += QStringLiteral("  ") + QString::fromUtf8(command.summary) + u'\n';
    text += QStringLiteral("\nСправка по команде: vetral-cli КОМАНДА --help\n"
                           "Версия программы: vetral-cli --version\n"
                           "Код выхода 2: неверные аргументы или ошибка файла или порта.\n"
                           "Код выхода 5 (write, read, diff, fleet): остановлено %1.")
                .arg(HelpWords::stoppedBy());
    return text + HelpWords::stopNoteLine();
}

int run(const QStringList &arguments)
{
    if (arguments.isEmpty())
        throw UsageError(QStringLiteral("Не указана команда (см. vetral-cli --help)"));
    const QString name = arguments.constFirst();
    if (name == QStringLiteral("--help") || name == QStringLiteral("-h") || name == QStringLiteral("help")) {
        Console::out(overview());
        return ExitCode::Done;
    }
    if (name == QStringLiteral("--version")) {
        Console::out(QStringLiteral("vetral-cli " VETRAL_VERSION));
        return ExitCode::Done;
    }
    for (const Command &command : kCommands) {
        if (name == QLatin1String(command.name))
            return command.run(arguments.mid(1));
    }
    throw UsageError(QStringLiteral("Неизвестная команда \"%1\" (см. vetral-cli --help)").arg(name));
}

} // namespace

int main(int argc, char **argv)
{
    if (!StandardStreams::ensureOpen())
        return ExitCode::Failure;
    StopSignals::ignoreBrokenPipe();
    const auto app = Commands::application(argc, argv);
    // The program's name, so that the configuration folder (V404Options.ini,
    // MyTemp.ini) and the archive of reads are the window's own.
    QCoreApplication::setApplicationName(QStringLiteral("vetral"));
    // Qt's parts of the help and of argument errors in Russian, as the window's.
    QtTranslations::installRussian(*app);
    try {
        return Console::finish(run(ConsolePlatform::arguments(argc, argv)));
    } catch (const UsageError &e) {
        Console::err(e.text());
    } catch (const PlatformError &e) {
        Console::err(e.text());
    } catch (const std::bad_alloc &) {
        Console::err(QStringLiteral("Не хватило памяти."));
    }
    return Console::finish(ExitCode::Failure);
}
