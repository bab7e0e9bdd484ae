// vetral-cli: check, dump, write, read, report, search, ports, fleet, diff, trace and support from a
// script, on the same core as the window: the same messages, bytes and files.
#include "command.h"
#include "commandline.h"
#include "commands.h"
#include "console.h"
#include "consoleplatform.h"
#include "common/exitcodes.h"
#include "stopsignals.h"
#include "common/platformerror.h"
#include "common/standardstreams.h"
#include "common/qttranslations.h"

#include <QCoreApplication>
#include <new>

namespace {

int run(const QStringList &arguments)
{
    if (arguments.isEmpty())
        throw UsageError(QStringLiteral("Не указана команда (см. vetral-cli --help)"));
    const QString name = arguments.constFirst();
    if (name == QStringLiteral("--help") || name == QStringLiteral("-h") || name == QStringLiteral("help")) {
        Console::out(Commands::overview());
        return ExitCode::Done;
    }
    if (name == QStringLiteral("--version")) {
        Console::out(QStringLiteral("vetral-cli " VETRAL_VERSION));
        return ExitCode::Done;
    }
    return Commands::run(name, arguments.mid(1));
}

} // namespace

int main(int argc, char **argv)
{
    if (!StandardStreams::ensureOpen())
        return ExitCode::Failure;
    StopSignals::ignoreBrokenPipe();
    int code = ExitCode::Failure;
    {
        const auto app = Commands::application(argc, argv);
        // The program's name, so that the configuration folder (V404Options.ini,
        // MyTemp.ini) and the archive of reads are the window's own.
        QCoreApplication::setApplicationName(QStringLiteral("vetral"));
        // Qt's parts of the help and of argument errors in Russian, as the window's.
        QtTranslations::installRussian(*app);
        try {
            code = run(ConsolePlatform::arguments(argc, argv));
        } catch (const UsageError &e) {
            Console::err(e.text());
        } catch (const PlatformError &e) {
            Console::err(e.text());
        } catch (const std::bad_alloc &) {
            Console::err(QStringLiteral("Не хватило памяти."));
        }
    }
    return ConsolePlatform::leave(Console::finish(code));
}
