#include "batch/batchstation.h"

#include "batch/batchreports.h"
#include "files/profile.h"
#include "files/readarchive.h"
#include "image/fieldcoding.h"
#include "link/linktexts.h"
#include "link/linktimings.h"
#include "table/settingstext.h"
#include "image/stationreply.h"
#include "trace/transfertrace.h"
#include "transfer/writeverification.h"

#include <QRegularExpression>

namespace BatchStation {

namespace {

// A copy of the plan whose settings text says `value` for `key`.
ChannelPlan withSetting(const ChannelPlan &channels, SettingsText::Key key, const QString &value)
{
    ChannelPlan copy = channels;
    Profile settings(copy.settingsLines);
    settings.setValue(SettingsText::sectionName(), SettingsText::name(key), value);
    copy.settingsLines = settings.lines();
    return copy;
}

QString during(SequenceStep step)
{
    switch (step) {
    case SequenceStep::BackUp:
        return QStringLiteral("при чтении");
    case SequenceStep::Write:
        return QStringLiteral("при записи");
    case SequenceStep::Verify:
        return QStringLiteral("при проверочном чтении");
    case SequenceStep::Report:
        break;
    }
    return QStringLiteral("при записи протокола");
}

QString noAnswer(SequenceStep step)
{
    return QStringLiteral("нет ответа (%1) %2").arg(LinkTexts::noAnswer(), during(step));
}

QString written()
{
    return QStringLiteral("записано и проверено");
}

// Where a write ended: the last byte sent is the one not answered.
QString atByte(const SequenceOutcome &outcome)
{
    return QStringLiteral(", на байте %1 из %2").arg(outcome.sent).arg(outcome.total);
}

QString refusedText(const SequenceOutcome &outcome)
{
    const QString reason = outcome.refusal ? outcome.refusal->text : QString();
    if (outcome.step == SequenceStep::Verify)
        return QStringLiteral("ответ станции отвергнут %1: %2").arg(during(outcome.step), reason);
    if (outcome.step == SequenceStep::Write)
        return reason;
    return QStringLiteral("ответ станции отвергнут: %1").arg(reason);
}

} // namespace

StationPlan plan(const ChannelPlan &channels, const StationData &data, const QString &device,
                 const QString &optionsFile, const QString &archiveFolder, std::shared_ptr<BatchReports> reports,
                 std::shared_ptr<TransferStop> stop)
{
    StationPlan plan;
    plan.link.optionsFile = optionsFile;
    plan.link.device = device;
    plan.link.stop = std::move(stop);
    plan.channels = channels;
    plan.data = data;
    plan.archiveFolder = archiveFolder;
    plan.link.traceFolder = TransferTrace::folderBeside(archiveFolder);
    if (reports) {
        // The report shows the station it was made for.
        plan.report = [reports](const ChannelPlan &written, const StationData &bytes, const QString &serial) {
            return reports->save(withSetting(written, SettingsText::Key::Serial, serial), bytes.image.channelCount(),
                                 serial);
        };
    }
    return plan;
}

void setId(StationPlan &plan, const QString &id)
{
    plan.channels = withSetting(plan.channels, SettingsText::Key::Id, id);
    plan.data.image.idCode = FieldCoding::idCode(id).value_or(plan.data.image.idCode);
}

QStringList ids(int first, qsizetype count)
{
    QStringList list;
    for (qsizetype k = 0; k < count; ++k)
        list.append(QStringLiteral("%1").arg(first + k, 4, 10, QLatin1Char('0')));
    return list;
}

QString stepName(SequenceStep step)
{
    switch (step) {
    case SequenceStep::BackUp:
        return QStringLiteral("чтение");
    case SequenceStep::Write:
        return QStringLiteral("запись");
    case SequenceStep::Verify:
        return QStringLiteral("проверка");
    case SequenceStep::Report:
        break;
    }
    return QStringLiteral("протокол");
}

namespace {

QString resultWords(const SequenceOutcome &outcome)
{
    using Kind = SequenceOutcome::Kind;
    switch (outcome.kind) {
    case Kind::Done:
        return written();
    case Kind::NoAnswer:
        if (outcome.lineBusy)
            return noAnswer(outcome.step) + busyLineText(LinkTimings().quietLineBoundMs);
        if (!outcome.failure.isEmpty()) // the reply stopped
            return noAnswer(outcome.step) + QStringLiteral(": ") + outcome.failure;
        if (outcome.step != SequenceStep::Write)
            return noAnswer(outcome.step);
        return noAnswer(outcome.step)
               + (outcome.writeStarted ? atByte(outcome) : QStringLiteral(", ничего не записано"));
    case Kind::Refused:
        return refusedText(outcome);
    case Kind::Differs:
        return QStringLiteral("станция хранит не то, что записано: ") + WriteVerification::summary(outcome.differences);
    case Kind::StationChanged:
        return QStringLiteral("станция сменилась: до записи прочитана %1, после записи - %2; протокол не записан")
            .arg(outcome.serial, outcome.serialBack);
    case Kind::Failure:
        return QStringLiteral("ошибка %1: %2").arg(during(outcome.step), outcome.failure);
    case Kind::ArchiveFailed:
        return ReadArchive::failureMessage(outcome.failure) + QStringLiteral("; станция не записана");
    case Kind::ReportFailed:
        // A report that cannot be written leaves the station written and verified.
        return written() + QStringLiteral("; ошибка %1: %2").arg(during(outcome.step), outcome.failure);
    case Kind::StoppedBeforeWrite:
        return QStringLiteral("остановлено до записи");
    case Kind::StoppedAfterWrite:
        return QStringLiteral("остановлено: записано, не проверено");
    case Kind::StoppedBeforeReport:
        return written() + QStringLiteral("; остановлено до протокола");
    case Kind::Aborted:
        if (outcome.step == SequenceStep::Write && outcome.writeStarted)
            return QStringLiteral("прервано %1%2: станция записана не полностью")
                .arg(during(outcome.step), atByte(outcome));
        return QStringLiteral("прервано %1").arg(during(outcome.step));
    }
    return QString();
}

} // namespace

QString resultText(const SequenceOutcome &outcome)
{
    // A platform's message may break its lines (the account's group and the
    // command that mends it); a station's result is one line of the batch.
    static const QRegularExpression lineBreak(QStringLiteral("\\s*\\n\\s*"));
    return resultWords(outcome).replace(lineBreak, QStringLiteral(" "));
}

bool verified(const SequenceOutcome &outcome)
{
    using Kind = SequenceOutcome::Kind;
    return outcome.kind == Kind::Done || outcome.kind == Kind::ReportFailed
           || outcome.kind == Kind::StoppedBeforeReport;
}

} // namespace BatchStation
