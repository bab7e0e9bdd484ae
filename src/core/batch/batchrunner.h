#pragma once

#include "transfer/stationsequence.h"

#include <QObject>
#include <QThread>
#include <memory>
#include <vector>

// Runs the stations of a batch at once, each on a thread of its own with its
// own port and its own copy of the plan; touches nothing shared. What they
// do reaches the thread that made the runner as queued signals (stations
// counted from 0 in the order given), so that thread keeps its event loop.
class BatchRunner : public QObject
{
    Q_OBJECT
public:
    explicit BatchRunner(QObject *parent = nullptr);
    // Waits for the stations still running.
    ~BatchRunner() override;

    // Starts every plan; the outcomes are kept until the next start.
    void start(std::vector<StationPlan> plans);
    bool isRunning() const { return m_running > 0; }
    const std::vector<SequenceOutcome> &outcomes() const { return m_outcomes; }

signals:
    // A step begins; `serial` is the station's as the backup read found it
    // (empty before).
    void stepStarted(int station, int step, const QString &serial);
    // The running step's share done, 0..100 (reads count up as well).
    void progress(int station, int percent);
    // A stop was asked while the station's transfer runs on to its end
    // (TransferObserver::stopDeferred).
    void stopDeferred(int station, bool writing, qint64 remainingMs);
    void stationFinished(int station);
    void finished();

private:
    std::vector<StationPlan> m_plans;
    std::vector<SequenceOutcome> m_outcomes;
    std::vector<std::unique_ptr<QThread>> m_threads;
    int m_running = 0;
};
