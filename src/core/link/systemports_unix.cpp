#include "link/systemports.h"

#include "link/portsearch.h"
#include "link/sysfsadapter_unix.h"

#include <QDir>
#include <QFileInfo>
#include <QSerialPortInfo>

namespace SystemPorts {

QList<SystemPort> list()
{
    QList<SystemPort> ports;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        // sysfs tells the driver and the latency timer too; Qt may know a
        // name from udev's database where the adapter gives none itself.
        SerialAdapter adapter = SysfsAdapter::read(info.systemLocation());
        if (adapter.product.isEmpty())
            adapter.product = info.description();
        if (adapter.manufacturer.isEmpty())
            adapter.manufacturer = info.manufacturer();
        if (adapter.serialNumber.isEmpty())
            adapter.serialNumber = info.serialNumber();
        if (!adapter.vendorId && info.hasVendorIdentifier() && info.hasProductIdentifier()) {
            adapter.vendorId = info.vendorIdentifier();
            adapter.productId = info.productIdentifier();
        }
        ports.append({info.systemLocation(), adapter.product, adapter});
    }
    return ports;
}

QString deviceKey(const QString &device)
{
    const QFileInfo info(device);
    const QString path = info.canonicalFilePath();
    // A name the file system does not know (a device not plugged in) is
    // still one device per spelling.
    return path.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : path;
}

QList<int> searchNumbers()
{
    // The default map gives COM1 to COM7 the built-in ports and the first
    // USB adapters of either kind (see PortMap).
    QList<int> numbers;
    for (int n = PortSearch::FirstPort; n <= PortSearch::LastPort; ++n)
        numbers.append(n);
    return numbers;
}

} // namespace SystemPorts
