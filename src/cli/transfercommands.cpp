// "Запись данных " and "Чтение данных " from the command line: the transfer
// dialog's progress on standard error, the outcome as one line and the exit
// status.
#include "commandline.h"
#include "commandports.h"
#include "commands.h"
#include "console.h"
#include "consoleprogress.h"
#include "common/exitcodes.h"
#include "helpwords.h"
#include "portargument.h"
#include "stopsignals.h"
#include "common/paths.h"
#include "common/platformerror.h"
#include "files/channelfile.h"
#include "files/fileaccess.h"
#include "files/ioerror.h"
#include "files/readarchive.h"
#include "trace/tracestore.h"
#include "transfer/outcomewords.h"
#include "transfer/stationsequence.h"
#include "transfer/transferjob.h"

#include <QDir>
#include <QFileInfo>

namespace {

using Kind = SequenceOutcome::Kind;

// An output that cannot be saved is refused before the station is asked,
// with its real reason rather than the save's numbered error.
void requireSavable(const QString &output)
{
    if (const auto refusal = FileAccess::targetRefusal(output))
        throw PlatformError(*refusal);
    const QFileInfo info(output);
    if (!info.dir().exists())
        throw PlatformError(QStringLiteral("Файл \"%1\" не может быть создан: папки \"%2\" нет.")
                                .arg(QDir::toNativeSeparators(output), QDir::toNativeSeparators(info.absolutePath())));
    // A name too long, or a folder that takes no file, would fail only after
    // the station was read.
    if (const int blocker = FileAccess::writeBlocker(output))
        throw PlatformError(QStringLiteral("Файл \"%1\" не может быть записан: %2")
                                .arg(QDir::toNativeSeparators(output), IoError::writeReason(blocker)));
}

} // namespace

namespace Commands {

QString archiveFolder()
{
    if (const auto refusal = ReadArchive::folderRefusal())
        throw PlatformError(*refusal);
    return ReadArchive::folder();
}

QString traceFolder()
{
    // Beside the archive, in the same data folder.
    archiveFolder();
    return TraceStore::folder();
}

// The station sequence as a job, with its progress on standard error, each
// transfer's bar on a line of its own; stopped by SIGINT, SIGTERM and SIGHUP.
SequenceOutcome runOnStation(StationPlan plan, const PortArgument &port)
{
    plan.link.device = port.device;
    plan.link.portNumber = port.portNumber;
    plan.link.factory = CommandPorts::factory();
    plan.link.stop = StopSignals::install();
    if (plan.link.traceFolder.isEmpty() && !Paths::dataFolderRefusal())
        plan.link.traceFolder = traceFolder();
    const QString name = port.device.isEmpty() ? QStringLiteral("COM%1").arg(port.portNumber) : port.device;
    ConsoleProgress progress(Console::errIsTerminal(), QStringLiteral("на ") + name);
    TransferJob job(std::move(plan));
    QObject::connect(&job, &TransferJob::stepStarted, &job,
                     [&progress](SequenceStep step, const QString &) { progress.stepStarted(step); });
    QObject::connect(&job, &TransferJob::progress, &job,
                     [&progress](const TransferProgress &p) { progress.progress(p); });
    QObject::connect(&job, &TransferJob::stopDeferred, &job,
                     [&progress](bool writing, qint64 remainingMs) { progress.stopDeferred(writing, remainingMs); });
    runToEnd(job, &TransferJob::finished);
    progress.ended(job.outcome());
    return job.outcome();
}

bool readThrough(const SequenceOutcome &outcome)
{
    // A copy that could not be kept leaves the read itself whole.
    return outcome.kind == Kind::Done || outcome.kind == Kind::ArchiveFailed;
}

void tellArchiveCopy(const SequenceOutcome &outcome)
{
    if (outcome.kind == Kind::ArchiveFailed)
        Console::err(OutcomeWords::text(outcome, OutcomeWords::Voice::Sentence));
    else
        Console::err(QStringLiteral("Копия в архиве чтений: %1").arg(QDir::toNativeSeparators(outcome.archiveCopy)));
}

int printEnd(const SequenceOutcome &outcome)
{
    const QString text = OutcomeWords::text(outcome, OutcomeWords::Voice::Sentence);
    if (outcome.kind == Kind::Failure)
        Console::err(text);
    else
        Console::out(text);
    return OutcomeWords::exitCode(outcome);
}

} // namespace Commands

namespace {

int writeEnd(const SequenceOutcome &outcome)
{
    // The stop came while the last step ran to its end.
    if (outcome.kind == Kind::Done && StopSignals::requested()) {
        const QString done = OutcomeWords::text(outcome, OutcomeWords::Voice::Sentence);
        Console::out(QStringLiteral("Остановлено: ") + done.left(1).toLower() + done.mid(1));
        return ExitCode::Stopped;
    }
    return Commands::printEnd(outcome);
}

} // namespace

namespace Commands {

int read(const CommandLine &line)
{
    const PortArgument port = PortArgument::parse(line.value(QStringLiteral("port")));
    const QString output = line.value(QStringLiteral("output"));
    requireSavable(output);

    StationPlan plan;
    plan.write = false;
    plan.verify = false;
    plan.archiveFolder = archiveFolder();
    const SequenceOutcome outcome = runOnStation(plan, port);
    if (!readThrough(outcome))
        return printEnd(outcome);
    // The copy comes first, so the station's data are kept even when the
    // output file cannot be written.
    tellArchiveCopy(outcome);
    if (const auto refusal = ChannelFile::save(outcome.held.plan(), output)) {
        Console::out(refusal->text);
        return ExitCode::Refused;
    }
    // A stop asked during the read let it run to its end; what it read is kept.
    const QString saved = QStringLiteral("данные станции сохранены в файл %1.").arg(QDir::toNativeSeparators(output));
    if (StopSignals::requested()) {
        Console::out(QStringLiteral("Остановлено после чтения: ") + saved);
        return ExitCode::Stopped;
    }
    Console::out(saved.left(1).toUpper() + saved.mid(1));
    return ExitCode::Done;
}

int write(const CommandLine &line)
{
    const PortArgument port = PortArgument::parse(line.value(QStringLiteral("port")));

    const auto file = loadPassingCheck(line.argument(0));
    if (!file)
        return ExitCode::Refused;
    StationPlan plan;
    plan.channels = file->plan;
    plan.data = file->check.station;
    plan.backUp = false;
    plan.verify = line.isSet(QStringLiteral("verify"));
    return writeEnd(runOnStation(plan, port));
}

} // namespace Commands
