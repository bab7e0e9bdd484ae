#include "transfer/stationsequence.h"

#include "common/platformerror.h"
#include "files/readarchive.h"
#include "link/stationlink.h"
#include "link/stationreader.h"
#include "link/stationwriter.h"
#include "transfer/writeverification.h"

#include <QDateTime>
#include <memory>

namespace {

using Kind = SequenceOutcome::Kind;

class Sequence
{
public:
    Sequence(const StationPlan &plan, TransferEvents &events) : m_plan(plan), m_events(events)
    {
        m_outcome.step = plan.backUp ? SequenceStep::BackUp : plan.write ? SequenceStep::Write : SequenceStep::Verify;
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
        if (m_port)
            m_port->close();
        return m_outcome;
    }

private:
    bool aborted() const { return m_plan.link.stop && m_plan.link.stop->abortRequested(); }
    bool stopped() const { return m_plan.link.stop && m_plan.link.stop->stopRequested(); }

    // The step begins on the station's port, opened by the first step.
    void begin(SequenceStep step)
    {
        m_outcome.step = step;
        if (!m_port) {
            auto port = m_plan.link.factory();
            port->open(m_plan.link.resolvedDevice());
            m_port = std::move(port);
            m_link = std::make_unique<StationLink>(*m_port, m_plan.link.timings, m_plan.link.stop.get());
            m_outcome.portOpened = true;
        }
        m_events.stepStarted(step, m_outcome.serial);
    }
    bool end(Kind kind)
    {
        m_outcome.kind = kind;
        return false;
    }

    // A whole read, decoded; nothing with the outcome set when it did not
    // complete.
    std::optional<StationReply> readWhole()
    {
        const ReadOutcome reading = StationReader::read(*m_link, m_events);
        m_outcome.requested = reading.requested;
        switch (reading.kind) {
        case ReadOutcome::Kind::Complete:
            return StationReply::decode(reading.reply, m_plan.channels.stationKind);
        case ReadOutcome::Kind::NoAnswer:
            m_outcome.failure = StationReply::stoppedText(reading.reply).value_or(QString());
            m_outcome.lineBusy = reading.lineBusy;
            end(aborted() ? Kind::Aborted : Kind::NoAnswer);
            return std::nullopt;
        case ReadOutcome::Kind::Refused:
            m_outcome.refusal = reading.refusal;
            end(Kind::Refused);
            return std::nullopt;
        case ReadOutcome::Kind::PortFailure:
            break;
        }
        m_outcome.failure = reading.failure;
        end(aborted() ? Kind::Aborted : Kind::Failure);
        return std::nullopt;
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
        const auto held = readWhole();
        if (!held)
            return false;
        m_outcome.held = *held;
        m_outcome.serial = held->station().serial();
        if (m_plan.archiveFolder.isEmpty())
            return true;
        try {
            m_outcome.archiveCopy =
                ReadArchive::store(held->plan(), m_plan.archiveFolder, QDateTime::currentDateTime());
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
        m_outcome.total = 1 + m_plan.data.writeOrder().size();
        // Once begun, a write runs to its end whatever is asked meanwhile,
        // except to end at once.
        const qint64 startMs = m_link->clockMs();
        const WriteOutcome outcome = StationWriter::write(*m_link, m_plan.data, m_events);
        m_outcome.writeMs = m_link->clockMs() - startMs;
        m_outcome.sent = outcome.sent;
        m_outcome.lineBusy = outcome.lineBusy;
        m_outcome.writeStarted = outcome.kind == WriteOutcome::Kind::Completed
                                 || outcome.kind == WriteOutcome::Kind::BrokenOff
                                 || (outcome.kind == WriteOutcome::Kind::PortFailure && outcome.sent > 1);
        switch (outcome.kind) {
        case WriteOutcome::Kind::Completed:
            return true;
        case WriteOutcome::Kind::NotStarted:
        case WriteOutcome::Kind::BrokenOff:
            return end(aborted() ? Kind::Aborted : Kind::NoAnswer);
        case WriteOutcome::Kind::PortFailure:
            break;
        }
        m_outcome.failure = outcome.failure;
        return end(aborted() ? Kind::Aborted : Kind::Failure);
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
        const auto back = readWhole();
        if (!back)
            return false;
        m_outcome.serialBack = back->station().serial();
        if (m_plan.backUp && m_outcome.serialBack != m_outcome.serial)
            return end(Kind::StationChanged);
        m_outcome.differences = WriteVerification::differences(m_plan.data, back->station());
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
        try {
            m_outcome.report = m_plan.report(m_plan.channels, m_plan.data, m_outcome.serial);
        } catch (const PlatformError &e) {
            m_outcome.failure = e.text();
            end(Kind::ReportFailed);
        }
    }

    const StationPlan &m_plan;
    TransferEvents &m_events;
    std::unique_ptr<SerialLink> m_port;
    std::unique_ptr<StationLink> m_link;
    SequenceOutcome m_outcome;
};

} // namespace

namespace StationSequence {

SequenceOutcome run(const StationPlan &plan, TransferEvents &events)
{
    try {
        return Sequence(plan, events).go();
    } catch (const std::exception &e) {
        SequenceOutcome outcome;
        outcome.kind = Kind::Failure;
        outcome.failure = QString::fromLocal8Bit(e.what());
        return outcome;
    }
}

} // namespace StationSequence
