#include "tracereplay.h"

TraceReplay::TraceReplay(const Trace &trace) : m_answers(1)
{
    qint64 anchorMs = 0;
    qsizetype taken = 0;
    bool open = false;
    for (const TraceEvent &event : trace.events) {
        if (event.kind == TraceEvent::Kind::Opened)
            open = true;
        else if (event.kind == TraceEvent::Kind::Closed)
            open = false;
        else if (event.kind == TraceEvent::Kind::Failed && open && m_goneAfterTaken < 0)
            m_goneAfterTaken = taken;
        if (event.kind == TraceEvent::Kind::Received)
            taken += event.bytes.size();
        if (event.kind == TraceEvent::Kind::Sent) {
            for (qsizetype i = 0; i < event.bytes.size(); ++i)
                m_answers.append(QList<Timed>());
            anchorMs = event.ms;
        } else if (event.kind == TraceEvent::Kind::Received) {
            for (const char c : event.bytes)
                m_answers.last().append({(event.ms - anchorMs) * 1000, static_cast<std::uint8_t>(c)});
        }
    }
}
