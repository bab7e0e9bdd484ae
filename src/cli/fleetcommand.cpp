#include "commandline.h"
#include "commandports.h"
#include "commands.h"
#include "console.h"
#include "common/exitcodes.h"
#include "consoleprogress.h"
#include "fleetboard.h"
#include "fleetports.h"
#include "helpwords.h"
#include "batch/batchreports.h"
#include "fleetstation.h"
#include "stopsignals.h"
#include "batch/batchrunner.h"
#include "batch/batchstation.h"
#include "common/paths.h"
#include "files/readarchive.h"
#include "image/fieldcoding.h"
#include "report/reportdocument.h"
#include "transfer/outcomewords.h"

#include <QCoreApplication>
#include <QDir>
#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

namespace {

// The Ids of the stations when --id-from gives the first: N, N + 1, ... as
// four decimal digits. Throws UsageError.
std::optional<QStringList> ownIds(const CommandLine &line, qsizetype count)
{
    if (!line.isSet(QStringLiteral("id-from")))
        return std::nullopt;
    const BatchChoice::Ids ids =
        BatchChoice::ids(line.value(QStringLiteral("id-from")), count, QStringLiteral("--id-from"));
    if (ids.problem)
        throw UsageError(ids.problem->text);
    return ids.ids;
}

// Each station on a thread of its own; the main thread shows their progress
// until the last one ends.
std::vector<FleetResult> runAll(std::vector<StationPlan> plans, std::shared_ptr<TransferStop> stop, FleetBoard &board,
                                const QStringList &names)
{
    BatchRunner runner;
    QObject::connect(&runner, &BatchRunner::stopDeferred, &runner,
                     [&board, &names](int station, bool writing, qint64 remainingMs) {
                         board.note(stopNotice(QStringLiteral("на ") + names.at(station), writing, remainingMs));
                     });
    QObject::connect(&runner, &BatchRunner::stepStarted, &runner, [&board](int station, int step, const QString &) {
        board.show(station, BatchStation::stepName(SequenceStep(step)), 0);
    });
    QObject::connect(&runner, &BatchRunner::progress, &runner,
                     [&board](int station, int percent) { board.showPercent(station, percent); });
    QObject::connect(&runner, &BatchRunner::stationFinished, &runner, [&board, &runner](int station) {
        const SequenceOutcome &outcome = runner.outcomes()[std::size_t(station)];
        board.show(station,
                   outcome.kind == SequenceOutcome::Kind::Done
                       ? OutcomeWords::gaugeText(outcome)
                       : OutcomeWords::text(outcome, OutcomeWords::Voice::BatchLine),
                   -1);
    });
    QObject::connect(&runner, &BatchRunner::finished, qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    runner.start(std::move(plans), std::move(stop));
    QCoreApplication::exec();
    std::vector<FleetResult> results;
    for (const SequenceOutcome &outcome : runner.outcomes())
        results.push_back(FleetStation::result(outcome));
    return results;
}

} // namespace

namespace Commands {

int fleet(const CommandLine &line)
{
    const QList<BatchChoice::Port> ports =
        FleetPorts::resolve(line.values(QStringLiteral("port")), Paths::optionsFile());
    const std::optional<QStringList> own = ownIds(line, ports.size());
    const QString reportDir = line.value(QStringLiteral("report-dir"));
    if (line.isSet(QStringLiteral("report-dir")) && reportDir.isEmpty())
        throw UsageError(QStringLiteral("Пустое значение параметра --report-dir"));

    const QString archive = archiveFolder();
    // Checked once, here: the check rewrites MyTemp.ini, which no thread may
    // share.
    const auto checked = loadPassingCheck(line.argument(0));
    if (!checked)
        return ExitCode::Refused;
    // Without --id-from the file's Id stands for all as the file spells it.
    const QStringList ids =
        own.value_or(QStringList(ports.size(), FieldCoding::idText(checked->check.station.image.idCode)));

    std::shared_ptr<BatchReports> reports;
    if (!reportDir.isEmpty()) {
        reports = std::make_shared<BatchReports>(reportDir, line.value(QStringLiteral("serial")));
        reports->prepare(ports.size());
    }
    // Made here once rather than by every thread at the same moment; a
    // folder that cannot be made fails each station's copy, and so its write.
    QDir().mkpath(archive);
    std::shared_ptr<TransferStop> stop = StopSignals::install();
    std::vector<StationPlan> plans;
    QStringList names;
    for (qsizetype k = 0; k < ports.size(); ++k) {
        StationPlan plan = BatchStation::plan(checked->plan, checked->check.station, ports.at(k).device,
                                              Paths::optionsFile(), archive, reports, stop);
        plan.link.factory = CommandPorts::factory();
        if (own)
            BatchStation::setId(plan, ids.at(k));
        plans.push_back(std::move(plan));
        names.append(ports.at(k).name);
    }

    FleetBoard board(names, Console::errIsTerminal());
    const std::vector<FleetResult> results = runAll(std::move(plans), stop, board, names);

    int exitCode = ExitCode::Done;
    for (std::size_t k = 0; k < results.size(); ++k) {
        const FleetResult &result = results[k];
        const qsizetype at = static_cast<qsizetype>(k);
        if (!result.archiveCopy.isEmpty())
            Console::err(QStringLiteral("%1: копия в архиве чтений: %2")
                             .arg(names.at(at), QDir::toNativeSeparators(result.archiveCopy)));
        if (!result.report.isEmpty())
            Console::err(QStringLiteral("%1: протокол: %2").arg(names.at(at), QDir::toNativeSeparators(result.report)));
        exitCode = std::max(exitCode, result.exitCode);
    }
    // A stop that came while the last steps ran to their end.
    if (stop->stopRequested())
        exitCode = ExitCode::Stopped;
    for (std::size_t k = 0; k < results.size(); ++k) {
        const qsizetype at = static_cast<qsizetype>(k);
        Console::out(QStringList{names.at(at), results[k].serial, ids.at(at), results[k].text}.join(u'\t'));
    }
    return exitCode;
}

} // namespace Commands
