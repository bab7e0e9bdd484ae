// vetral-cli: check, dump, write, read, report, search, ports, fleet, diff, trace and support from a
// script, on the same core as the window: the same messages, bytes and files.
#include "commands.h"
#include "console.h"
#include "consoleplatform.h"
#include "programrun.h"
#include "stopsignals.h"
#include "common/exitcodes.h"
#include "common/qttranslations.h"
#include "common/standardstreams.h"

#include <QCoreApplication>

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
        code = ProgramRun::run([argc, argv] { return ConsolePlatform::arguments(argc, argv); });
    }
    return ConsolePlatform::leave(Console::finish(code));
}
