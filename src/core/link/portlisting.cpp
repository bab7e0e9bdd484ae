#include "link/portlisting.h"

#include <QFileInfo>
#include <QHash>
#include <algorithm>

namespace PortListing {

QList<ListedPort> list(const QList<SystemPort> &system, const PortMap &map)
{
    QList<ListedPort> ports;
    QHash<QString, qsizetype> byKey;
    for (const SystemPort &port : system) {
        const QString key = SystemPorts::deviceKey(port.device);
        if (byKey.contains(key))
            continue;
        byKey.insert(key, ports.size());
        ports.append({{}, port.device, port.description, port.adapter});
    }
    for (int n = 1; n <= LastPort; ++n) {
        const QString device = map.deviceFor(n);
        if (device.isEmpty())
            continue;
        const QString key = SystemPorts::deviceKey(device);
        auto found = byKey.constFind(key);
        if (found == byKey.constEnd()) {
            // A device of the options file's own, which the system does not
            // list as a serial port.
            if (!map.isNamed(n) || !QFileInfo::exists(device))
                continue;
            found = byKey.insert(key, ports.size());
            ports.append({{}, device, QString()});
        }
        ports[*found].names.append(PortMap::portName(n));
    }
    // By the first name, in the map's order; ports without one after them.
    const auto first = [](const ListedPort &port) {
        return port.names.isEmpty() ? LastPort + 1 : SystemPorts::comNumber(port.names.constFirst()).value_or(0);
    };
    std::stable_sort(ports.begin(), ports.end(), [&](const ListedPort &a, const ListedPort &b) {
        return first(a) != first(b) ? first(a) < first(b) : a.device < b.device;
    });
    return ports;
}

QString line(const ListedPort &port)
{
    const auto known = [](const QString &text) { return text.isEmpty() ? QStringLiteral("-") : text; };
    const SerialAdapter &adapter = port.adapter;
    const QString description = adapter.product.isEmpty() ? port.description : adapter.product;
    const QString latency = adapter.latencyMs ? QStringLiteral("%1 мс").arg(*adapter.latencyMs) : QString();
    return QStringList{known(port.names.join(u',')), port.device,
                       known(description),           known(adapter.manufacturer),
                       known(adapter.vidPid()),      known(adapter.serialNumber),
                       known(adapter.driver),        known(latency)}
        .join(u'\t');
}

} // namespace PortListing
