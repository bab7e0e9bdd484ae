#pragma once

#include "link/portsearch.h"
#include "transfer/stationsequence.h"

#include <QByteArray>
#include <QObject>
#include <functional>
#include <memory>

class QThread;

// One transfer on a worker thread: a station's sequence (a single read or
// write is a sequence of one step), or the "USB" search. It reports by
// signals, queued to the thread that made it, and owns everything its
// thread touches (plan, stop request, outcome), so whoever started it may go
// on with its own work, and a window may close while it ends: the job's
// destructor asks it to stop and waits for its thread.
class TransferJob : public QObject
{
    Q_OBJECT
public:
    // A station's sequence. A plan without a stop request gets one of the
    // job's own.
    explicit TransferJob(StationPlan plan, QObject *parent = nullptr);
    // The "USB" search over the ports of the options file.
    TransferJob(QString optionsFile, SerialLinkFactory factory, PortSearchTimings timings, QObject *parent = nullptr);
    // Stops as "Остановить" does (no new step; a write under way runs to its
    // end) and waits for the thread.
    ~TransferJob() override;

    void start();
    bool isRunning() const { return m_running; }
    // The first request lets no new step begin; the second ends the transfer
    // at once.
    void requestStop();

    // After finished(): what the sequence came to, or the port the search
    // found (0: none).
    const SequenceOutcome &outcome() const { return m_outcome; }
    std::uint8_t foundPort() const { return m_foundPort; }
    // The port found, named with its device ("COM5 — USB-SERIAL CH340").
    const PortEntry &foundEntry() const { return m_foundEntry; }

signals:
    void stepStarted(SequenceStep step, const QString &serial);
    void progress(const TransferProgress &progress);
    // A read's reply as far as it came, where a read shows it.
    void received(SequenceStep step, const QByteArray &reply);
    // A stop was asked while a write or read runs on to its end: about
    // `remainingMs` of it are left.
    void stopDeferred(bool writing, qint64 remainingMs);
    void finished();

private:
    class Events;

    StationPlan m_plan;
    std::shared_ptr<TransferStop> m_stop;
    std::unique_ptr<QThread> m_thread;
    std::function<void()> m_body;
    SequenceOutcome m_outcome;
    std::uint8_t m_foundPort = 0;
    PortEntry m_foundEntry;
    bool m_running = false;
};
