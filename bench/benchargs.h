#pragma once

#include "simulatedstation.h"
#include "stationline.h"

#include <QElapsedTimer>
#include <QStringList>
#include <algorithm>

// The options every benchmark takes: --runs N and --no-line-time.
struct BenchArgs
{
    bool lineTime = true;
    int runs = 1;

    static BenchArgs parse(const QStringList &args)
    {
        BenchArgs parsed;
        parsed.lineTime = !args.contains(QStringLiteral("--no-line-time"));
        if (const qsizetype i = args.indexOf(QStringLiteral("--runs")); i >= 0 && i + 1 < args.size())
            parsed.runs = std::max(1, args.at(i + 1).toInt());
        return parsed;
    }
};

// A simulated station answering on its own pseudo-terminal from construction
// on, paced like a 1200-baud line when asked, or behind the line of `options`.
struct BenchStation
{
    SimulatedStation station;
    QElapsedTimer clock;
    StationLine line;

    explicit BenchStation(bool lineTime) : BenchStation(StationLineOptions{0, -1, lineTime}) {}
    explicit BenchStation(const StationLineOptions &options)
        : line([this](std::uint8_t b) { return station.onByte(b, clock.elapsed()); }, options)
    {
        clock.start();
        line.start();
    }
};
