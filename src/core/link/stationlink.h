#pragma once

#include "link/linktimings.h"
#include "link/seriallink.h"

#include <cstdint>
#include <optional>

class LinkEvents;
class TransferStop;

// The program's end of a station's line during a transfer: the open port
// with the waits of the protocol, all counted on the line's own clock, and
// the request to stop from outside, asked at every wait and every send.
// Serial errors (PlatformError) are never caught here.
class StationLink
{
public:
    StationLink(SerialLink &port, const LinkTimings &timings, const TransferStop *stop = nullptr);

    const LinkTimings &timings() const { return m_timings; }
    qint64 clockMs() const { return m_port.clockMs(); }
    bool stopRequested() const;

    // Throws PlatformError (SerialErrors::aborted()) when the transfer was
    // told to end at once.
    void send(std::uint8_t byte);
    // The next byte, allowing `gapMs` of the line's time for it to come;
    // nothing when it did not.
    std::optional<std::uint8_t> receive(int gapMs);
    // The station's one-byte answer to a written byte, whatever its value.
    bool waitAck() { return receive(m_timings.ackWaitMs).has_value(); }
    // Drops whatever the station sends until the line has been quiet for
    // quietLineMs, so that a station still sending the rest of an
    // interrupted reply is not taken to answer the next request. False
    // when the line did not fall quiet within quietLineBoundMs: it stayed
    // busy. Sends nothing.
    bool waitForQuietLine();
    void pause(int ms);
    // Drops received bytes not yet taken and bytes not yet sent.
    void purge();

private:
    void checkAbort() const;

    SerialLink &m_port;
    LinkTimings m_timings;
    const TransferStop *m_stop;
};

// Tells a transfer's events once, as soon as a stop has been asked, how long
// the transfer that runs on to its end still takes: the bytes that went
// through since it began set the pace of the rest.
class StopNotice
{
public:
    StopNotice(const StationLink &link, LinkEvents &events, bool writing);

    // The request or start byte goes out now; the whole transfer is `total`
    // bytes (a read's length grows once its channel count is known).
    void begin(qsizetype total);
    void setTotal(qsizetype total) { m_total = total; }
    // `done` bytes went through.
    void after(qsizetype done);

private:
    const StationLink &m_link;
    LinkEvents &m_events;
    bool m_writing;
    qint64 m_startMs = 0;
    qsizetype m_total = 0;
    bool m_told = false;
};
