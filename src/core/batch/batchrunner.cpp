#include "batch/batchrunner.h"

#include "batch/batchprogress.h"
#include "transfer/transferjob.h"

BatchRunner::BatchRunner(QObject *parent) : QObject(parent), m_stop(std::make_shared<TransferStop>()) {}

BatchRunner::~BatchRunner()
{
    requestStop();
    m_jobs.clear();
}

void BatchRunner::requestStop()
{
    if (isRunning() && !m_stop->stopRequested())
        m_stop->request();
}

bool BatchRunner::stopRequested() const
{
    return m_stop->stopRequested();
}

void BatchRunner::start(std::vector<StationPlan> plans, std::shared_ptr<TransferStop> stop)
{
    m_jobs.clear();
    m_stop = stop ? std::move(stop) : std::make_shared<TransferStop>();
    m_outcomes.assign(plans.size(), SequenceOutcome());
    m_running = int(plans.size());
    for (std::size_t i = 0; i < plans.size(); ++i) {
        const int station = int(i);
        plans[i].link.stop = m_stop;
        auto job = std::make_unique<TransferJob>(std::move(plans[i]));
        auto counted = std::make_shared<BatchProgress>();
        connect(job.get(), &TransferJob::stepStarted, this,
                [this, station, counted](SequenceStep step, const QString &serial) {
                    counted->begin(step);
                    emit stepStarted(station, int(step), serial);
                    emit progress(station, 0);
                });
        connect(job.get(), &TransferJob::progress, this, [this, station, counted](const TransferProgress &p) {
            emit progress(station, counted->stepPercent(p));
        });
        connect(job.get(), &TransferJob::stopDeferred, this, [this, station](bool writing, qint64 remainingMs) {
            emit stopDeferred(station, writing, remainingMs);
        });
        connect(job.get(), &TransferJob::finished, this, [this, station] {
            m_outcomes[std::size_t(station)] = m_jobs[std::size_t(station)]->outcome();
            emit stationFinished(station);
            if (--m_running == 0)
                emit finished();
        });
        m_jobs.push_back(std::move(job));
    }
    if (m_jobs.empty()) {
        emit finished();
        return;
    }
    for (const auto &job : m_jobs)
        job->start();
}
