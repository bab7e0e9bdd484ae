#include "trace/tracerecorder.h"

#include "common/platformerror.h"
#include "link/systemports.h"

#include <mutex>
#include <optional>

class TraceRecorder::Recording
{
public:
    explicit Recording(Trace header) : m_trace(std::move(header)) {}

    // `clock` is the link that saw it, open: its clock times the event.
    void note(const SerialLink *clock, TraceEvent::Kind kind, const QByteArray &bytes = {}, const QString &text = {})
    {
        const std::lock_guard lock(m_mutex);
        qint64 ms = m_trace.events.isEmpty() ? 0 : m_trace.events.constLast().ms;
        if (clock) {
            const qint64 now = clock->clockMs();
            if (!m_originMs)
                m_originMs = now;
            ms = std::max<qint64>(now - *m_originMs, 0);
        }
        m_trace.add(ms, kind, bytes, text);
    }

    void describeAdapter(const QString &device)
    {
        const std::lock_guard lock(m_mutex);
        if (!m_trace.adapter.isEmpty())
            return;
        const QString key = SystemPorts::deviceKey(device);
        for (const SystemPort &port : SystemPorts::list()) {
            if (SystemPorts::deviceKey(port.device) != key)
                continue;
            m_trace.adapter = port.adapter.details();
            if (m_trace.adapter.isEmpty())
                m_trace.adapter = port.description;
            m_trace.latency = port.adapter.latencyNote(device);
        }
    }

    Trace trace() const
    {
        const std::lock_guard lock(m_mutex);
        return m_trace;
    }

private:
    mutable std::mutex m_mutex;
    Trace m_trace;
    std::optional<qint64> m_originMs;
};

namespace {

using Kind = TraceEvent::Kind;

class TracingSerialLink final : public SerialLink
{
public:
    TracingSerialLink(std::shared_ptr<TraceRecorder::Recording> recording, std::unique_ptr<SerialLink> link)
        : m_recording(std::move(recording)), m_link(std::move(link))
    {
    }

private:
    // Runs a port operation, noting the port's failure once on its way out.
    template <typename Operation>
    decltype(auto) noted(Operation &&operation)
    {
        try {
            return operation();
        } catch (const PlatformError &e) {
            if (e.text() != m_lastFailure)
                m_recording->note(m_link->isOpen() ? m_link.get() : nullptr, Kind::Failed, {}, e.text());
            m_lastFailure = e.text();
            throw;
        }
    }

public:
    void open(const QString &device) override
    {
        noted([&] { m_link->open(device); });
        m_recording->describeAdapter(device);
        m_recording->note(m_link.get(), Kind::Opened, {}, device);
    }
    bool isOpen() const override { return m_link->isOpen(); }
    void close() override
    {
        const bool wasOpen = m_link->isOpen();
        if (wasOpen)
            m_recording->note(m_link.get(), Kind::Closed);
        m_link->close();
    }
    void sendByte(std::uint8_t byte) override
    {
        noted([&] { m_link->sendByte(byte); });
        m_recording->note(m_link.get(), Kind::Sent, QByteArray(1, static_cast<char>(byte)));
    }
    bool byteReady() override
    {
        return noted([&] { return m_link->byteReady(); });
    }
    std::uint8_t takeByte() override
    {
        const std::uint8_t byte = noted([&] { return m_link->takeByte(); });
        m_recording->note(m_link.get(), Kind::Received, QByteArray(1, static_cast<char>(byte)));
        return byte;
    }
    bool waitForByte(int ms) override
    {
        return noted([&] { return m_link->waitForByte(ms); });
    }
    // What is dropped was still said on the line: a station's stray bytes
    // before the start byte, the rest of an interrupted reply.
    void purgeReceive() override
    {
        noted([&] {
            while (m_link->byteReady())
                m_recording->note(m_link.get(), Kind::Received, QByteArray(1, static_cast<char>(m_link->takeByte())));
            m_link->purgeReceive();
        });
    }
    void purgeSend() override
    {
        noted([&] { m_link->purgeSend(); });
    }
    qint64 clockMs() const override { return m_link->clockMs(); }
    void idle(int ms) override { m_link->idle(ms); }

private:
    std::shared_ptr<TraceRecorder::Recording> m_recording;
    std::unique_ptr<SerialLink> m_link;
    QString m_lastFailure;
};

} // namespace

TraceRecorder::TraceRecorder(Trace header)
{
    if (header.program.isEmpty())
        header.program = Trace::thisProgram();
    if (!header.started.isValid())
        header.started = QDateTime::currentDateTime();
    m_recording = std::make_shared<Recording>(std::move(header));
}

SerialLinkFactory TraceRecorder::wrap(SerialLinkFactory inner) const
{
    return [recording = m_recording, inner = std::move(inner)] {
        return std::make_unique<TracingSerialLink>(recording, inner());
    };
}

Trace TraceRecorder::trace(const QString &outcome) const
{
    Trace trace = m_recording->trace();
    trace.outcome = outcome;
    return trace;
}
