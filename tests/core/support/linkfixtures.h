#pragma once

// Shared by the serial link tests: an observer that records what a transfer
// shows, an options file in a temporary folder, and a link factory that logs
// the devices it opens.

#include "common/platformerror.h"
#include "files/windows1251.h"
#include "link/linktimings.h"
#include "link/systemseriallink.h"
#include "link/transferobserver.h"
#include "simulatedstation.h"
#include "stationline.h"
#ifdef Q_OS_WIN
#include "support/memoryline.h"
#endif

#include <QFile>
#include <QMap>
#include <QStringList>
#include <QTemporaryDir>
#include <map>
#include <memory>

namespace LinkFixtures {

// The station's end of a test line, and the links that reach it: a
// pseudo-terminal and the program's own serial link where there are
// pseudo-terminals, a line in memory on Windows.
#ifdef Q_OS_WIN
using TestLine = MemoryLine;
inline SerialLinkFactory testLinkFactory()
{
    return memoryLinkFactory();
}
#else
using TestLine = StationLine;
inline SerialLinkFactory testLinkFactory()
{
    return systemSerialLinkFactory();
}
#endif

// The waits of a transfer in tests. The quiet wait stays the line's own (a
// paced station must never seem quiet between two of its characters), and so
// do the answer time-outs, whose polls the tests count; a line that never
// falls quiet is given up sooner, and the write's pause is short.
inline LinkTimings testTimings()
{
    LinkTimings timings;
    timings.quietLineBoundMs = 600;
    timings.settingsPauseMs = 5;
    return timings;
}

class RecordingObserver : public TransferObserver
{
public:
    QStringList events; // "status ПР", "progress 33", "Exit off", "caption ...", "clear ports"
    QStringList statuses;
    QList<int> progress;
    QStringList captions;
    int keepAlives = 0;
    QList<QList<PortEntry>> prompts;
    std::optional<PortEntry> promptAnswer; // what "the user" picks; nothing cancels
    std::map<TransferButton, bool> enabled{
        {TransferButton::Exit, true}, {TransferButton::Write, true}, {TransferButton::Read, true}};

    void setStatus(const QString &text) override
    {
        statuses.append(text);
        events.append(QStringLiteral("status ") + text);
    }
    void setProgress(int value) override
    {
        progress.append(value);
        events.append(QStringLiteral("progress %1").arg(value));
    }
    void setButtonEnabled(TransferButton button, bool on) override
    {
        enabled[button] = on;
        static const char *names[] = {"Exit", "Write", "Read"};
        events.append(QStringLiteral("%1 %2").arg(QLatin1String(names[int(button)]), QLatin1String(on ? "on" : "off")));
    }
    void setSearchCaption(const QString &text) override
    {
        captions.append(text);
        events.append(QStringLiteral("caption ") + text);
    }
    void clearPortButtons() override { events.append(QStringLiteral("clear ports")); }
    void keepAlive() override { ++keepAlives; }
    std::optional<PortEntry> choosePort(const QList<PortEntry> &openable) override
    {
        prompts.append(openable);
        events.append(QStringLiteral("prompt"));
        return promptAnswer;
    }

    bool allEnabled() const
    {
        return enabled.at(TransferButton::Exit) && enabled.at(TransferButton::Write)
               && enabled.at(TransferButton::Read);
    }
    bool noneEnabled() const
    {
        return !enabled.at(TransferButton::Exit) && !enabled.at(TransferButton::Write)
               && !enabled.at(TransferButton::Read);
    }
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

// A simulated station on a pseudo-terminal of its own, which the options file
// maps to COM1. The line goes before the station it answers for.
struct StationOnCom1
{
    SimulatedStation station;
    std::unique_ptr<TestLine> line;
    OptionsFile options;

    explicit StationOnCom1(SimulatedStation simulated = {}, const StationLineOptions &lineOptions = {})
        : station(std::move(simulated)),
          line(std::make_unique<TestLine>([this](std::uint8_t b) { return station.onByte(b, 0); }, lineOptions))
    {
        line->start();
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

// A link whose station's end goes away the moment the port is open,
// as when an adapter is pulled out then: the first send fails.
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
