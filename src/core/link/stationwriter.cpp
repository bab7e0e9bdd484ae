#include "link/stationwriter.h"

#include "common/platformerror.h"
#include "image/stationdata.h"
#include "link/linkevents.h"
#include "link/stationlink.h"

namespace StationWriter {

namespace {

using Kind = WriteOutcome::Kind;

class Write
{
public:
    Write(StationLink &link, const StationData &data, LinkEvents &events)
        : m_link(link), m_order(data.writeOrder()), m_total(1 + m_order.size()), m_events(events),
          m_notice(link, events, true)
    {
    }

    WriteOutcome run()
    {
        m_events.written(0, m_total, false);
        // The station may still be sending the reply of a read that was cut off.
        if (!m_link.waitForQuietLine())
            return {Kind::NotStarted, 0, true, QString()};
        m_notice.begin(m_total);
        m_link.send(StartByte);
        m_outcome.sent = 1;
        if (!m_link.waitAck())
            return {Kind::NotStarted, 1, false, QString()};
        m_notice.after(1);
        m_events.written(1, m_total, false);
        if (!sendAnswered(0, RadioImage::WritePrefixSize, false))
            return brokenOff();
        m_link.pause(m_link.timings().settingsPauseMs);
        m_events.written(m_outcome.sent, m_total, true);
        if (!sendAnswered(RadioImage::WritePrefixSize, m_order.size(), true))
            return brokenOff();
        m_link.purge();
        return m_outcome;
    }

    WriteOutcome failed(const QString &text)
    {
        m_outcome.kind = Kind::PortFailure;
        m_outcome.failure = text;
        return m_outcome;
    }

private:
    // Bytes [from, to) of the write order, each answered before the next.
    // After an unanswered byte the write goes no further; its progress goes
    // on to where its next byte would have found the port closed, as the
    // gauge has always shown it.
    bool sendAnswered(qsizetype from, qsizetype to, bool records)
    {
        for (qsizetype i = from; i < to; ++i) {
            m_link.send(static_cast<std::uint8_t>(m_order.at(i)));
            ++m_outcome.sent;
            const bool answered = m_link.waitAck();
            m_events.written(m_outcome.sent, m_total, records);
            m_notice.after(m_outcome.sent);
            if (!answered) {
                if (!records && i + 1 == to)
                    m_events.written(m_outcome.sent, m_total, true);
                return false;
            }
        }
        return true;
    }

    // A station that fell silent: the write goes no further, and what a
    // port operation would have said of it is that the port is closed.
    WriteOutcome brokenOff()
    {
        m_outcome.kind = Kind::BrokenOff;
        m_outcome.failure = SerialErrors::notOpen();
        return m_outcome;
    }

    StationLink &m_link;
    QByteArray m_order;
    qsizetype m_total;
    LinkEvents &m_events;
    StopNotice m_notice;
    WriteOutcome m_outcome;
};

} // namespace

WriteOutcome write(StationLink &link, const StationData &data, LinkEvents &events)
{
    Write write(link, data, events);
    try {
        return write.run();
    } catch (const PlatformError &error) {
        return write.failed(error.text());
    }
}

} // namespace StationWriter
