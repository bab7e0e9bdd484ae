// Writes 99 channels to the simulated station over a pseudo-terminal paced
// like a 1200-baud line, and reports the time against the line's own limit:
// every written byte and its answer are one character of 10 bits each. Then
// writes 40 channels with the line's waits and as a client that does not
// wait for a quiet line, and prints the ratio of the two.
//
//   bench_write99 [--no-line-time] [--runs N]

#include "benchargs.h"
#include "benchtransfer.h"
#include "simulatedstation.h"
#include "stationline.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>

namespace {

// One write of `data` to a fresh simulated station, as `write` runs it; its
// time in ms, or a negative number when the station did not take it.
double timedWrite(const StationData &data, const LinkTimings &timings, bool lineTime)
{
    BenchStation sim(lineTime);
    QElapsedTimer timer;
    timer.start();
    const SequenceOutcome outcome = transferOn(sim.line.devicePath(), data, timings);
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    sim.line.stop();
    return outcome.kind == SequenceOutcome::Kind::Done && sim.station.completedWrites() == 1 ? ms : -1;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const BenchArgs benchArgs = BenchArgs::parse(app.arguments());
    const bool lineTime = benchArgs.lineTime;
    const int runs = benchArgs.runs;

    constexpr int channels = 99;
    const StationData data = checkedData(channels);
    const int bytesWritten = 26 + 18 * channels;
    const double limitMs = 1000.0 * bytesWritten * 2 * StationLine::BitsPerCharacter / StationLine::BaudRate;

    std::printf("write of %d channels: %d bytes, each answered; line limit %.0f ms%s\n", channels, bytesWritten,
                limitMs, lineTime ? "" : " (line time not emulated)");
    for (int run = 1; run <= runs; ++run) {
        const double ms = timedWrite(data, LinkTimings(), lineTime);
        if (ms < 0) {
            std::fprintf(stderr, "the station did not take the write\n");
            return 1;
        }
        // The pause after the settings and the wait for a quiet line are not line time.
        const double waitsMs = 200.0 + LinkTimings().quietLineMs;
        std::printf(
            "run %d: %.0f ms, %.3f x the line limit (%.3f x without the %.0f ms of pause and quiet-line wait)\n", run,
            ms, ms / limitMs, (ms - waitsMs) / limitMs, waitsMs);
    }

    // The quiet-line wait against a client that sends at once.
    const StationData forty = checkedData(40);
    LinkTimings noWait;
    noWait.quietLineMs = 0;
    double fastestWaiting = 1e300;
    double fastestEager = 1e300;
    for (int run = 1; run <= runs; ++run) {
        std::fflush(stdout);
        const double waiting = timedWrite(forty, LinkTimings(), lineTime);
        const double eager = timedWrite(forty, noWait, lineTime);
        if (waiting < 0 || eager < 0) {
            std::fprintf(stderr, "the station did not take the write (%s)\n", waiting < 0 ? "waiting" : "eager");
            return 1;
        }
        std::printf("40 channels, run %d: %.0f ms with a %d ms quiet-line wait, %.0f ms without; ratio %.4f\n", run,
                    waiting, LinkTimings().quietLineMs, eager, waiting / eager);
        fastestWaiting = std::min(fastestWaiting, waiting);
        fastestEager = std::min(fastestEager, eager);
    }
    // The fastest of each, as the load of the machine only ever adds time.
    std::printf("40 channels, fastest of %d runs: ratio %.4f\n", runs, fastestWaiting / fastestEager);
    return 0;
}
