#include "batch/batchrunner.h"

#include "batch/batchprogress.h"
#include "link/transferobserver.h"

namespace {

// What the transfer dialog would show of a station's transfers, passed on
// as the running step's percent done.
class StepProgress final : public TransferObserver
{
public:
    StepProgress(BatchRunner &runner, int station, int channels)
        : m_runner(runner), m_station(station), m_progress(channels)
    {
    }

    void begin(SequenceStep step)
    {
        m_progress.begin(step);
        m_last = -1;
    }

    // The outcomes of the read and the write say what the status showed.
    void setStatus(const QString &) override {}
    void setProgress(int value) override
    {
        const int percent = m_progress.stepPercent(value);
        if (percent == m_last)
            return;
        m_last = percent;
        emit m_runner.progress(m_station, percent);
    }
    void setButtonEnabled(TransferButton, bool) override {}
    void setSearchCaption(const QString &) override {}
    void clearPortButtons() override {}
    void keepAlive() override {}
    void stopDeferred(bool writing, qint64 remainingMs) override
    {
        emit m_runner.stopDeferred(m_station, writing, remainingMs);
    }
    // The device is always named, so the prompt never comes.
    std::optional<PortEntry> choosePort(const QList<PortEntry> &) override { return std::nullopt; }

private:
    BatchRunner &m_runner;
    int m_station;
    BatchProgress m_progress;
    int m_last = -1;
};

} // namespace

BatchRunner::BatchRunner(QObject *parent) : QObject(parent) {}

BatchRunner::~BatchRunner()
{
    for (const auto &thread : m_threads)
        thread->wait();
}

void BatchRunner::start(std::vector<StationPlan> plans)
{
    for (const auto &thread : m_threads)
        thread->wait();
    m_threads.clear();
    m_plans = std::move(plans);
    m_outcomes.assign(m_plans.size(), SequenceOutcome());
    m_running = int(m_plans.size());
    for (std::size_t i = 0; i < m_plans.size(); ++i) {
        const int station = int(i);
        std::unique_ptr<QThread> thread(QThread::create([this, i, station] {
            StepProgress view(*this, station, m_plans[i].state.image.channelCount());
            m_outcomes[i] = StationSequence::run(m_plans[i], view, [&](SequenceStep step, const QString &serial) {
                view.begin(step);
                emit stepStarted(station, int(step), serial);
                emit progress(station, 0);
            });
        }));
        // The outcome is read on this thread once the station's thread is done.
        connect(thread.get(), &QThread::finished, this, [this, station] {
            emit stationFinished(station);
            if (--m_running == 0)
                emit finished();
        });
        m_threads.push_back(std::move(thread));
    }
    if (m_plans.empty()) {
        emit finished();
        return;
    }
    for (const auto &thread : m_threads)
        thread->start();
}
