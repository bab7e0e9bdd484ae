#include "transfer/stationsequence.h"

#include "common/platformerror.h"
#include "files/readarchive.h"
#include "image/fieldcoding.h"
#include "link/heldport.h"
#include "link/stationwriter.h"
#include "link/transferstop.h"
#include "trace/tracerecorder.h"
#include "trace/transfertrace.h"
#include "transfer/stationread.h"
#include "transfer/writeverification.h"

#include <QDateTime>

namespace {

using Kind = SequenceOutcome::Kind;

QString serialOf(const AppState &state)
{
    const auto &header = state.image.header;
    return FieldCoding::serialText(header[RadioImage::Serial0], header[RadioImage::Serial1],
                                   header[RadioImage::Serial2]);
}

class Sequence
{
public:
    Sequence(const StationPlan &plan, TransferObserver &view, const StationSequence::StepStarted &stepStarted,
             const TraceRecorder &trace)
        : m_plan(plan), m_view(view), m_stepStarted(stepStarted), m_port(plan.link.factory)
    {
        // Every step reaches the station through the one held device, and
        // each step's opening of it is in the trace.
        m_link = plan.link;
        m_link.factory = trace.wrap(m_port.factory());
        m_written = plan.state;
        m_written.portNumber = plan.link.portNumber;
    }

    SequenceOutcome go()
    {
        try {
            if (backUp() && write() && verify())
                report();
        } catch (const PlatformError &e) {
            end(aborted() ? Kind::Aborted : Kind::Failure);
            m_outcome.failure = e.text();
        }
        return m_outcome;
    }

private:
    bool aborted() const { return m_plan.link.stop && m_plan.link.stop->abortRequested(); }
    bool stopped() const { return m_plan.link.stop && m_plan.link.stop->stopRequested(); }

    void begin(SequenceStep step)
    {
        m_outcome.step = step;
        if (m_stepStarted)
            m_stepStarted(step, m_outcome.serial);
    }
    bool end(Kind kind)
    {
        m_outcome.kind = kind;
        return false;
    }

    // A whole read into `into`; false with the outcome set when it did not
    // complete.
    bool readWhole(AppState &into)
    {
        const StationRead reading = StationRead::run(into, m_link, m_view);
        switch (reading.outcome) {
        case StationReader::Outcome::Complete:
            return true;
        case StationReader::Outcome::NoAnswer:
            m_outcome.failure = reading.stoppedReply().value_or(QString());
            m_outcome.lineBusy = reading.lineBusy;
            return end(aborted() ? Kind::Aborted : Kind::NoAnswer);
        case StationReader::Outcome::Refused:
            m_outcome.refusal = reading.refusal;
            return end(Kind::Refused);
        }
        return false;
    }

    // The station's memory, kept before anything is written over it. A
    // station whose copy cannot be kept is not written.
    bool backUp()
    {
        if (!m_plan.backUp)
            return true;
        if (stopped())
            return end(Kind::StoppedBeforeWrite);
        begin(SequenceStep::BackUp);
        if (!readWhole(m_outcome.held))
            return false;
        m_outcome.serial = serialOf(m_outcome.held);
        if (m_plan.archiveFolder.isEmpty())
            return true;
        try {
            m_outcome.archiveCopy =
                ReadArchive::store(m_outcome.held, m_plan.archiveFolder, QDateTime::currentDateTime());
        } catch (const PlatformError &e) {
            m_outcome.failure = e.text();
            return end(Kind::ArchiveFailed);
        }
        return true;
    }

    bool write()
    {
        if (!m_plan.write)
            return true;
        if (stopped())
            return end(Kind::StoppedBeforeWrite);
        begin(SequenceStep::Write);
        m_outcome.total = 1 + m_written.image.writeOrder(m_written.moduleCode, m_written.bandCode).size();
        // Once begun, a write runs to its end whatever is asked meanwhile,
        // except to end at once.
        TransferLink link = m_link.link(m_view);
        const WriteOutcome outcome = StationWriter::write(m_written, link);
        m_outcome.sent = outcome.sent;
        m_outcome.writeStarted = outcome.kind == WriteOutcome::Kind::Completed
                                 || outcome.kind == WriteOutcome::Kind::BrokenOff
                                 || (outcome.kind == WriteOutcome::Kind::PortFailure && outcome.sent > 1);
        switch (outcome.kind) {
        case WriteOutcome::Kind::Completed:
            return true;
        case WriteOutcome::Kind::NotStarted:
        case WriteOutcome::Kind::BrokenOff:
            m_outcome.lineBusy = link.lineStayedBusy();
            return end(aborted() ? Kind::Aborted : Kind::NoAnswer);
        case WriteOutcome::Kind::NotChecked:
            m_outcome.refusal = outcome.refusal;
            return end(Kind::Refused);
        case WriteOutcome::Kind::PortFailure:
            m_outcome.failure = outcome.failure;
            return end(aborted() ? Kind::Aborted : Kind::Failure);
        }
        return false;
    }

    // Every written byte against the station's value of the same field, and
    // the station against the one backed up.
    bool verify()
    {
        if (!m_plan.verify)
            return true;
        if (stopped())
            return end(Kind::StoppedAfterWrite);
        begin(SequenceStep::Verify);
        AppState back;
        if (!readWhole(back))
            return false;
        m_outcome.serialBack = serialOf(back);
        if (m_plan.backUp && m_outcome.serialBack != m_outcome.serial)
            return end(Kind::StationChanged);
        m_outcome.differences = WriteVerification::differences(m_written, back);
        if (!m_outcome.differences.isEmpty())
            return end(Kind::Differs);
        return true;
    }

    void report()
    {
        if (!m_plan.report)
            return;
        if (stopped()) {
            end(Kind::StoppedBeforeReport);
            return;
        }
        begin(SequenceStep::Report);
        m_view.setProgress(0);
        try {
            m_outcome.report = m_plan.report(m_written, m_outcome.serial);
        } catch (const PlatformError &e) {
            m_outcome.failure = e.text();
            end(Kind::ReportFailed);
            return;
        }
        m_view.setProgress(100);
    }

    const StationPlan &m_plan;
    TransferObserver &m_view;
    const StationSequence::StepStarted &m_stepStarted;
    HeldPort m_port;
    LinkSetup m_link;
    AppState m_written;
    SequenceOutcome m_outcome;
};

} // namespace

SequenceOutcome StationSequence::run(const StationPlan &plan, TransferObserver &view, const StepStarted &stepStarted)
{
    const TraceRecorder trace(TransferTrace::header(plan));
    SequenceOutcome outcome;
    try {
        outcome = Sequence(plan, view, stepStarted, trace).go();
    } catch (const std::exception &e) {
        outcome = SequenceOutcome();
        outcome.kind = Kind::Failure;
        outcome.failure = QString::fromLocal8Bit(e.what());
    }
    outcome.trace = TransferTrace::keep(trace.trace(TransferTrace::outcomeText(outcome)), plan.link.traceFolder);
    return outcome;
}
