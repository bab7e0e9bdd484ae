#pragma once

#include "link/portmap.h"
#include "link/seriallink.h"

#include <QString>
#include <cstdint>

struct PortSearchTimings
{
    int settleMs = 1000;     // after opening, before the probe
    int answerDelayMs = 100; // after the probe, before reading
    int readTimeoutMs = 101; // one byte: 100 ms plus 1 ms per byte
};

// The "USB" button: probes the ports in turn for a station that answers the
// probe byte, and takes the first that does. The ports are COM1 to COM7 on
// Linux, those Windows lists on Windows (SystemPorts::searchNumbers); each
// through the port map of the options file. The waits are the line's own.
namespace PortSearch {

// The ports searched on Linux.
constexpr int FirstPort = 1;
constexpr int LastPort = 7;
constexpr std::uint8_t ProbeByte = 175;
constexpr std::uint8_t ClosingByte = 5;

// The number of the first port whose device answered, or 0 when none did.
std::uint8_t run(const QString &optionsFile, const SerialLinkFactory &factory,
                 const PortSearchTimings &timings = PortSearchTimings());
// The port found, with its device and the system's name for it, as the
// search names it ("COM5 — USB-SERIAL CH340").
PortEntry found(const QString &optionsFile, std::uint8_t portNumber);

} // namespace PortSearch
