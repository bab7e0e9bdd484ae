#include "fleetports.h"

#include "commandline.h"
#include "portargument.h"
#include "common/platformerror.h"
#include "link/portmap.h"
#include "link/seriallink.h"
#include "link/systemports.h"

#include <QDir>

namespace FleetPorts {

QList<FleetPort> resolve(const QStringList &names, const QString &optionsFile)
{
    const PortMap map = PortMap::fromOptionsFile(optionsFile);
    QList<FleetPort> ports;
    for (const QString &name : names) {
        const PortArgument argument = PortArgument::parse(name);
        QString device = argument.device;
        if (device.isEmpty()) {
            device = map.deviceFor(argument.portNumber);
            if (device.isEmpty())
                throw PlatformError(SerialErrors::noDevice(PortMap::portName(argument.portNumber)));
        }
        const FleetPort port{name, device, SystemPorts::deviceKey(device)};
        for (const FleetPort &earlier : ports) {
            if (earlier.identity == port.identity)
                throw UsageError(QStringLiteral("Порты \"%1\" и \"%2\" - одно и то же устройство %3")
                                     .arg(earlier.name, port.name, QDir::toNativeSeparators(port.identity)));
        }
        ports.append(port);
    }
    return ports;
}

} // namespace FleetPorts
