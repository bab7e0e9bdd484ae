#include "commandline.h"
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
#include <QEventLoop>
#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

namespace {

QString description()
{
    return QStringLiteral("Программирует партию станций одним планом каналов, все одновременно, по станции на порт.\n"
                          "FILE загружается и проверяется один раз, как в check; при отказе проверки ни один порт\n"
                          "не открывается (код 1). Затем для каждого порта, в своём потоке:\n"
                          "  1. чтение станции; прочитанное - в архив чтений (копия того, что станция хранила;\n"
                          "     станция, копию которой сохранить не удалось, не записывается);\n"
                          "  2. запись проверенных данных с Id этой станции;\n"
                          "  3. проверочное чтение и сравнение, как write --verify;\n"
                          "  4. с --report-dir - протокол испытаний DIR/<серийный номер>.docx (\" (2)\" и т. д.,\n"
                          "     если имя занято) с серийным номером и Id станции в тексте установок.\n"
                          "Станция, на которой шаг не удался, останавливается на нём; остальные продолжают.\n"
                          "С --id-from NNNN станция k-го --port (считая от 0) получает Id NNNN + k (четыре\n"
                          "десятичные цифры); без него все станции получают Id из файла.\n"
                          "Одно устройство, названное дважды (%1), неверный\n"
                          "--id-from, Id больше 9999, COMn без устройства или папка --report-dir, которую нельзя\n"
                          "создать, в которую нельзя записать файл или в которой нет места для протоколов, -\n"
                          "отказ до открытия портов (код 2).\n"
                          "Ход работы - на stderr, по строке на порт (порт, шаг, процент), в конце - пути копий\n"
                          "в архиве чтений и протоколов. Итог - на stdout, по строке на порт в порядке --port,\n"
                          "через табуляцию: порт, серийный номер (или \"-\"), Id, результат.\n"
                          "Порт станции открывается и блокируется один раз на всю её работу; если при проверочном\n"
                          "чтении отвечает станция с другим серийным номером - \"станция сменилась: ...\" (код 4),\n"
                          "протокол не пишется.\n"
                          "Остановка %2: новые станции и шаги\n"
                          "не начинаются, начатая запись доводится до конца; строка порта говорит, где он\n"
                          "остановлен (\"остановлено до записи\", \"остановлено: записано, не проверено\"), код 5.\n"
                          "Затем %3 прерывает сразу; строки станций, записанных не полностью,\n"
                          "говорят об этом.%4\n"
                          "Код выхода: 0 - все станции записаны и проверены, иначе наибольший код среди станций:\n"
                          "1 - ответ станции отвергнут, 2 - ошибка порта или файла, 3 - станция не ответила,\n"
                          "4 - станция хранит не то, что записано, или сменилась, 5 - остановлено.")
        .arg(HelpWords::twoNamesOfOneDevice(), HelpWords::stoppedBy(), HelpWords::secondStop(),
             HelpWords::stopNoteLine());
}

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
std::vector<FleetResult> runAll(std::vector<StationPlan> plans, FleetBoard &board, const QStringList &names)
{
    BatchRunner runner;
    QEventLoop loop;
    QObject::connect(&runner, &BatchRunner::stopDeferred, &loop,
                     [&board, &names](int station, bool writing, qint64 remainingMs) {
                         board.note(stopNotice(QStringLiteral("на ") + names.at(station), writing, remainingMs));
                     });
    QObject::connect(&runner, &BatchRunner::stepStarted, &loop, [&board](int station, int step, const QString &) {
        board.show(station, BatchStation::stepName(SequenceStep(step)), 0);
    });
    QObject::connect(&runner, &BatchRunner::progress, &loop,
                     [&board](int station, int percent) { board.showPercent(station, percent); });
    QObject::connect(&runner, &BatchRunner::stationFinished, &loop, [&board, &runner](int station) {
        const SequenceOutcome &outcome = runner.outcomes()[std::size_t(station)];
        board.show(station,
                   outcome.kind == SequenceOutcome::Kind::Done
                       ? OutcomeWords::gaugeText(outcome)
                       : OutcomeWords::text(outcome, OutcomeWords::Voice::BatchLine),
                   -1);
    });
    QObject::connect(&runner, &BatchRunner::finished, &loop, &QEventLoop::quit, Qt::QueuedConnection);
    runner.start(std::move(plans));
    loop.exec();
    std::vector<FleetResult> results;
    for (const SequenceOutcome &outcome : runner.outcomes())
        results.push_back(FleetStation::result(outcome));
    return results;
}

} // namespace

namespace Commands {

int fleet(const QStringList &arguments)
{
    CommandLine line(QStringLiteral("fleet"), description());
    line.addChannelFileArgument();
    line.addOption(
        QCommandLineOption(QStringLiteral("port"),
                           QStringLiteral("Порт станции, по одному на станцию: %1").arg(HelpWords::portValue()),
                           QStringLiteral("PORT")),
        true, true);
    line.addOption(QCommandLineOption(QStringLiteral("id-from"), QStringLiteral("Id первой станции, четыре цифры."),
                                      QStringLiteral("NNNN")));
    line.addOption(QCommandLineOption(QStringLiteral("report-dir"), QStringLiteral("Папка для протоколов станций."),
                                      QStringLiteral("DIR")));
    line.addOption(QCommandLineOption(
        QStringLiteral("serial"),
        QStringLiteral("Серийный номер протокола (по умолчанию %1).").arg(ReportDocument::defaultSerial()),
        QStringLiteral("TEXT"), ReportDocument::defaultSerial()));
    if (!line.parse(arguments))
        return ExitCode::Done;

    const QList<BatchChoice::Port> ports =
        FleetPorts::resolve(line.values(QStringLiteral("port")), Paths::optionsFile());
    const std::optional<QStringList> own = ownIds(line, ports.size());
    const QString reportDir = line.value(QStringLiteral("report-dir"));
    if (line.isSet(QStringLiteral("report-dir")) && reportDir.isEmpty())
        throw UsageError(QStringLiteral("Пустое значение параметра --report-dir"));

    const QString archive = archiveFolder();
    // Checked once, here: the check rewrites MyTemp.ini, which no thread may
    // share.
    AppState checked;
    if (!loadPassingCheck(line.argument(0), checked))
        return ExitCode::Refused;
    // Without --id-from the file's Id stands for all as the file spells it.
    const QStringList ids = own.value_or(QStringList(ports.size(), FieldCoding::idText(checked.image.idCode)));

    std::unique_ptr<BatchReports> reports;
    if (!reportDir.isEmpty()) {
        reports = std::make_unique<BatchReports>(reportDir, line.value(QStringLiteral("serial")));
        reports->prepare(ports.size());
    }
    // Made here once rather than by every thread at the same moment; a
    // folder that cannot be made fails each station's copy, and so its write.
    QDir().mkpath(archive);
    const TransferStop &stop = StopSignals::install();
    std::vector<StationPlan> plans;
    QStringList names;
    for (qsizetype k = 0; k < ports.size(); ++k) {
        plans.push_back(BatchStation::plan(own ? BatchStation::withId(checked, ids.at(k)) : checked, ports.at(k).device,
                                           Paths::optionsFile(), archive, reports.get(), &stop));
        names.append(ports.at(k).name);
    }

    FleetBoard board(names, Console::errIsTerminal());
    const std::vector<FleetResult> results = runAll(std::move(plans), board, names);

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
    if (stop.stopRequested())
        exitCode = ExitCode::Stopped;
    for (std::size_t k = 0; k < results.size(); ++k) {
        const qsizetype at = static_cast<qsizetype>(k);
        Console::out(QStringList{names.at(at), results[k].serial, ids.at(at), results[k].text}.join(u'\t'));
    }
    return exitCode;
}

} // namespace Commands
