// "diff": two channel files, or a channel file and what a station holds,
// compared field by field in the table's terms.
#include "commandline.h"
#include "commands.h"
#include "console.h"
#include "common/exitcodes.h"
#include "helpwords.h"
#include "portargument.h"
#include "stopsignals.h"
#include "compare/stationcomparison.h"
#include "image/stationreply.h"

#include <QDir>
#include <algorithm>

namespace {

// The station's side, or an exit status when there is none to compare. The
// read is the one `read` makes, its copy kept in the archive.
std::optional<int> readStation(StationReply &held, const PortArgument &port, const QString &archiveFolder)
{
    StationPlan plan;
    plan.write = false;
    plan.verify = false;
    plan.archiveFolder = archiveFolder;
    const SequenceOutcome outcome = Commands::runOnStation(plan, port);
    if (!Commands::readThrough(outcome))
        return Commands::printEnd(outcome);
    Commands::tellArchiveCopy(outcome);
    // A stop asked during the read let it run to its end; nothing follows it.
    if (StopSignals::requested()) {
        Console::out(QStringLiteral("Остановлено после чтения станции: сравнение не выполнено."));
        return ExitCode::Stopped;
    }
    held = outcome.held;
    return std::nullopt;
}

int print(const StationComparison &comparison)
{
    if (!comparison.serialA().isEmpty() || !comparison.serialB().isEmpty())
        Console::err(
            QStringLiteral("Серийный номер (не сравнивается): %1\t%2").arg(comparison.serialA(), comparison.serialB()));
    for (const StationComparison::Difference &d : comparison.differences()) {
        QString line = d.place() + u'\t' + d.a + u'\t' + d.b;
        const QString note = StationComparison::note(d.kind);
        if (!note.isEmpty())
            line += u'\t' + note;
        Console::out(line);
    }
    if (comparison.differences().isEmpty())
        Console::err(QStringLiteral("Нет различий."));
    if (comparison.storedEqual())
        return ExitCode::Done;
    const auto stored =
        std::count_if(comparison.differences().begin(), comparison.differences().end(),
                      [](const StationComparison::Difference &d) { return StationComparison::note(d.kind).isEmpty(); });
    Console::err(QStringLiteral("Различий в станции: %1.").arg(stored));
    return ExitCode::Differs;
}

} // namespace

namespace Commands {

int diff(const CommandLine &line)
{
    const bool withPort = line.isSet(QStringLiteral("port"));
    const PortArgument port = withPort ? PortArgument::parse(line.value(QStringLiteral("port"))) : PortArgument();
    const QString archive = withPort ? archiveFolder() : QString();
    const auto a = loadPassingCheck(line.argument(0));
    if (!a)
        return ExitCode::Refused;
    const StationSide sideA = StationSide::checked(a->plan, a->check.station);
    if (withPort) {
        StationReply held;
        if (const auto stop = readStation(held, port, archive))
            return *stop;
        return print(StationComparison(sideA, StationSide::read(held)));
    }
    const auto b = loadPassingCheck(line.argument(1));
    if (!b)
        return ExitCode::Refused;
    return print(StationComparison(sideA, StationSide::checked(b->plan, b->check.station)));
}

} // namespace Commands
