#pragma once

#include "common/paths.h"
#include "link/linktimings.h"
#include "link/systemseriallink.h"
#include "link/transferlink.h"

#include <QString>
#include <cstdint>

class TransferStop;

// Where and how a transfer reaches its station: the options file with the
// port map, the port (a device path, or a port number through the map), the
// serial layer, the waits and the stop request.
struct LinkSetup
{
    QString optionsFile = Paths::optionsFile();
    QString device;              // empty: the port number through the map
    std::uint8_t portNumber = 0; // with no device: 0 asks through the prompt
    SerialLinkFactory factory = systemSerialLinkFactory();
    LinkTimings timings;
    const TransferStop *stop = nullptr;
    // Where the transfer's trace is kept (TraceStore); empty: nowhere.
    QString traceFolder;

    // A link set up so, its port made by `factory` (this setup's by default).
    TransferLink link(TransferObserver &observer, SerialLinkFactory madeBy = nullptr) const
    {
        TransferLink made(observer, optionsFile, madeBy ? std::move(madeBy) : factory);
        made.setDevice(device);
        made.setTimings(timings);
        made.setStop(stop);
        return made;
    }
};
