#include "transfer/queuedobservers.h"

#include <QObject>

template <typename Call>
void QueuedTransferObserver::post(Call &&call)
{
    QMetaObject::invokeMethod(m_context, std::forward<Call>(call), Qt::QueuedConnection);
}

void QueuedTransferObserver::setStatus(const QString &text)
{
    post([&target = m_target, text] { target.setStatus(text); });
}

void QueuedTransferObserver::setProgress(int value)
{
    post([&target = m_target, value] { target.setProgress(value); });
}

void QueuedTransferObserver::setButtonEnabled(TransferButton button, bool enabled)
{
    post([&target = m_target, button, enabled] { target.setButtonEnabled(button, enabled); });
}

void QueuedTransferObserver::setSearchCaption(const QString &text)
{
    post([&target = m_target, text] { target.setSearchCaption(text); });
}

void QueuedTransferObserver::clearPortButtons()
{
    post([&target = m_target] { target.clearPortButtons(); });
}

std::optional<PortEntry> QueuedTransferObserver::choosePort(const QList<PortEntry> &openable)
{
    std::optional<PortEntry> chosen;
    QMetaObject::invokeMethod(
        m_context, [&] { chosen = m_target.choosePort(openable); }, Qt::BlockingQueuedConnection);
    return chosen;
}

void QueuedReadObserver::apply(AppState &shown, const AppState &copy, bool withTable)
{
    const bool running = shown.transferRunning;
    if (withTable) {
        shown = copy;
    } else {
        ChannelTable table = std::move(shown.table);
        shown = copy;
        shown.table = std::move(table);
    }
    shown.transferRunning = running;
}

template <typename Call>
void QueuedReadObserver::post(bool withTable, Call &&call)
{
    QMetaObject::invokeMethod(
        m_context,
        [&shown = m_shown, copy = m_work, withTable, call = std::forward<Call>(call)] {
            apply(shown, copy, withTable);
            call();
        },
        Qt::QueuedConnection);
}

void QueuedReadObserver::readStarting()
{
    post(false, [&target = m_target] { target.readStarting(); });
}

void QueuedReadObserver::readEnded()
{
    post(false, [&target = m_target] { target.readEnded(); });
}

void QueuedReadObserver::tableChanging()
{
    post(false, [&target = m_target] { target.tableChanging(); });
}

void QueuedReadObserver::tableChanged()
{
    post(true, [&target = m_target] { target.tableChanged(); });
}

void QueuedReadObserver::settingsChanged()
{
    post(false, [&target = m_target] { target.settingsChanged(); });
}

void QueuedReadObserver::stationSelected(std::optional<StationKind> kind)
{
    post(false, [&target = m_target, kind] { target.stationSelected(kind); });
}

void QueuedReadObserver::tableShown()
{
    post(false, [&target = m_target] { target.tableShown(); });
}

void QueuedReadObserver::moduleMarked()
{
    post(false, [&target = m_target] { target.moduleMarked(); });
}

void QueuedReadObserver::refused(const Refusal &refusal)
{
    post(false, [&target = m_target, refusal] { target.refused(refusal); });
}
