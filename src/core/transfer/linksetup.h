#pragma once

#include "common/paths.h"
#include "link/linktimings.h"
#include "link/portmap.h"
#include "link/systemseriallink.h"
#include "link/transferstop.h"

#include <QList>
#include <QString>
#include <cstdint>
#include <memory>

// Where and how a transfer reaches its station: the options file with the
// port map, the port (a device path, or a port number through the map), the
// serial layer, the waits and the request to stop. The port prompt is the
// window's: a transfer is given the device the user chose.
struct LinkSetup
{
    // The port prompt offers COM1 to COM50.
    static constexpr int LastPromptPort = 50;

    QString optionsFile = Paths::optionsFile();
    QString device;              // empty: the port number through the map
    std::uint8_t portNumber = 0; // with no device
    SerialLinkFactory factory = systemSerialLinkFactory();
    LinkTimings timings;
    // Shared by every transfer it is to stop (a batch's stations), and by
    // whoever asks for the stop; a transfer made without one gets its own.
    std::shared_ptr<TransferStop> stop;

    // The device the transfer opens. Throws PlatformError when no port is
    // chosen or the map gives the port no device.
    QString resolvedDevice() const;

    // The ports among COM1 to COM50 whose device the system lists as a
    // serial port, or which the options file maps to a device that exists;
    // none is opened to find out, so a port in use is offered as well.
    static QList<PortEntry> openablePorts(const QString &optionsFile);
};
