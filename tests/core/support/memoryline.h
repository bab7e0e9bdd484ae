#pragma once

// Windows has no pseudo-terminals. There the station of the link tests
// answers on a line in memory: a StationLine's responder, answer delay, gap
// between characters and silence count, reached through memoryLinkFactory(),
// which opens a line by its devicePath() as the program's serial link opens a
// device. The transfer runs on the test's own thread, so the responder is
// called as each byte is sent; its answer arrives when the delay and the gaps
// say.

#include "common/platformerror.h"
#include "link/seriallink.h"
#include "stationline.h"

#include <QMap>
#include <algorithm>
#include <chrono>
#include <deque>
#include <thread>

class MemoryLine
{
public:
    using Responder = StationLine::Responder;
    using Clock = std::chrono::steady_clock;

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

    // A byte the program sent.
    void take(std::uint8_t byte)
    {
        m_received.append(static_cast<char>(byte));
        if (m_options.silentAfter >= 0 && m_received.size() > m_options.silentAfter)
            return;
        Clock::time_point due = Clock::now() + std::chrono::milliseconds(m_options.answerDelayMs);
        for (char c : m_responder(byte)) {
            if (!m_sent.empty())
                due = std::max(due, m_sent.back().first + std::chrono::milliseconds(m_options.answerGapMs));
            m_sent.emplace_back(due, c);
        }
    }
    bool arrived() const { return !m_sent.empty() && m_sent.front().first <= Clock::now(); }
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
        const Clock::time_point until = Clock::now() + std::chrono::milliseconds(ms);
        while (!arrived() && Clock::now() < until)
            std::this_thread::sleep_until(m_sent.empty() ? until : std::min(until, m_sent.front().first));
        return arrived();
    }

private:
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
    std::deque<std::pair<Clock::time_point, char>> m_sent;
    bool m_hungUp = false;
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
