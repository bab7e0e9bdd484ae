#pragma once

#include <QByteArray>
#include <QtGlobal>

// What a write or a read tells while it runs, on the thread that runs it.
class LinkEvents
{
public:
    virtual ~LinkEvents() = default;

    // A write has sent `sent` of its `total` bytes (the start byte counted);
    // `records` once its settings went out, the pause after them is over and
    // the channel records begin.
    virtual void written(qsizetype sent, qsizetype total, bool records)
    {
        Q_UNUSED(sent)
        Q_UNUSED(total)
        Q_UNUSED(records)
    }
    // A read's reply as far as it came: empty once the request is out, then
    // at every point where a read shows what came (StationReply::isShownAt).
    virtual void received(const QByteArray &reply) { Q_UNUSED(reply) }
    // A stop was asked while a write or read runs that is let run to its end
    // (a write cut off would leave the station half written, and a read is
    // kept whole): about `remainingMs` of it are left. Told once, at once.
    virtual void stopDeferred(bool writing, qint64 remainingMs)
    {
        Q_UNUSED(writing)
        Q_UNUSED(remainingMs)
    }
};
