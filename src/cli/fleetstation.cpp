#include "fleetstation.h"

#include "exitcodes.h"
#include "fleetreports.h"
#include "files/profile.h"
#include "files/readarchive.h"
#include "image/fieldcoding.h"
#include "link/linktexts.h"
#include "table/settingstext.h"
#include "transfer/stationsequence.h"
#include "transfer/writeverification.h"

namespace FleetStation {

QString readStep()
{
    return QStringLiteral("чтение");
}
QString writeStep()
{
    return QStringLiteral("запись");
}
QString verifyStep()
{
    return QStringLiteral("проверка");
}
QString reportStep()
{
    return QStringLiteral("протокол");
}

namespace {

// What the transfer dialog would show of this station's transfers, passed
// on as the running step and its percent done. The read's gauge counts
// down, so it is turned round.
class StepProgress final : public TransferObserver
{
public:
    explicit StepProgress(const FleetProgress &progress) : m_progress(progress) {}

    void begin(SequenceStep step)
    {
        static const QString names[] = {readStep(), writeStep(), verifyStep(), reportStep()};
        m_step = names[int(step)];
        m_countsDown = step == SequenceStep::BackUp || step == SequenceStep::Verify;
        m_progress(m_step, 0);
    }

    // The outcomes of the read and the write say what the status showed.
    void setStatus(const QString &) override {}
    void setProgress(int value) override { m_progress(m_step, m_countsDown ? 100 - value : value); }
    void setButtonEnabled(TransferButton, bool) override {}
    void setSearchCaption(const QString &) override {}
    void clearPortButtons() override {}
    void keepAlive() override {}
    // The device is always named, so the prompt never comes.
    std::optional<PortEntry> choosePort(const QList<PortEntry> &) override { return std::nullopt; }

private:
    const FleetProgress &m_progress;
    QString m_step;
    bool m_countsDown = false;
};

// A copy of the state whose settings text says `value` for `key`.
AppState withSetting(const AppState &state, SettingsText::Key key, const QString &value)
{
    AppState copy = state;
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

// The station's line and exit code for its outcome.
void word(const SequenceOutcome &outcome, FleetResult &result)
{
    using Kind = SequenceOutcome::Kind;
    const QString written = QStringLiteral("записано и проверено");
    const auto set = [&result](int code, const QString &text) {
        result.exitCode = code;
        result.text = text;
    };
    const auto atByte = [&outcome] {
        return QStringLiteral(", на байте %1 из %2").arg(outcome.sent).arg(outcome.total);
    };
    switch (outcome.kind) {
    case Kind::Done:
        return set(ExitCode::Done, written);
    case Kind::NoAnswer:
        if (outcome.step != SequenceStep::Write)
            return set(ExitCode::NoAnswer, noAnswer(outcome.step));
        // The last byte sent is the one the station did not answer.
        return set(ExitCode::NoAnswer,
                   noAnswer(outcome.step) + (outcome.writeStarted ? atByte() : QStringLiteral(", ничего не записано")));
    case Kind::Refused: {
        const QString reason = outcome.refusal ? outcome.refusal->text : QString();
        if (outcome.step == SequenceStep::Verify)
            return set(ExitCode::Differs,
                       QStringLiteral("ответ станции отвергнут %1: %2").arg(during(outcome.step), reason));
        if (outcome.step == SequenceStep::Write)
            return set(ExitCode::Refused, reason);
        return set(ExitCode::Refused, QStringLiteral("ответ станции отвергнут: %1").arg(reason));
    }
    case Kind::Differs:
        return set(ExitCode::Differs, QStringLiteral("станция хранит не то, что записано: ")
                                          + WriteVerification::summary(outcome.differences));
    case Kind::StationChanged:
        return set(ExitCode::Differs, QStringLiteral("станция сменилась: до записи прочитана %1, после записи - %2; "
                                                     "протокол не записан")
                                          .arg(outcome.serial, outcome.serialBack));
    case Kind::Failure:
        return set(ExitCode::Failure, QStringLiteral("ошибка %1: %2").arg(during(outcome.step), outcome.failure));
    case Kind::ArchiveFailed:
        return set(ExitCode::Failure,
                   ReadArchive::failureMessage(outcome.failure) + QStringLiteral("; станция не записана"));
    case Kind::ReportFailed:
        // A report that cannot be written leaves the station written and verified.
        return set(ExitCode::Failure,
                   written + QStringLiteral("; ошибка %1: %2").arg(during(outcome.step), outcome.failure));
    case Kind::StoppedBeforeWrite:
        return set(ExitCode::Stopped, QStringLiteral("остановлено до записи"));
    case Kind::StoppedAfterWrite:
        return set(ExitCode::Stopped, QStringLiteral("остановлено: записано, не проверено"));
    case Kind::StoppedBeforeReport:
        return set(ExitCode::Stopped, written + QStringLiteral("; остановлено до протокола"));
    case Kind::Aborted:
        if (outcome.step == SequenceStep::Write && outcome.writeStarted)
            return set(
                ExitCode::Stopped,
                QStringLiteral("прервано %1%2: станция записана не полностью").arg(during(outcome.step), atByte()));
        return set(ExitCode::Stopped, QStringLiteral("прервано %1").arg(during(outcome.step)));
    }
}

} // namespace

FleetResult run(const FleetJob &job, const FleetProgress &progress)
{
    StationPlan plan;
    plan.link.optionsFile = job.optionsFile;
    plan.link.device = job.device;
    plan.link.stop = job.stop;
    plan.state = job.state;
    plan.archiveFolder = job.archiveFolder;
    if (FleetReports *reports = job.reports) {
        // The report shows the station it was made for.
        plan.report = [reports](const AppState &written, const QString &serial) {
            return reports->save(withSetting(written, SettingsText::Key::Serial, serial), serial);
        };
    }
    StepProgress view(progress);
    const SequenceOutcome outcome = StationSequence::run(plan, view, [&view](SequenceStep step) { view.begin(step); });
    FleetResult result;
    if (!outcome.serial.isEmpty())
        result.serial = outcome.serial;
    result.archiveCopy = outcome.archiveCopy;
    result.report = outcome.report;
    word(outcome, result);
    return result;
}

AppState withId(const AppState &checked, const QString &id)
{
    AppState state = withSetting(checked, SettingsText::Key::Id, id);
    state.image.idCode = FieldCoding::idCode(id).value_or(state.image.idCode);
    return state;
}

} // namespace FleetStation
