#pragma once

#include "link/readobserver.h"
#include "link/transferobserver.h"
#include "state/appstate.h"

class QObject;

// What a transfer on a worker thread shows, handed to the window's own
// observer on the window's thread by queued calls, in the order made. The
// port prompt waits for the user's answer.
class QueuedTransferObserver final : public TransferObserver
{
public:
    // `context` lives on the window's thread and outlives the transfer.
    QueuedTransferObserver(QObject *context, TransferObserver &target) : m_context(context), m_target(target) {}

    void setStatus(const QString &text) override;
    void setProgress(int value) override;
    void setButtonEnabled(TransferButton button, bool enabled) override;
    void setSearchCaption(const QString &text) override;
    void clearPortButtons() override;
    // The window's thread paints on its own.
    void keepAlive() override {}
    std::optional<PortEntry> choosePort(const QList<PortEntry> &openable) override;

private:
    template <typename Call>
    void post(Call &&call);

    QObject *m_context;
    TransferObserver &m_target;
};

// What a read on a worker thread rebuilds, shown by the window as it
// arrives. The read works on its own copy of the state; at each step the
// window's state takes the copy as it is then (the table only where the
// read says the table changes), then the window's observer is told.
class QueuedReadObserver final : public ReadObserver
{
public:
    QueuedReadObserver(QObject *context, AppState &shown, ReadObserver &target, const AppState &work)
        : m_context(context), m_shown(shown), m_target(target), m_work(work)
    {
    }

    void readStarting() override;
    void readEnded() override;
    void tableChanging() override;
    void tableChanged() override;
    void settingsChanged() override;
    void stationSelected(std::optional<StationKind> kind) override;
    void tableShown() override;
    void moduleMarked() override;
    void refused(const Refusal &refusal) override;

    // The window's state takes the copy, all but what the transfer itself
    // holds (the running flag).
    static void apply(AppState &shown, const AppState &copy, bool withTable);

private:
    template <typename Call>
    void post(bool withTable, Call &&call);

    QObject *m_context;
    AppState &m_shown;
    ReadObserver &m_target;
    const AppState &m_work;
};
