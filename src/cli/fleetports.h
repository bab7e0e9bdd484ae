#pragma once

#include "batch/batchchoice.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace FleetPorts {

// The ports of a batch: each --port as given and the device it opens, found
// the way every command finds it (COMn through the program's port map, or a
// device path as it is). Throws UsageError for a bad port name, a port name
// that the map gives no device and two names of one device (both names are
// given, compared by the device behind their links). Nothing is opened.
QList<BatchChoice::Port> resolve(const QStringList &names, const QString &optionsFile);

} // namespace FleetPorts
