#include "transfer/transferjob.h"

#include <QThread>

// The sequence's events, as the job's signals.
class TransferJob::Events final : public TransferEvents
{
public:
    explicit Events(TransferJob &job) : m_job(job) {}

    void stepStarted(SequenceStep step, const QString &serial) override
    {
        m_step = step;
        emit m_job.stepStarted(step, serial);
    }
    void written(qsizetype sent, qsizetype total, bool records) override
    {
        emit m_job.progress(TransferProgress{m_step, sent, total, records});
    }
    void received(const QByteArray &reply) override
    {
        emit m_job.received(m_step, reply);
        emit m_job.progress(TransferProgress::ofReply(m_step, reply));
    }
    void stopDeferred(bool writing, qint64 remainingMs) override { emit m_job.stopDeferred(writing, remainingMs); }

private:
    TransferJob &m_job;
    SequenceStep m_step = SequenceStep::BackUp;
};

TransferJob::TransferJob(StationPlan plan, QObject *parent) : QObject(parent), m_plan(std::move(plan))
{
    if (!m_plan.link.stop)
        m_plan.link.stop = std::make_shared<TransferStop>();
    m_stop = m_plan.link.stop;
    m_body = [this] {
        Events events(*this);
        m_outcome = StationSequence::run(m_plan, events);
    };
}

TransferJob::TransferJob(QString optionsFile, SerialLinkFactory factory, PortSearchTimings timings, QObject *parent)
    : QObject(parent), m_stop(std::make_shared<TransferStop>())
{
    m_body = [this, optionsFile = std::move(optionsFile), factory = std::move(factory), timings] {
        m_foundPort = PortSearch::run(optionsFile, factory, timings);
        if (m_foundPort != 0)
            m_foundEntry = PortSearch::found(optionsFile, m_foundPort);
    };
}

TransferJob::~TransferJob()
{
    if (m_thread) {
        // One request, also when others share it: a second would cut a write.
        // A job that has ended asks nothing of those it shares the request with.
        if (!m_thread->isFinished() && !m_stop->stopRequested())
            m_stop->request();
        m_thread->wait();
    }
}

void TransferJob::start()
{
    qRegisterMetaType<SequenceStep>();
    qRegisterMetaType<TransferProgress>();
    m_running = true;
    m_thread.reset(QThread::create(m_body));
    // The outcome is read on this thread once the job's thread is done.
    connect(m_thread.get(), &QThread::finished, this, [this] {
        m_running = false;
        emit finished();
    });
    m_thread->start();
}

void TransferJob::requestStop()
{
    m_stop->request();
}
