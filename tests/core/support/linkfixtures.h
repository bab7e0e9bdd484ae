#pragma once

// Shared by the transfer tests: stations on lines in memory (memoryline.h),
// whose time the line counts itself, an options file in a temporary folder
// that maps the ports to them, what a transfer told while it ran, and link
// factories that watch or break what the program does.

#include "common/platformerror.h"
#include "files/windows1251.h"
#include "link/linktimings.h"
#include "simulatedstation.h"
#include "memoryline.h"
#include "transfer/transferevents.h"
#include "transfer/transfergauge.h"

#include <QFile>
#include <QMap>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

namespace LinkFixtures {

using TestLine = MemoryLine;

inline SerialLinkFactory testLinkFactory()
{
    return memoryLinkFactory();
}

// The waits of a transfer in tests: the line's own, which a line in memory
// counts without waiting.
inline LinkTimings testTimings()
{
    return LinkTimings();
}

// What a transfer told while it ran: "step write", "sent 6/80", "records",
// "received 10", and the gauge the transfer dialog derived from it.
class RecordingEvents : public TransferEvents
{
public:
    QStringList events;
    QList<int> gauge;
    QList<QByteArray> replies;

    void stepStarted(SequenceStep step, const QString &serial) override
    {
        static const char *names[] = {"backup", "write", "verify", "report"};
        if (step == SequenceStep::BackUp || step == SequenceStep::Verify)
            m_readStep = step;
        events.append(QStringLiteral("step %1%2")
                          .arg(QLatin1String(names[int(step)]), serial.isEmpty() ? QString() : u' ' + serial));
    }
    void written(qsizetype sent, qsizetype total, bool records) override
    {
        if (records && !m_records)
            events.append(QStringLiteral("records"));
        m_records = records;
        events.append(QStringLiteral("sent %1/%2").arg(sent).arg(total));
        show(TransferProgress{SequenceStep::Write, sent, total, records});
    }
    void received(const QByteArray &reply) override
    {
        replies.append(reply);
        events.append(QStringLiteral("received %1").arg(reply.size()));
        show(TransferProgress::ofReply(m_readStep, reply));
    }
    void stopDeferred(bool writing, qint64 remainingMs) override
    {
        events.append(QStringLiteral("stop %1 %2").arg(writing ? "write" : "read").arg(remainingMs));
    }

private:
    // A new gauge value, as the dialog shows it.
    void show(const TransferProgress &progress)
    {
        const int value = TransferGauge::value(progress);
        if (gauge.isEmpty() || gauge.last() != value)
            gauge.append(value);
    }

    SequenceStep m_readStep = SequenceStep::BackUp;
    bool m_records = false;
};

// V404Options.ini in a folder of its own. writePorts() gives every port of
// COM1 to COM7 an explicit entry (empty when not named), so that no test ever
// falls back to the machine's real serial devices.
class OptionsFile
{
public:
    QString path() const { return m_dir.filePath(QStringLiteral("V404Options.ini")); }

    void write(const QStringList &lines) const
    {
        QFile file(path());
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            throw PlatformError(file.errorString());
        file.write(Windows1251::encode(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")));
    }

    void writePorts(const QMap<int, QString> &devices, const QStringList &moreLines = {}) const
    {
        QStringList lines{QStringLiteral("[Ports]")};
        int last = 7;
        for (auto it = devices.begin(); it != devices.end(); ++it)
            last = std::max(last, it.key());
        for (int n = 1; n <= last; ++n)
            if (devices.contains(n) || n <= 7)
                lines.append(QStringLiteral("COM%1=%2").arg(n).arg(devices.value(n)));
        write(lines + moreLines);
    }

private:
    QTemporaryDir m_dir;
};

// A simulated station on a line of its own, which the options file maps to
// COM1. The line goes before the station it answers for.
struct StationOnCom1
{
    SimulatedStation station;
    std::unique_ptr<TestLine> line;
    OptionsFile options;

    explicit StationOnCom1(SimulatedStation simulated = {}, const StationLineOptions &lineOptions = {})
        : station(std::move(simulated)),
          line(std::make_unique<TestLine>([this](std::uint8_t b) { return station.onByte(b, 0); }, lineOptions))
    {
        options.writePorts({{1, line->devicePath()}});
    }
};

// The test line's link with every operation passed on; the links below
// override the few they watch.
class ForwardingLink : public SerialLink
{
public:
    void open(const QString &device) override { m_link->open(device); }
    bool isOpen() const override { return m_link->isOpen(); }
    void close() override { m_link->close(); }
    void sendByte(std::uint8_t byte) override { m_link->sendByte(byte); }
    bool byteReady() override { return m_link->byteReady(); }
    std::uint8_t takeByte() override { return m_link->takeByte(); }
    bool waitForByte(int ms) override { return m_link->waitForByte(ms); }
    void purgeReceive() override { m_link->purgeReceive(); }
    void purgeSend() override { m_link->purgeSend(); }
    qint64 clockMs() const override { return m_link->clockMs(); }
    void idle(int ms) override { m_link->idle(ms); }

protected:
    std::unique_ptr<SerialLink> m_link = testLinkFactory()();
};

// A link factory that logs every device opened through it.
class LoggingLink final : public ForwardingLink
{
public:
    explicit LoggingLink(std::shared_ptr<QStringList> log) : m_log(std::move(log)) {}
    void open(const QString &device) override
    {
        m_log->append(device);
        m_link->open(device);
    }

private:
    std::shared_ptr<QStringList> m_log;
};

inline SerialLinkFactory loggingFactory(std::shared_ptr<QStringList> log)
{
    return [log] { return std::make_unique<LoggingLink>(log); };
}

// A link whose station's end goes away the moment the port is open, as when
// an adapter is pulled out then: the first send fails.
class HangUpAfterOpen final : public ForwardingLink
{
public:
    explicit HangUpAfterOpen(TestLine *station) : m_station(station) {}
    void open(const QString &device) override
    {
        m_link->open(device);
        m_station->hangUp();
    }

private:
    TestLine *m_station;
};

inline SerialLinkFactory hangUpAfterOpenFactory(TestLine &station)
{
    return [&station] { return std::make_unique<HangUpAfterOpen>(&station); };
}

// The text of the PlatformError the call throws; a null string when it throws none.
template <typename F>
QString platformError(F &&call)
{
    try {
        call();
    } catch (const PlatformError &e) {
        return e.text();
    }
    return QString();
}

inline QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(static_cast<char>(v));
    return out;
}

} // namespace LinkFixtures
