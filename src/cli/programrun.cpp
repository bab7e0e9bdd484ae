#include "programrun.h"

#include "command.h"
#include "commandline.h"
#include "console.h"
#include "common/exitcodes.h"
#include "common/platformerror.h"

#include <new>

namespace {

int dispatch(const QStringList &arguments)
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

namespace ProgramRun {

int run(const std::function<QStringList()> &arguments)
{
    try {
        return dispatch(arguments());
    } catch (const UsageError &e) {
        Console::err(e.text());
    } catch (const PlatformError &e) {
        Console::err(e.text());
    } catch (const std::bad_alloc &) {
        Console::err(QStringLiteral("Не хватило памяти."));
    }
    return ExitCode::Failure;
}

} // namespace ProgramRun
