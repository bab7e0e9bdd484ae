#include "transfer/linksetup.h"

#include "common/platformerror.h"
#include "link/seriallink.h"
#include "link/systemports.h"

#include <QFileInfo>
#include <QHash>

QString LinkSetup::resolvedDevice() const
{
    // A device given by its path needs neither the map nor the prompt.
    if (!device.isEmpty())
        return device;
    if (portNumber == 0)
        throw PlatformError(SerialErrors::noPortChosen());
    const QString mapped = PortMap::fromOptionsFile(optionsFile).deviceFor(portNumber);
    if (mapped.isEmpty())
        throw PlatformError(SerialErrors::noDevice(PortMap::portName(portNumber)));
    return mapped;
}

QList<PortEntry> LinkSetup::openablePorts(const QString &optionsFile)
{
    // The system's list and the devices the options file names that exist,
    // not a trial opening: opening raises DTR and RTS, which resets some
    // devices, and may wait on a slow driver.
    QHash<QString, SystemPort> present; // by device key
    for (const SystemPort &port : SystemPorts::list())
        present.insert(SystemPorts::deviceKey(port.device), port);
    const PortMap map = PortMap::fromOptionsFile(optionsFile);
    QList<PortEntry> ports;
    for (int n = 1; n <= LastPromptPort; ++n) {
        PortEntry entry = map.entry(n);
        if (entry.device.isEmpty())
            continue;
        const auto listed = present.constFind(SystemPorts::deviceKey(entry.device));
        if (listed != present.constEnd()) {
            entry.description = listed->description;
            entry.adapter = listed->adapter;
            ports.append(entry);
        } else if (map.isNamed(n) && QFileInfo::exists(entry.device)) {
            ports.append(entry);
        }
    }
    return ports;
}
