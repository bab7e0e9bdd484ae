#pragma once

// A station's line in memory that counts its own time: nothing in it sleeps.
// The line's clock moves only when the program waits on it (a wait for a
// byte, the write's pause) and then jumps to the next thing that happens on
// the line, so a silent station or one that answers after 150 ms costs no
// real time and no scheduler can delay a byte. The station's answers, their
// delay, pacing and gaps, a USB adapter's bursts and a lost byte, and the
// stray bytes of a station powering up follow the simulator's own schedule
// (LineSchedule), so a test sees on this line what the simulator's
// pseudo-terminal would show, however busy the machine.
//
// The program's end is a MemoryLink from memoryLinkFactory(), which opens a
// line by its devicePath(), or by a name linked to it, as the program's
// serial link opens a device: exclusively, and not after the line has hung
// up. A transfer may run on a thread of its own: every operation takes the
// line's lock, which the station's responder may take again to look at the
// line while it answers.
//
// Windows has no pseudo-terminals: there every link test answers on this line.

#include "common/platformerror.h"
#include "lineschedule.h"
#include "link/seriallink.h"
#include "stationline.h"
#include "tracereplay.h"

#include <QMap>
#include <atomic>
#include <deque>
#include <map>
#include <mutex>

class MemoryLine
{
public:
    using Responder = StationLine::Responder;
    using Us = LineSchedule::Us;

    explicit MemoryLine(Responder responder, StationLineOptions options = {})
        : m_responder(std::move(responder)), m_options(options), m_schedule(options),
          m_name(QStringLiteral("memory-line-%1").arg(nextNumber()))
    {
        link(m_name, this);
        if (m_options.replay && m_options.replay->goneAfterTaken() > 0)
            m_options.hangUpAfterSent = int(m_options.replay->goneAfterTaken());
        if (m_options.replay)
            for (const TraceReplay::Timed &t : m_options.replay->opening())
                m_toProgram.emplace(t.us, t.byte);
        else
            deliver(m_schedule.strayBytes());
    }
    ~MemoryLine()
    {
        const std::lock_guard lock(registryMutex());
        for (auto it = registry().begin(); it != registry().end();)
            it = it.value() == this ? registry().erase(it) : std::next(it);
    }
    MemoryLine(const MemoryLine &) = delete;
    MemoryLine &operator=(const MemoryLine &) = delete;

    // The line `name` opens from now on, as when a symbolic link is moved;
    // a port opened before keeps its line.
    static void link(const QString &name, MemoryLine *line)
    {
        const std::lock_guard lock(registryMutex());
        registry().insert(name, line);
    }
    static MemoryLine *find(const QString &name)
    {
        const std::lock_guard lock(registryMutex());
        return registry().value(name);
    }

    QString devicePath() const { return m_name; }
    // The line's time starts when it is made.
    void start() {}
    void stop() {}
    // Both ends go: what was on the way in either direction is lost, and the
    // line cannot be opened again.
    void hangUp()
    {
        const std::lock_guard lock(m_mutex);
        m_hungUp = true;
        m_toStation.clear();
        m_toProgram.clear();
    }
    bool hungUp() const
    {
        const std::lock_guard lock(m_mutex);
        return m_hungUp;
    }
    // Every byte the station received, in order.
    QByteArray received() const
    {
        const std::lock_guard lock(m_mutex);
        return m_received;
    }
    // The transfer that sent them has ended by the time a test asks: all
    // that will come has come.
    bool waitForReceived(qsizetype count, int) const { return received().size() >= count; }

    // The line's clock, from its making.
    Us nowUs() const
    {
        const std::lock_guard lock(m_mutex);
        return m_now;
    }

    // --- the program's end ---------------------------------------------

    void open(const void *by, const QString &device)
    {
        const std::lock_guard lock(m_mutex);
        if (m_hungUp)
            throw PlatformError(SerialErrors::cannotOpen(device, QStringLiteral("no such line")));
        if (m_openedBy && m_openedBy != by)
            throw PlatformError(SerialErrors::portBusy(device));
        m_openedBy = by;
    }
    // What the program sent before it let go of the port still reaches the
    // station.
    void close(const void *by)
    {
        const std::lock_guard lock(m_mutex);
        if (m_openedBy != by)
            return;
        m_openedBy = nullptr;
        if (!m_toStation.empty())
            advanceTo(m_toStation.back().first);
    }
    void send(std::uint8_t byte, const QString &device)
    {
        const std::lock_guard lock(m_mutex);
        if (m_hungUp)
            throw PlatformError(SerialErrors::cannotSend(device, QStringLiteral("hung up")));
        m_toStation.push_back({m_schedule.arrival(m_now), byte});
    }
    // A line hung up fails a wait, as a serial port does when its adapter
    // is pulled out.
    bool arrived(const QString &device)
    {
        const std::lock_guard lock(m_mutex);
        advanceTo(m_now);
        failIfHungUp(device);
        return hasArrived();
    }
    std::uint8_t takeArrived()
    {
        const std::lock_guard lock(m_mutex);
        const std::uint8_t byte = m_toProgram.begin()->second;
        m_toProgram.erase(m_toProgram.begin());
        ++m_taken;
        if (m_options.hangUpAfterSent >= 0 && m_taken >= m_options.hangUpAfterSent)
            hangUpNow();
        return byte;
    }
    void dropArrived()
    {
        const std::lock_guard lock(m_mutex);
        advanceTo(m_now);
        while (hasArrived())
            m_toProgram.erase(m_toProgram.begin());
    }
    // Lets up to `ms` pass, to the moment a byte can be taken.
    bool waitForArrival(int ms, const QString &device)
    {
        const std::lock_guard lock(m_mutex);
        const Us until = m_now + Us(ms) * 1000;
        advanceTo(m_now);
        failIfHungUp(device);
        while (!hasArrived() && m_now < until) {
            Us next = until;
            if (!m_toStation.empty())
                next = std::min(next, std::max(m_now, m_toStation.front().first));
            if (!m_toProgram.empty())
                next = std::min(next, std::max(m_now, m_toProgram.begin()->first));
            m_now = next;
            advanceTo(m_now);
            failIfHungUp(device);
        }
        return hasArrived();
    }
    void idle(int ms)
    {
        const std::lock_guard lock(m_mutex);
        m_now += Us(ms) * 1000;
        advanceTo(m_now);
    }

private:
    bool hasArrived() const { return !m_toProgram.empty() && m_toProgram.begin()->first <= m_now; }
    void failIfHungUp(const QString &device) const
    {
        if (m_hungUp)
            throw PlatformError(SerialErrors::cannotReceive(device, QStringLiteral("hung up")));
    }
    void hangUpNow()
    {
        m_hungUp = true;
        m_toStation.clear();
        m_toProgram.clear();
    }
    // The station takes in every byte that has reached it by `t`.
    void advanceTo(Us t)
    {
        while (!m_hungUp && !m_toStation.empty() && m_toStation.front().first <= t) {
            const auto [arrival, byte] = m_toStation.front();
            m_toStation.pop_front();
            m_received.append(static_cast<char>(byte));
            if (m_options.hangUpAfter >= 0 && m_received.size() >= m_options.hangUpAfter) {
                hangUpNow();
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
            deliver(m_schedule.send(arrival + Us(m_options.answerDelayMs) * 1000, m_responder(byte)));
        }
    }
    void deliver(const QList<LineSchedule::Delivery> &deliveries)
    {
        for (const LineSchedule::Delivery &d : deliveries)
            m_toProgram.emplace(d.at, d.byte);
    }

    static QMap<QString, MemoryLine *> &registry()
    {
        static QMap<QString, MemoryLine *> all;
        return all;
    }
    static std::mutex &registryMutex()
    {
        static std::mutex mutex;
        return mutex;
    }
    static int nextNumber()
    {
        static std::atomic<int> n{0};
        return ++n;
    }

    Responder m_responder;
    StationLineOptions m_options;
    LineSchedule m_schedule;
    QString m_name;
    mutable std::recursive_mutex m_mutex;
    Us m_now = 0;
    QByteArray m_received;
    std::deque<std::pair<Us, std::uint8_t>> m_toStation; // by arrival
    std::multimap<Us, std::uint8_t> m_toProgram;         // by the time the program can take it
    qsizetype m_taken = 0;
    const void *m_openedBy = nullptr;
    bool m_hungUp = false;
};

// The program's end of a MemoryLine, with the failures of a serial link.
// Closed, it still tells the line's time.
class MemoryLink final : public SerialLink
{
public:
    ~MemoryLink() override { close(); }

    void open(const QString &device) override
    {
        close();
        MemoryLine *line = MemoryLine::find(device);
        if (!line)
            throw PlatformError(SerialErrors::cannotOpen(device, QStringLiteral("no such line")));
        line->open(this, device);
        m_line = line;
        m_device = device;
        m_open = true;
    }
    bool isOpen() const override { return m_open; }
    void close() override
    {
        if (m_open)
            m_line->close(this);
        m_open = false;
    }
    void sendByte(std::uint8_t byte) override { line().send(byte, m_device); }
    bool byteReady() override { return line().arrived(m_device); }
    std::uint8_t takeByte() override { return line().takeArrived(); }
    bool waitForByte(int ms) override { return line().waitForArrival(ms, m_device); }
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
