#pragma once

// A station's serial line in memory, with a clock of its own: every wait the
// program makes on it (an answer, a quiet line, a pause) moves the line's
// time on at once to the moment the wait ends, so a silent station or one
// that answers after 150 ms costs no real time and no scheduler can delay a
// byte. A MemoryLine is the station's end: a responder (usually a
// SimulatedStation) with the options of a StationLine (answer delay, gap
// between characters, 1200-baud pacing, silence, hang-up). The program's end
// is a MemoryLink from memoryLinkFactory(), which opens a line by its
// devicePath(), or by a name linked to it, as the program's serial link
// opens a device: exclusively, and not after the line has hung up.

#include "common/platformerror.h"
#include "link/seriallink.h"
#include "stationline.h"

#include <QMap>
#include <algorithm>
#include <atomic>
#include <deque>
#include <mutex>

class MemoryLine
{
public:
    using Responder = StationLine::Responder;
    // Microseconds of the line's own time.
    using Micros = qint64;

    explicit MemoryLine(Responder responder, StationLineOptions options = {})
        : m_responder(std::move(responder)), m_options(options),
          m_name(QStringLiteral("memory-line-%1").arg(nextNumber()))
    {
        link(m_name, this);
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
    // A line in memory needs no thread: the station answers as it is sent to.
    void start() {}
    void stop() {}

    // The station's end goes away: what is sent is lost, nothing more
    // arrives, and the line cannot be opened again.
    void hangUp()
    {
        const std::lock_guard lock(m_mutex);
        m_hungUp = true;
        m_arriving.clear();
    }
    bool hungUp() const
    {
        const std::lock_guard lock(m_mutex);
        return m_hungUp;
    }
    // Every byte received from the program so far, in order.
    QByteArray received() const
    {
        const std::lock_guard lock(m_mutex);
        return m_received;
    }
    // The transfer that sent them has ended by the time a test asks: all
    // that will come has come.
    bool waitForReceived(qsizetype count, int) const { return received().size() >= count; }
    // Bytes that go out as if the station sent them of its own accord, from
    // the line's present moment on.
    void sendUnprompted(const QByteArray &bytes)
    {
        const std::lock_guard lock(m_mutex);
        schedule(m_now, bytes);
    }
    // Milliseconds of the line's time so far.
    qint64 elapsedMs() const
    {
        const std::lock_guard lock(m_mutex);
        return m_now / 1000;
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
    void close(const void *by)
    {
        const std::lock_guard lock(m_mutex);
        if (m_openedBy == by)
            m_openedBy = nullptr;
    }
    // Throws when the station's end has gone away.
    void take(std::uint8_t byte, const QString &device)
    {
        const std::lock_guard lock(m_mutex);
        if (m_hungUp)
            throw PlatformError(SerialErrors::cannotSend(device, QStringLiteral("hung up")));
        // The byte reaches the station a character time after the one before it.
        m_reaching = std::max(m_reaching, m_now) + characterTime();
        m_received.append(static_cast<char>(byte));
        const qsizetype count = m_received.size();
        if (m_options.hangUpAfter > 0 && count >= m_options.hangUpAfter) {
            m_hungUp = true;
            m_arriving.clear();
            return;
        }
        if (m_options.silentAfter >= 0 && count > m_options.silentAfter)
            return;
        schedule(m_reaching + Micros(m_options.answerDelayMs) * 1000, m_responder(byte));
    }
    bool arrived() const
    {
        const std::lock_guard lock(m_mutex);
        return hasArrived();
    }
    std::uint8_t takeArrived()
    {
        const std::lock_guard lock(m_mutex);
        const char c = m_arriving.front().second;
        m_arriving.pop_front();
        if (m_options.hangUpAfterSent > 0 && ++m_taken >= m_options.hangUpAfterSent) {
            m_hungUp = true;
            m_arriving.clear();
        }
        return static_cast<std::uint8_t>(c);
    }
    void dropArrived()
    {
        const std::lock_guard lock(m_mutex);
        while (hasArrived())
            m_arriving.pop_front();
    }
    // Moves the line's time on to the next arrival, or by `ms` when none
    // comes sooner.
    bool waitForArrival(int ms)
    {
        const std::lock_guard lock(m_mutex);
        if (hasArrived())
            return true;
        const Micros until = m_now + Micros(ms) * 1000;
        if (!m_arriving.empty() && m_arriving.front().first <= until) {
            m_now = m_arriving.front().first;
            return true;
        }
        m_now = until;
        return false;
    }
    void pass(int ms)
    {
        const std::lock_guard lock(m_mutex);
        m_now += Micros(std::max(ms, 0)) * 1000;
    }

private:
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

    Micros characterTime() const
    {
        return m_options.lineTime ? 1'000'000LL * StationLine::BitsPerCharacter / StationLine::BaudRate : 0;
    }
    bool hasArrived() const { return !m_arriving.empty() && m_arriving.front().first <= m_now; }
    // The station's bytes, the first due at `from`, each a character time
    // and at least the gap after the one before.
    void schedule(Micros from, const QByteArray &bytes)
    {
        if (m_hungUp)
            return;
        for (const char c : bytes) {
            Micros due = std::max(from, m_lastArrival);
            if (m_sentAny)
                due = std::max(due, m_lastArrival + Micros(m_options.answerGapMs) * 1000);
            due += characterTime();
            m_lastArrival = due;
            m_sentAny = true;
            m_arriving.emplace_back(due, c);
        }
    }

    Responder m_responder;
    StationLineOptions m_options;
    QString m_name;
    // The responder may look at the line (what it received) while it answers.
    mutable std::recursive_mutex m_mutex;
    Micros m_now = 0;
    Micros m_reaching = 0;    // when the last byte sent reaches the station
    Micros m_lastArrival = 0; // when the last byte the station sent arrives
    bool m_sentAny = false;
    QByteArray m_received;
    std::deque<std::pair<Micros, char>> m_arriving;
    qsizetype m_taken = 0;
    const void *m_openedBy = nullptr;
    bool m_hungUp = false;
};

// The program's end of a MemoryLine, with the failures of a serial link.
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
    }
    bool isOpen() const override { return m_line != nullptr; }
    void close() override
    {
        if (m_line)
            m_line->close(this);
        m_line = nullptr;
    }
    void sendByte(std::uint8_t byte) override { line().take(byte, m_device); }
    bool byteReady() override { return line().arrived(); }
    std::uint8_t takeByte() override { return line().takeArrived(); }
    bool waitForByte(int ms) override { return line().waitForArrival(ms); }
    void purgeReceive() override { line().dropArrived(); }
    void purgeSend() override { line(); }
    qint64 nowMs() const override { return m_line ? m_line->elapsedMs() : 0; }
    void pause(int ms) override
    {
        if (m_line)
            m_line->pass(ms);
    }

private:
    MemoryLine &line() const
    {
        if (!m_line)
            throw PlatformError(SerialErrors::notOpen());
        return *m_line;
    }

    MemoryLine *m_line = nullptr;
    QString m_device;
};

inline SerialLinkFactory memoryLinkFactory()
{
    return [] { return std::make_unique<MemoryLink>(); };
}
