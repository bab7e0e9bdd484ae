#include "fleetports.h"

#include "commandline.h"
#include "portargument.h"
#include "link/portmap.h"

namespace FleetPorts {

QList<BatchChoice::Port> resolve(const QStringList &names, const QString &optionsFile)
{
    const PortMap map = PortMap::fromOptionsFile(optionsFile);
    QList<BatchChoice::Port> ports;
    for (const QString &name : names) {
        const PortArgument argument = PortArgument::parse(name);
        ports.append({name, argument.device.isEmpty() ? map.deviceFor(argument.portNumber) : argument.device});
    }
    if (const auto problem = BatchChoice::checkPorts(ports))
        throw UsageError(problem->text);
    return ports;
}

} // namespace FleetPorts
