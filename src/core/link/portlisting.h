#pragma once

#include "link/portmap.h"
#include "link/systemports.h"

#include <QList>
#include <QString>
#include <QStringList>

// A serial port as `vetral-cli ports` lists it: the names the program gives
// its device, the device, and what the system tells of its adapter.
struct ListedPort
{
    QStringList names; // "COM3", in order; none when the port map reaches it by no name
    QString device;
    QString description;
    SerialAdapter adapter = {};

    bool operator==(const ListedPort &) const = default;
};

// Every serial port the system knows, and every device that section Ports
// of the options file names and that exists (a pseudo-terminal, a link),
// with the names COM1 to COM255 that the port map gives each. Nothing is
// opened to find out.
namespace PortListing {

constexpr int LastPort = 255; // the last name a port argument takes

QList<ListedPort> list(const QList<SystemPort> &system, const PortMap &map);
inline QList<ListedPort> list(const QString &optionsFile)
{
    return list(SystemPorts::list(), PortMap::fromOptionsFile(optionsFile));
}

// One tab-separated line: the names (joined by ","), device, description,
// maker, VID:PID, serial number, driver, latency ("16 мс"); "-" for what is
// not known.
QString line(const ListedPort &port);

} // namespace PortListing
