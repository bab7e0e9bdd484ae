#pragma once

#include "common/paths.h"
#include "link/portmap.h"
#include "link/seriallink.h"
#include "link/systemseriallink.h"
#include "link/transferobserver.h"

#include <QString>
#include <cstdint>

struct PortSearchTimings
{
    int settleMs = 1000;     // after opening, before the probe
    int answerDelayMs = 100; // after the probe, before reading
    int readTimeoutMs = 101; // one byte: 100 ms plus 1 ms per byte
};

// The "USB" button: probes the ports in turn for a station that answers the
// probe byte, and takes the first that does as the port number. The ports
// are COM1 to COM7 on Linux, those Windows lists on Windows
// (SystemPorts::searchNumbers).
class PortSearch
{
public:
    static constexpr int FirstPort = 1;
    static constexpr int LastPort = 7;
    static constexpr std::uint8_t ProbeByte = 175;
    static constexpr std::uint8_t ClosingByte = 5;

    explicit PortSearch(TransferObserver &observer, QString optionsFile = Paths::optionsFile(),
                        SerialLinkFactory factory = systemSerialLinkFactory(),
                        PortSearchTimings timings = PortSearchTimings());

    // Sets portNumber to the port found, or to 0 when no station answered.
    void run(std::uint8_t &portNumber);
    // The port the last run found, with the system's name for its device;
    // empty when none answered.
    const PortEntry &found() const { return m_found; }

private:
    bool probe(const QString &device);
    bool waitForAnswer(SerialLink &port, int ms);

    TransferObserver &m_observer;
    QString m_optionsFile;
    SerialLinkFactory m_factory;
    PortSearchTimings m_timings;
    PortEntry m_found;
};
