#pragma once

// A station's line in memory that counts its own time: nothing in it sleeps.
// The transfer runs on the test's own thread; the line's clock moves only
// when the program waits on it (a poll's wait for a byte, the write's pause)
// and then jumps to the next thing that happens on the line. The station's
// answers, their delay, pacing and gaps, a USB adapter's bursts and a lost
// byte, and the stray bytes of a station powering up follow the simulator's
// own schedule (LineSchedule), so a test sees on this line what the
// simulator's pseudo-terminal would show, however busy the machine.
//
// Windows has no pseudo-terminals: there every link test answers on this
// line, reached through memoryLinkFactory(), which opens a line by its
// devicePath() as the program's serial link opens a device.

#include "common/platformerror.h"
#include "lineschedule.h"
#include "link/seriallink.h"
#include "stationline.h"
#include "tracereplay.h"

#include <QMap>
#include <deque>
#include <map>

class MemoryLine
{
public:
    using Responder = StationLine::Responder;
    using Us = LineSchedule::Us;

    explicit MemoryLine(Responder responder, StationLineOptions options = {})
        : m_responder(std::move(responder)), m_options(options), m_schedule(options),
          m_name(QStringLiteral("memory-line-%1").arg(++counter()))
    {
        lines().insert(m_name, this);
        if (m_options.replay)
            for (const TraceReplay::Timed &t : m_options.replay->opening())
                m_toProgram.emplace(t.us, t.byte);
        else
            deliver(m_schedule.strayBytes());
    }
    ~MemoryLine() { lines().remove(m_name); }
    MemoryLine(const MemoryLine &) = delete;
    MemoryLine &operator=(const MemoryLine &) = delete;

    static MemoryLine *find(const QString &name) { return lines().value(name); }

    QString devicePath() const { return m_name; }
    // The line's time starts when it is made.
    void start() {}
    void stop() {}
    // Both ends go: what was on the way in either direction is lost.
    void hangUp()
    {
        m_hungUp = true;
        m_toStation.clear();
        m_toProgram.clear();
    }
    bool hungUp() const { return m_hungUp; }
    QByteArray received() const { return m_received; }
    bool waitForReceived(qsizetype count, int) const { return m_received.size() >= count; }
    // Bytes that go out now as if the station sent them of its own accord.
    void sendUnprompted(const QByteArray &bytes) { deliver(m_schedule.send(m_now, bytes)); }
    // A station that takes in nothing while it still has bytes to send, as
    // one busy with its reply: what the program sends meanwhile is lost.
    void deafWhileSending() { m_deafWhileSending = true; }

    // The line's clock, from its making.
    Us nowUs() const { return m_now; }

    // The program's end.
    void send(std::uint8_t byte) { m_toStation.push_back({m_schedule.arrival(m_now), byte}); }
    bool arrived()
    {
        advanceTo(m_now);
        return !m_toProgram.empty() && m_toProgram.begin()->first <= m_now;
    }
    std::uint8_t takeArrived()
    {
        const std::uint8_t byte = m_toProgram.begin()->second;
        m_toProgram.erase(m_toProgram.begin());
        ++m_taken;
        if (m_options.hangUpAfterSent >= 0 && m_taken >= m_options.hangUpAfterSent)
            hangUp();
        return byte;
    }
    void dropArrived()
    {
        while (arrived())
            takeArrived();
    }
    // Lets up to `ms` pass, to the moment a byte can be taken.
    bool waitForArrival(int ms)
    {
        const Us until = m_now + Us(ms) * 1000;
        while (!arrived() && m_now < until) {
            Us next = until;
            if (!m_toStation.empty())
                next = std::min(next, std::max(m_now, m_toStation.front().first));
            if (!m_toProgram.empty())
                next = std::min(next, std::max(m_now, m_toProgram.begin()->first));
            m_now = next;
        }
        return arrived();
    }
    void idle(int ms)
    {
        m_now += Us(ms) * 1000;
        advanceTo(m_now);
    }

private:
    // The station takes in every byte that has reached it by `t`.
    void advanceTo(Us t)
    {
        while (!m_hungUp && !m_toStation.empty() && m_toStation.front().first <= t) {
            const auto [arrival, byte] = m_toStation.front();
            m_toStation.pop_front();
            m_received.append(static_cast<char>(byte));
            if (m_options.hangUpAfter >= 0 && m_received.size() >= m_options.hangUpAfter) {
                hangUp();
                return;
            }
            if (m_options.replay) {
                for (const TraceReplay::Timed &answer : m_options.replay->after(m_received.size()))
                    m_toProgram.emplace(arrival + answer.us, answer.byte);
                continue;
            }
            if (m_options.silentAfter >= 0 && m_received.size() > m_options.silentAfter)
                continue;
            if (!m_schedule.ready(arrival))
                continue;
            if (m_deafWhileSending && !m_toProgram.empty() && m_toProgram.rbegin()->first > arrival)
                continue;
            deliver(m_schedule.send(arrival + Us(m_options.answerDelayMs) * 1000, m_responder(byte)));
        }
    }
    void deliver(const QList<LineSchedule::Delivery> &deliveries)
    {
        for (const LineSchedule::Delivery &d : deliveries)
            m_toProgram.emplace(d.at, d.byte);
    }

    static QMap<QString, MemoryLine *> &lines()
    {
        static QMap<QString, MemoryLine *> all;
        return all;
    }
    static int &counter()
    {
        static int n = 0;
        return n;
    }

    Responder m_responder;
    StationLineOptions m_options;
    LineSchedule m_schedule;
    QString m_name;
    Us m_now = 0;
    QByteArray m_received;
    std::deque<std::pair<Us, std::uint8_t>> m_toStation; // by arrival
    std::multimap<Us, std::uint8_t> m_toProgram;         // by the time the program can take it
    qsizetype m_taken = 0;
    bool m_hungUp = false;
    bool m_deafWhileSending = false;
};

// The program's end of a MemoryLine, with the failures of a serial link.
// Closed, it still tells the line's time.
class MemoryLink final : public SerialLink
{
public:
    void open(const QString &device) override
    {
        close();
        MemoryLine *line = MemoryLine::find(device);
        if (!line || line->hungUp())
            throw PlatformError(SerialErrors::cannotOpen(device, QStringLiteral("no such line")));
        m_line = line;
        m_device = device;
        m_open = true;
    }
    bool isOpen() const override { return m_open; }
    void close() override { m_open = false; }
    void sendByte(std::uint8_t byte) override
    {
        if (line().hungUp())
            throw PlatformError(SerialErrors::cannotSend(m_device, QStringLiteral("hung up")));
        line().send(byte);
    }
    bool byteReady() override { return line().arrived(); }
    std::uint8_t takeByte() override { return line().takeArrived(); }
    bool waitForByte(int ms) override { return line().waitForArrival(ms); }
    void purgeReceive() override { line().dropArrived(); }
    void purgeSend() override { line(); }
    qint64 clockMs() const override { return m_line ? m_line->nowUs() / 1000 : SerialLink::clockMs(); }
    void idle(int ms) override
    {
        if (m_line)
            m_line->idle(ms);
        else
            SerialLink::idle(ms);
    }

private:
    MemoryLine &line() const
    {
        if (!m_open)
            throw PlatformError(SerialErrors::notOpen());
        return *m_line;
    }

    MemoryLine *m_line = nullptr;
    QString m_device;
    bool m_open = false;
};

inline SerialLinkFactory memoryLinkFactory()
{
    return [] { return std::make_unique<MemoryLink>(); };
}
