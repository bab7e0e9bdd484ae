#include "link/stationlink.h"

#include "common/platformerror.h"
#include "link/linkevents.h"
#include "link/transferstop.h"

#include <algorithm>

namespace {

// A wait is cut into slices of at most this much, so that a request to end
// at once is seen within one.
constexpr qint64 kSliceMs = 50;

int slice(qint64 left)
{
    return static_cast<int>(std::clamp<qint64>(left, 0, kSliceMs));
}

} // namespace

StationLink::StationLink(SerialLink &port, const LinkTimings &timings, const TransferStop *stop)
    : m_port(port), m_timings(timings), m_stop(stop)
{
}

bool StationLink::stopRequested() const
{
    return m_stop && m_stop->stopRequested();
}

void StationLink::checkAbort() const
{
    if (m_stop && m_stop->abortRequested())
        throw PlatformError(SerialErrors::aborted());
}

void StationLink::send(std::uint8_t byte)
{
    checkAbort();
    m_port.sendByte(byte);
}

std::optional<std::uint8_t> StationLink::receive(int gapMs)
{
    const qint64 until = m_port.clockMs() + gapMs;
    for (;;) {
        checkAbort();
        if (m_port.byteReady())
            return m_port.takeByte();
        const qint64 left = until - m_port.clockMs();
        if (left <= 0)
            return std::nullopt;
        m_port.waitForByte(slice(left));
    }
}

bool StationLink::waitForQuietLine()
{
    const qint64 bound = m_port.clockMs() + m_timings.quietLineBoundMs;
    qint64 quietSince = m_port.clockMs();
    for (;;) {
        checkAbort();
        if (m_port.byteReady()) {
            m_port.purgeReceive();
            quietSince = m_port.clockMs();
        }
        const qint64 now = m_port.clockMs();
        if (now - quietSince >= m_timings.quietLineMs)
            return true;
        if (now >= bound)
            return false;
        m_port.waitForByte(slice(std::min(quietSince + m_timings.quietLineMs, bound) - now));
    }
}

void StationLink::pause(int ms)
{
    m_port.idle(ms);
    checkAbort();
}

void StationLink::purge()
{
    m_port.purgeReceive();
    m_port.purgeSend();
}

StopNotice::StopNotice(const StationLink &link, LinkEvents &events, bool writing)
    : m_link(link), m_events(events), m_writing(writing)
{
}

void StopNotice::begin(qsizetype total)
{
    m_startMs = m_link.clockMs();
    m_total = total;
}

void StopNotice::after(qsizetype done)
{
    if (m_told || done <= 0 || !m_link.stopRequested())
        return;
    m_told = true;
    const qint64 spent = std::max<qint64>(m_link.clockMs() - m_startMs, 0);
    m_events.stopDeferred(m_writing, spent * std::max<qint64>(m_total - done, 0) / done);
}
