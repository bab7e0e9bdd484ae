#pragma once

// A station on a line in memory: a StationLine's responder, answer delay, gap
// between characters and silence count, reached through memoryLinkFactory(),
// which opens a line by its devicePath() as the program's serial link opens a
// device. Windows has no pseudo-terminals, and a slow station on one would
// take its time for real. The transfer runs on the test's own thread, so the
// responder is called as each byte is sent; its answer arrives when the delay
// and the gaps say, on the line's own clock: a wait for a byte moves the
// clock on to the byte or to the wait's end, and nothing sleeps.

#include "common/platformerror.h"
#include "link/seriallink.h"
#include "stationline.h"

#include <QMap>
#include <algorithm>
#include <deque>

class MemoryLine
{
public:
    using Responder = StationLine::Responder;

    explicit MemoryLine(Responder responder, StationLineOptions options = {})
        : m_responder(std::move(responder)), m_options(options),
          m_name(QStringLiteral("memory-line-%1").arg(++counter()))
    {
        lines().insert(m_name, this);
    }
    ~MemoryLine() { lines().remove(m_name); }
    MemoryLine(const MemoryLine &) = delete;
    MemoryLine &operator=(const MemoryLine &) = delete;

    static MemoryLine *find(const QString &name) { return lines().value(name); }

    QString devicePath() const { return m_name; }
    void start() {}
    void stop() {}
    void hangUp() { m_hungUp = true; }
    bool hungUp() const { return m_hungUp; }
    QByteArray received() const { return m_received; }
    bool waitForReceived(qsizetype count, int) const { return m_received.size() >= count; }
    // The line's clock, in milliseconds from its making.
    qint64 now() const { return m_now; }

    // A station that takes in nothing while it still has bytes to send, as
    // one busy with its reply: what the program sends meanwhile is lost.
    void deafWhileSending() { m_deafWhileSending = true; }
    // Bytes that go out as if the station sent them of its own accord, the
    // answer gap apart.
    void sendUnprompted(const QByteArray &bytes) { schedule(bytes, m_now); }

    // A byte the program sent.
    void take(std::uint8_t byte)
    {
        const bool sending = !m_sent.empty() && m_sent.back().first > m_now;
        m_received.append(static_cast<char>(byte));
        if (m_options.silentAfter >= 0 && m_received.size() > m_options.silentAfter)
            return;
        if (sending && m_deafWhileSending)
            return;
        schedule(m_responder(byte), m_now + m_options.answerDelayMs);
    }
    bool arrived() const { return !m_sent.empty() && m_sent.front().first <= m_now; }
    std::uint8_t takeArrived()
    {
        const char c = m_sent.front().second;
        m_sent.pop_front();
        return static_cast<std::uint8_t>(c);
    }
    void dropArrived()
    {
        while (arrived())
            m_sent.pop_front();
    }
    bool waitForArrival(int ms)
    {
        const qint64 until = m_now + std::max(ms, 0);
        if (!arrived())
            m_now = m_sent.empty() ? until : std::clamp(m_sent.front().first, m_now, until);
        return arrived();
    }

private:
    void schedule(const QByteArray &bytes, qint64 due)
    {
        for (char c : bytes) {
            if (!m_sent.empty())
                due = std::max(due, m_sent.back().first + m_options.answerGapMs);
            m_sent.emplace_back(due, c);
        }
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
    QString m_name;
    QByteArray m_received;
    std::deque<std::pair<qint64, char>> m_sent; // each byte and the time it arrives
    qint64 m_now = 0;
    bool m_hungUp = false;
    bool m_deafWhileSending = false;
};

// The program's end of a MemoryLine, with the failures of a serial link.
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
    }
    bool isOpen() const override { return m_line != nullptr; }
    void close() override { m_line = nullptr; }
    void sendByte(std::uint8_t byte) override
    {
        if (line().hungUp())
            throw PlatformError(SerialErrors::cannotSend(m_device, QStringLiteral("hung up")));
        line().take(byte);
    }
    bool byteReady() override { return line().arrived(); }
    std::uint8_t takeByte() override { return line().takeArrived(); }
    bool waitForByte(int ms) override { return line().waitForArrival(ms); }
    void purgeReceive() override { line().dropArrived(); }
    void purgeSend() override { line(); }
    qint64 clockMs() const override { return m_line ? m_line->now() : 0; }

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
