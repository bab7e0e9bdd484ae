#include "link/portsearch.h"

#include "common/platformerror.h"
#include "link/portmap.h"
#include "link/systemports.h"

namespace PortSearch {

namespace {

// Whether a byte arrives within `ms` of the line's time.
bool answered(SerialLink &port, int ms)
{
    const qint64 until = port.clockMs() + ms;
    for (;;) {
        if (port.byteReady())
            return true;
        const qint64 left = until - port.clockMs();
        if (left <= 0)
            return false;
        port.waitForByte(int(left));
    }
}

bool probe(const QString &device, const SerialLinkFactory &factory, const PortSearchTimings &timings)
{
    const auto port = factory();
    try {
        port->open(device);
    } catch (const PlatformError &) {
        return false; // absent or in use: next port at once
    }
    bool answer = false;
    try {
        port->idle(timings.settleMs);
        port->sendByte(ProbeByte);
        port->idle(timings.answerDelayMs);
        if (answered(*port, timings.readTimeoutMs)) {
            port->takeByte();
            answer = true;
        }
        port->sendByte(ClosingByte);
    } catch (const PlatformError &) {
        // A port that fails a write or a read has simply not answered.
    }
    port->close();
    return answer;
}

} // namespace

std::uint8_t run(const QString &optionsFile, const SerialLinkFactory &factory, const PortSearchTimings &timings)
{
    const PortMap map = PortMap::fromOptionsFile(optionsFile);
    for (const int n : SystemPorts::searchNumbers()) {
        const QString device = map.deviceFor(n);
        if (!device.isEmpty() && probe(device, factory, timings))
            return static_cast<std::uint8_t>(n);
    }
    return 0;
}

PortEntry found(const QString &optionsFile, std::uint8_t portNumber)
{
    const QString device = PortMap::fromOptionsFile(optionsFile).deviceFor(portNumber);
    return PortEntry{PortMap::portName(portNumber), device, SystemPorts::systemName(device)};
}

} // namespace PortSearch
