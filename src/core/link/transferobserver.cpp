#include "link/transferobserver.h"

#include <QDeadlineTimer>
#include <QThread>
#include <algorithm>

void pauseKeepingAlive(TransferObserver &observer, int ms)
{
    constexpr qint64 sliceMs = 5;
    const QDeadlineTimer deadline(ms, Qt::PreciseTimer);
    while (!deadline.hasExpired()) {
        const qint64 left = deadline.remainingTime();
        QThread::msleep(static_cast<unsigned long>(std::clamp<qint64>(left, 0, sliceMs)));
        observer.keepAlive();
    }
}
