#pragma once

#include "transfer/stationsequence.h"

#include <QObject>
#include <memory>
#include <vector>

class TransferJob;

// Runs the stations of a batch at once, each as a job on a thread of its
// own with its own port and its own copy of the plan. The runner owns what
// those threads share (the stop request; the reports through the plans), so
// nothing they use goes before them: its destructor stops the batch as
// "Остановить" does and waits for every station. What they do reaches the
// thread that made the runner as queued signals (stations counted from 0 in
// the order given).
class BatchRunner : public QObject
{
    Q_OBJECT
public:
    explicit BatchRunner(QObject *parent = nullptr);
    ~BatchRunner() override;

    // Starts every plan, all stopped by one request: `stop` when given (the
    // command line's signals), else one of the runner's own. The outcomes
    // are kept until the next start.
    void start(std::vector<StationPlan> plans, std::shared_ptr<TransferStop> stop = nullptr);
    bool isRunning() const { return m_running > 0; }
    // No station begins a new step; a write under way runs to its end.
    void requestStop();
    bool stopRequested() const;
    const std::vector<SequenceOutcome> &outcomes() const { return m_outcomes; }

signals:
    // A step begins; `serial` is the station's as the backup read found it
    // (empty before).
    void stepStarted(int station, int step, const QString &serial);
    // The running step's share of its bytes done, 0..100.
    void progress(int station, int percent);
    // A stop was asked while the station's write or read runs on to its end
    // (LinkEvents::stopDeferred).
    void stopDeferred(int station, bool writing, qint64 remainingMs);
    void stationFinished(int station);
    void finished();

private:
    std::shared_ptr<TransferStop> m_stop;
    std::vector<std::unique_ptr<TransferJob>> m_jobs;
    std::vector<SequenceOutcome> m_outcomes;
    int m_running = 0;
};
