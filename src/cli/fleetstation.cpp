#include "fleetstation.h"

#include "exitcodes.h"
#include "fleetreports.h"
#include "portargument.h"
#include "stationread.h"
#include "writeverification.h"
#include "common/platformerror.h"
#include "files/profile.h"
#include "files/readarchive.h"
#include "image/fieldcoding.h"
#include "link/linktexts.h"
#include "link/stationreader.h"
#include "link/stationwriter.h"
#include "link/transferlink.h"
#include "table/settingstext.h"

#include <QDateTime>

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

    void begin(const QString &step, bool countsDown)
    {
        m_step = step;
        m_countsDown = countsDown;
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

StationRead readStation(const FleetJob &job, AppState &state, StepProgress &progress)
{
    return StationRead::run(state, PortArgument{0, job.device}, progress, job.optionsFile);
}

WriteOutcome writeStation(const FleetJob &job, StepProgress &progress, bool &lineBusy)
{
    TransferLink link(progress, job.optionsFile);
    link.setDevice(job.device);
    const WriteOutcome outcome = StationWriter::write(job.state, link);
    lineBusy = link.lineStayedBusy();
    return outcome;
}

QString noAnswer(const QString &during)
{
    return QStringLiteral("нет ответа (%1) %2").arg(LinkTexts::noAnswer(), during);
}

// A copy of the state whose settings text says `value` for `key`.
AppState withSetting(const AppState &state, SettingsText::Key key, const QString &value)
{
    AppState copy = state;
    Profile settings(copy.settingsLines);
    settings.setValue(SettingsText::sectionName(), SettingsText::name(key), value);
    copy.settingsLines = settings.lines();
    return copy;
}

class Run
{
public:
    Run(const FleetJob &job, const FleetProgress &progress) : m_job(job), m_progress(progress) {}

    FleetResult go()
    {
        try {
            if (backUp() && write() && verify())
                report();
        } catch (const PlatformError &e) {
            failed(e.text());
        } catch (const std::exception &e) {
            failed(QString::fromLocal8Bit(e.what()));
        }
        return m_result;
    }

private:
    void step(const QString &name, const QString &during, bool countsDown)
    {
        m_during = during;
        m_progress.begin(name, countsDown);
    }
    // A failure of the platform (the port, a file) ends the step; a report
    // that cannot be written leaves the station written and verified.
    void failed(const QString &reason)
    {
        QString text = QStringLiteral("ошибка %1: %2").arg(m_during, reason);
        if (!m_result.text.isEmpty())
            text.prepend(m_result.text + QStringLiteral("; "));
        stop(ExitCode::Failure, text);
    }
    bool stop(int exitCode, const QString &text)
    {
        m_result.exitCode = exitCode;
        m_result.text = text;
        return false;
    }

    // The whole station read into `into`. A station that does not answer ends
    // the run, and so does a refused reply: with `refusedCode` and
    // `refusedText`, whose last place takes the reason.
    bool readWhole(AppState &into, StationRead &reading, int refusedCode, const QString &refusedText)
    {
        reading = readStation(m_job, into, m_progress);
        if (const auto invalid = reading.invalidReply())
            return stop(refusedCode, QStringLiteral("ответ станции недопустим %1: %2")
                                         .arg(m_during, invalid->section(QStringLiteral(": "), 1)));
        if (reading.outcome == StationReader::Outcome::NoAnswer)
            return stop(ExitCode::NoAnswer, noAnswer(m_during) + reading.noAnswerDetail());
        if (reading.outcome == StationReader::Outcome::Refused)
            return stop(refusedCode, refusedText.arg(reading.refusal ? reading.refusal->text : QString()));
        return true;
    }

    // The station's memory, kept before anything is written over it. A
    // station whose copy cannot be kept is not written.
    bool backUp()
    {
        step(readStep(), QStringLiteral("при чтении"), true);
        AppState held;
        StationRead reading;
        if (!readWhole(held, reading, ExitCode::Refused, QStringLiteral("ответ станции отвергнут: %1")))
            return false;
        const auto &header = held.image.header;
        m_result.serial = FieldCoding::serialText(header[RadioImage::Serial0], header[RadioImage::Serial1],
                                                  header[RadioImage::Serial2]);
        try {
            m_result.archiveCopy = ReadArchive::store(held, m_job.archiveFolder, QDateTime::currentDateTime());
        } catch (const PlatformError &e) {
            return stop(ExitCode::Failure,
                        ReadArchive::failureMessage(e.text()) + QStringLiteral("; станция не записана"));
        }
        return true;
    }

    bool write()
    {
        step(writeStep(), QStringLiteral("при записи"), false);
        bool lineBusy = false;
        const WriteOutcome outcome = writeStation(m_job, m_progress, lineBusy);
        const AppState &state = m_job.state;
        switch (outcome.kind) {
        case WriteOutcome::Kind::Completed:
            return true;
        case WriteOutcome::Kind::NotStarted:
            return stop(ExitCode::NoAnswer,
                        noAnswer(m_during) + (lineBusy ? busyLineText() : QStringLiteral(", ничего не записано")));
        case WriteOutcome::Kind::BrokenOff:
            // The last byte sent is the one the station did not answer.
            return stop(ExitCode::NoAnswer,
                        noAnswer(m_during)
                            + QStringLiteral(", на байте %1 из %2")
                                  .arg(outcome.sent)
                                  .arg(1 + state.image.writeOrder(state.moduleCode, state.bandCode).size()));
        case WriteOutcome::Kind::NotChecked:
            return stop(ExitCode::Refused, outcome.refusal ? outcome.refusal->text : QString());
        case WriteOutcome::Kind::PortFailure:
            break;
        }
        return stop(ExitCode::Failure, QStringLiteral("ошибка %1: %2").arg(m_during, outcome.failure));
    }

    // As "write --verify" compares: every written byte against the station's
    // value of the same field.
    bool verify()
    {
        step(verifyStep(), QStringLiteral("при проверочном чтении"), true);
        AppState back;
        StationRead reading;
        if (!readWhole(back, reading, ExitCode::Differs,
                       QStringLiteral("ответ станции отвергнут %1: %2").arg(m_during)))
            return false;
        const AppState &written = m_job.state;
        const QStringList differences = WriteVerification::differences(
            written.image.writeOrder(written.moduleCode, written.bandCode), reading.reply);
        if (!differences.isEmpty())
            return stop(ExitCode::Differs, QStringLiteral("станция хранит не то, что записано: ")
                                               + WriteVerification::summary(differences));
        m_result.text = QStringLiteral("записано и проверено");
        return true;
    }

    void report()
    {
        if (!m_job.reports)
            return;
        step(reportStep(), QStringLiteral("при записи протокола"), false);
        // The report shows the station it was made for.
        m_result.report =
            m_job.reports->save(withSetting(m_job.state, SettingsText::Key::Serial, m_result.serial), m_result.serial);
        m_progress.setProgress(100);
    }

    const FleetJob &m_job;
    StepProgress m_progress;
    FleetResult m_result;
    QString m_during;
};

} // namespace

FleetResult run(const FleetJob &job, const FleetProgress &progress)
{
    return Run(job, progress).go();
}

AppState withId(const AppState &checked, const QString &id)
{
    AppState state = withSetting(checked, SettingsText::Key::Id, id);
    state.image.idCode = FieldCoding::idCode(id).value_or(state.image.idCode);
    return state;
}

} // namespace FleetStation
