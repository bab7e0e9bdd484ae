#pragma once

#include <QString>
#include <QStringList>
#include <QList>

// The ports of a batch: each --port as given and the device it opens, found
// the way every command finds it (COMn through the program's port map, or a
// device path as it is).
struct FleetPort
{
    QString name;     // as given on the command line
    QString device;   // what the transfer opens
    QString identity; // the device with its links resolved, for comparing
};

namespace FleetPorts {

// Throws UsageError for a bad port name or for two names of one device
// (both names are given, compared by the device behind their links), and
// PlatformError for a port name that the map gives no device. Nothing is
// opened.
QList<FleetPort> resolve(const QStringList &names, const QString &optionsFile);

} // namespace FleetPorts
