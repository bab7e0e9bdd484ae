// "Запись данных " and "Чтение данных " from the command line: the transfer
// dialog's progress on standard error, the outcome as one line and the exit
// status.
#include "commandline.h"
#include "commands.h"
#include "console.h"
#include "consoleprogress.h"
#include "exitcodes.h"
#include "helpwords.h"
#include "portargument.h"
#include "stopsignals.h"
#include "common/paths.h"
#include "common/platformerror.h"
#include "files/channelfile.h"
#include "files/fileaccess.h"
#include "files/ioerror.h"
#include "files/readarchive.h"
#include "link/linktexts.h"
#include "link/linktimings.h"
#include "trace/tracestore.h"
#include "transfer/stationsequence.h"
#include "transfer/transferjob.h"
#include "transfer/writeverification.h"

#include <QDir>
#include <QFileInfo>

namespace {

using Kind = SequenceOutcome::Kind;

// A wait for the station ran out ("AK" in the transfer dialog), as the
// middle of a sentence: the line busy rather than silent, or the reply
// stopped where it stopped.
QString noAnswerWords(const SequenceOutcome &outcome)
{
    if (!outcome.failure.isEmpty())
        return QStringLiteral("%1 (%2)").arg(outcome.failure, LinkTexts::noAnswer());
    return QStringLiteral("станция не отвечает (%1)%2")
        .arg(LinkTexts::noAnswer(), outcome.lineBusy ? busyLineText(LinkTimings().quietLineBoundMs) : QString());
}

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

QString noAnswerText(const SequenceOutcome &outcome)
{
    const QString words = noAnswerWords(outcome);
    return words.left(1).toUpper() + words.mid(1) + u'.';
}

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

// The ends that `read` and `write` share; nothing when the outcome is not one of them.
std::optional<int> commonEnd(const SequenceOutcome &outcome)
{
    switch (outcome.kind) {
    case Kind::Failure:
        Console::err(outcome.failure);
        return ExitCode::Failure;
    case Kind::StoppedBeforeWrite:
        Console::out(QStringLiteral("Остановлено до записи."));
        return ExitCode::Stopped;
    case Kind::StoppedAfterWrite:
        Console::out(QStringLiteral("Остановлено: данные записаны в станцию, но не проверены."));
        return ExitCode::Stopped;
    case Kind::Aborted:
        if (outcome.step == SequenceStep::Write && outcome.writeStarted)
            Console::out(QStringLiteral("Прервано при записи, на байте %1 из %2: станция записана не полностью.")
                             .arg(outcome.sent)
                             .arg(outcome.total));
        else
            Console::out(QStringLiteral("Прервано."));
        return ExitCode::Stopped;
    default:
        return std::nullopt;
    }
}

} // namespace Commands

namespace {

int writeEnd(const SequenceOutcome &outcome)
{
    if (const auto code = Commands::commonEnd(outcome))
        return *code;
    const bool verifying = outcome.step == SequenceStep::Verify;
    switch (outcome.kind) {
    case Kind::Done: {
        const QString done = verifying
                                 ? QStringLiteral("Данные записаны в станцию, прочитаны и совпадают с записанными.")
                                 : QStringLiteral("Данные записаны в станцию.");
        // The stop came while the last step ran to its end.
        if (StopSignals::requested()) {
            Console::out(QStringLiteral("Остановлено: ") + done.left(1).toLower() + done.mid(1));
            return ExitCode::Stopped;
        }
        Console::out(done);
        return ExitCode::Done;
    }
    case Kind::NoAnswer:
        if (!verifying) {
            Console::out(Commands::noAnswerText(outcome));
            return ExitCode::NoAnswer;
        }
        // The write itself completed: only the reading back failed.
        Console::out(QStringLiteral("Данные записаны в станцию, но прочитать их для сверки не удалось: %1.")
                         .arg(noAnswerWords(outcome)));
        return ExitCode::NoAnswer;
    case Kind::Refused:
        Console::out(outcome.refusal ? outcome.refusal->text : Commands::noAnswerText(outcome));
        return verifying ? ExitCode::Differs : ExitCode::Refused;
    case Kind::Differs:
        Console::out(QStringLiteral("Станция хранит не то, что записано: ")
                     + WriteVerification::summary(outcome.differences));
        return ExitCode::Differs;
    default:
        Console::err(outcome.failure);
        return ExitCode::Failure;
    }
}

} // namespace

namespace Commands {

int read(const QStringList &arguments)
{
    CommandLine line(QStringLiteral("read"),
                     QStringLiteral("\"Чтение данных \" из станции на порту PORT; прочитанное сохраняется в FILE\n"
                                    "так, как его записала бы \"Запись в файл\", и копией в архив чтений.\n"
                                    "FILE проверяется до обращения к станции (папка есть и принимает файл, имя\n"
                                    "допустимо). Ход передачи - на stderr. Код выхода: 0 - прочитано, 1 - ответ\n"
                                    "станции отвергнут (больше 99 каналов), 3 - станция не ответила или перестала\n"
                                    "отвечать, 5 - остановлено %1 (начатое чтение доводится до конца, FILE\n"
                                    "сохраняется).")
                         .arg(HelpWords::stoppedBy()));
    line.addPortOption();
    line.addOption(QCommandLineOption(QStringLiteral("output"), QStringLiteral("Файл каналов, который будет записан."),
                                      QStringLiteral("FILE")),
                   true);
    if (!line.parse(arguments))
        return ExitCode::Done;
    const PortArgument port = PortArgument::parse(line.value(QStringLiteral("port")));
    const QString output = line.value(QStringLiteral("output"));
    requireSavable(output);

    StationPlan plan;
    plan.write = false;
    plan.verify = false;
    plan.archiveFolder = archiveFolder();
    const SequenceOutcome outcome = runOnStation(plan, port);
    if (const auto code = commonEnd(outcome))
        return *code;
    if (outcome.kind == Kind::NoAnswer) {
        Console::out(noAnswerText(outcome));
        return ExitCode::NoAnswer;
    }
    if (outcome.kind == Kind::Refused) {
        Console::out(outcome.refusal ? outcome.refusal->text : noAnswerText(outcome));
        return ExitCode::Refused;
    }
    // The copy comes first, so the station's data are kept even when the
    // output file cannot be written.
    if (outcome.kind == Kind::ArchiveFailed)
        Console::err(ReadArchive::failureMessage(outcome.failure));
    else
        Console::err(QStringLiteral("Копия в архиве чтений: %1").arg(QDir::toNativeSeparators(outcome.archiveCopy)));

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

int write(const QStringList &arguments)
{
    CommandLine line(QStringLiteral("write"),
                     QStringLiteral("Как check, затем \"Запись данных \" в станцию на порту PORT.\n"
                                    "С --verify затем читает станцию и сравнивает прочитанное с записанным;\n"
                                    "порт открыт и заблокирован от записи до конца проверки.\n"
                                    "Ход передачи - на stderr, итог - одной строкой на stdout.\n"
                                    "Код выхода: 0 - записано (и проверено), 1 - отказ проверки,\n"
                                    "3 - станция не ответила, 4 - станция хранит не то, что записано,\n"
                                    "5 - остановлено %1: начатая запись\n"
                                    "доводится до конца, проверка не начинается; %2 прерывает сразу.%3")
                         .arg(HelpWords::stoppedBy(), HelpWords::secondStop(), HelpWords::stopNoteLine()));
    line.addChannelFileArgument();
    line.addPortOption();
    line.addOption(
        QCommandLineOption(QStringLiteral("verify"), QStringLiteral("Прочитать станцию после записи и сравнить.")));
    if (!line.parse(arguments))
        return ExitCode::Done;
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
