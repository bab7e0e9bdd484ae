// Runs `vetral-cli write` and `vetral-cli read` of 99 channels against the
// simulated station on a pseudo-terminal paced like a 1200-baud line, and
// reports each time against the line's own limit: a write is every byte and
// its answer, one 10-bit character each; a read is the request byte and the
// station's reply. The times include the process start, the file load and
// the check.
//
//   bench_cli99 [--no-line-time] [--runs N]

#include "benchargs.h"
#include "benchfiles.h"
#include "simulatedstation.h"
#include "stationline.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>

namespace {

constexpr int kChannels = 99;

// Runs vetral-cli; returns the milliseconds it took, or -1 when it failed.
double timed(const QTemporaryDir &home, const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", home.path());
    env.insert("XDG_CONFIG_HOME", home.filePath("config"));
    env.insert("XDG_DATA_HOME", home.filePath("data"));
    process.setProcessEnvironment(env);
    QElapsedTimer timer;
    timer.start();
    process.start(VETRAL_CLI_PATH, arguments);
    if (!process.waitForFinished(600000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        std::fprintf(stderr, "vetral-cli %s failed: %s\n", qPrintable(arguments.join(' ')),
                     process.readAllStandardOutput().constData());
        return -1;
    }
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const BenchArgs benchArgs = BenchArgs::parse(app.arguments());
    const bool lineTime = benchArgs.lineTime;
    const int runs = benchArgs.runs;

    const double charMs = 1000.0 * StationLine::BitsPerCharacter / StationLine::BaudRate;
    const int written = 26 + 18 * kChannels;       // start byte, prefix and records, each answered
    const int readChars = 1 + 28 + 18 * kChannels; // request byte and reply
    const double writeLimitMs = 2 * written * charMs;
    const double readLimitMs = readChars * charMs;

    QTemporaryDir home;
    const QString file = home.filePath("k99.ini");
    if (!writeBenchFile(file, benchChannelFile(kChannels)))
        return 1;

    std::printf("vetral-cli with %d channels; line limit: write %.0f ms, read %.0f ms%s\n", kChannels, writeLimitMs,
                readLimitMs, lineTime ? "" : " (line time not emulated)");
    for (int run = 1; run <= runs; ++run) {
        BenchStation sim(lineTime);
        StationLine &line = sim.line;

        const double writeMs = timed(home, {"write", file, "--port", line.devicePath()});
        const double readMs = timed(home, {"read", "--port", line.devicePath(), "--output", home.filePath("back.ini")});
        line.stop();
        if (writeMs < 0 || readMs < 0 || sim.station.completedWrites() != 1)
            return 1;
        std::printf("run %d: write %.0f ms, %.3f x the line limit; read %.0f ms, %.3f x the line limit\n", run, writeMs,
                    writeMs / writeLimitMs, readMs, readMs / readLimitMs);
    }
    return 0;
}
