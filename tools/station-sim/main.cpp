// vetral-station-sim: a station on a pseudo-terminal, for trying the
// programmer without a radio. Prints the device to open and runs until
// interrupted.
#include "common/standardstreams.h"
#include "simulatedstation.h"
#include "stationline.h"
#include "tracereplay.h"
#include "common/platformerror.h"
#include "trace/tracestore.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTextStream>

#include <algorithm>
#include <climits>
#include <csignal>
#include <cstdio>
#include <exception>
#include <unistd.h>

namespace {

struct Settings
{
    StationLine::Options line;
    StationMemory memory;
    QString linkPath;
    bool verbose = false;
};

int toNumber(const QCommandLineParser &parser, const QString &name, int minimum, int maximum = INT_MAX)
{
    bool ok = false;
    const int value = parser.value(name).toInt(&ok);
    if (!ok || value < minimum || value > maximum) {
        if (maximum == INT_MAX)
            std::fprintf(stderr, "--%s: a whole number of at least %d is expected\n", qPrintable(name), minimum);
        else
            std::fprintf(stderr, "--%s: a whole number from %d to %d is expected\n", qPrintable(name), minimum,
                         maximum);
        std::exit(2);
    }
    return value;
}

Settings parse(const QCoreApplication &app)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("A Vetral station on a pseudo-terminal: answers each byte of a write, "
                       "the probe 175, and the read command 30 from its memory."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOptions({
        {QStringLiteral("link"), QStringLiteral("Also make a symbolic link <path> to the device."),
         QStringLiteral("path")},
        {QStringLiteral("serial"), QStringLiteral("Serial number as six hexadecimal digits (default 000001)."),
         QStringLiteral("hex"), QStringLiteral("000001")},
        {QStringLiteral("delay"), QStringLiteral("Answer every byte <ms> milliseconds late."), QStringLiteral("ms"),
         QStringLiteral("0")},
        {QStringLiteral("silent-after"), QStringLiteral("Fall silent after receiving <n> bytes."), QStringLiteral("n")},
        {QStringLiteral("line-time"), QStringLiteral("Take the time of a 1200-baud line for every character.")},
        {QStringLiteral("latency"),
         QStringLiteral("Hand the station's bytes on in bursts every <ms> milliseconds (1 to 16), "
                        "as a USB adapter's latency timer does."),
         QStringLiteral("ms")},
        {QStringLiteral("jitter"), QStringLiteral("Each burst up to <ms> milliseconds late (at most the latency)."),
         QStringLiteral("ms"), QStringLiteral("0")},
        {QStringLiteral("stray"),
         QStringLiteral("Power up first: send <n> stray bytes, one every 20 ms from the start, "
                        "and answer nothing until then."),
         QStringLiteral("n")},
        {QStringLiteral("lose-byte"), QStringLiteral("Lose the station's <n>-th byte (from 1) on the way."),
         QStringLiteral("n")},
        {QStringLiteral("seed"), QStringLiteral("Seed of the jitter and the stray bytes (default 1)."),
         QStringLiteral("n"), QStringLiteral("1")},
        {QStringLiteral("replay"),
         QStringLiteral("Play the station's side of the trace <file> with its timing instead of answering: "
                        "each byte as long after the program's byte it followed as it came then, the bytes "
                        "before the program's first from the start. The options that shape answers do not apply."),
         QStringLiteral("file")},
        {QStringLiteral("verbose"), QStringLiteral("Log every byte on standard error.")},
    });
    parser.process(app);

    Settings s;
    s.linkPath = parser.value(QStringLiteral("link"));
    s.verbose = parser.isSet(QStringLiteral("verbose"));
    s.line.lineTime = parser.isSet(QStringLiteral("line-time"));
    s.line.answerDelayMs = toNumber(parser, QStringLiteral("delay"), 0);
    if (parser.isSet(QStringLiteral("silent-after")))
        s.line.silentAfter = toNumber(parser, QStringLiteral("silent-after"), 0);
    if (parser.isSet(QStringLiteral("latency")))
        s.line.adapterLatencyMs = toNumber(parser, QStringLiteral("latency"), 1, 16);
    s.line.adapterJitterMs = toNumber(parser, QStringLiteral("jitter"), 0, std::max(0, s.line.adapterLatencyMs));
    if (parser.isSet(QStringLiteral("stray")))
        s.line.strayBytes = toNumber(parser, QStringLiteral("stray"), 1);
    if (parser.isSet(QStringLiteral("lose-byte")))
        s.line.loseByte = toNumber(parser, QStringLiteral("lose-byte"), 1);
    s.line.seed = static_cast<std::uint32_t>(toNumber(parser, QStringLiteral("seed"), 0));
    if (parser.isSet(QStringLiteral("replay"))) {
        try {
            s.line.replay =
                std::make_shared<const TraceReplay>(TraceStore::load(parser.value(QStringLiteral("replay"))));
        } catch (const PlatformError &e) {
            std::fprintf(stderr, "--replay: %s\n", qPrintable(e.text()));
            std::exit(2);
        }
    }

    const QString serial = parser.value(QStringLiteral("serial"));
    bool ok = false;
    const uint value = serial.toUInt(&ok, 16);
    if (!ok || serial.size() != 6) {
        std::fprintf(stderr, "--serial: six hexadecimal digits are expected\n");
        std::exit(2);
    }
    s.memory.serial = {static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 8),
                       static_cast<std::uint8_t>(value)};
    return s;
}

} // namespace

int main(int argc, char **argv)
{
    if (!StandardStreams::ensureOpen())
        return 2;
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vetral-station-sim"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VETRAL_VERSION));
    const Settings settings = parse(app);

    // Signals are taken by sigwait below; the line's thread must not see them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    for (int sig : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&stopSignals, sig);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    try {
        SimulatedStation station(settings.memory);
        QElapsedTimer clock;
        clock.start();
        int lastWrites = 0;
        const bool verbose = settings.verbose;
        StationLine line(
            [&](std::uint8_t byte) {
                const QByteArray answer = station.onByte(byte, clock.elapsed());
                if (verbose) {
                    std::fprintf(stderr, "<- %3u  -> %s\n", byte,
                                 answer.size() > 4 ? qPrintable(QStringLiteral("%1 bytes").arg(answer.size()))
                                                   : answer.toHex(' ').constData());
                    if (station.completedWrites() != lastWrites)
                        std::fprintf(stderr, "write of %d channels stored\n", station.memory().channelCount());
                }
                lastWrites = station.completedWrites();
                return answer;
            },
            settings.line);

        if (!settings.linkPath.isEmpty()) {
            QFile::remove(settings.linkPath);
            if (!QFile::link(line.devicePath(), settings.linkPath)) {
                std::fprintf(stderr, "cannot make the link %s\n", qPrintable(settings.linkPath));
                return 1;
            }
        }
        std::printf("%s\n", qPrintable(line.devicePath()));
        std::fflush(stdout);

        line.start();
        int sig = 0;
        sigwait(&stopSignals, &sig);
        line.stop();
        if (!settings.linkPath.isEmpty())
            QFile::remove(settings.linkPath);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
