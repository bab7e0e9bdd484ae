#include "trace/trace.h"

#include "link/linktimings.h"

#ifndef VETRAL_VERSION
#define VETRAL_VERSION "?"
#endif

void Trace::add(qint64 ms, TraceEvent::Kind kind, const QByteArray &bytes, const QString &text)
{
    const bool carriesBytes = kind == TraceEvent::Kind::Sent || kind == TraceEvent::Kind::Received;
    if (carriesBytes && !events.isEmpty() && events.last().kind == kind && events.last().ms == ms) {
        events.last().bytes += bytes;
        return;
    }
    events.append(TraceEvent{ms, kind, bytes, text});
}

QByteArray Trace::bytesOf(TraceEvent::Kind kind) const
{
    QByteArray bytes;
    for (const TraceEvent &event : events)
        if (event.kind == kind)
            bytes += event.bytes;
    return bytes;
}

QString Trace::thisProgram()
{
    return QStringLiteral("vetral " VETRAL_VERSION);
}

QString Trace::timingsText(const LinkTimings &timings)
{
    return QStringLiteral("тишина перед запросом %1 мс (не дольше %2 мс), ответ на байт %3 мс, "
                          "промежутки чтения %4 мс, в записях каналов %5 мс, пауза записи %6 мс")
        .arg(timings.quietLineMs)
        .arg(timings.quietLineBoundMs)
        .arg(timings.ackWaitMs)
        .arg(timings.headerGapMs)
        .arg(timings.recordGapMs)
        .arg(timings.settingsPauseMs);
}
