#include "link/sysfsports_unix.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// An attribute's text without its line end; empty when there is none.
QString attribute(const QString &folder, const QString &name)
{
    QFile file(folder + u'/' + name);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.read(4096)).trimmed();
}

std::optional<quint16> hexId(const QString &text)
{
    bool ok = false;
    const uint value = text.toUInt(&ok, 16);
    if (!ok || value > 0xFFFF)
        return std::nullopt;
    return static_cast<quint16>(value);
}

// The driver of the device: from Linux 6.5 on a built-in port hangs below
// the serial core's own port and controller (drivers "port" and "ctrl" on
// the bus serial-base), which say nothing; the driver above them does.
QString driverOf(const QString &device, const QString &root)
{
    for (QString folder = device; folder.startsWith(root + u'/'); folder = QFileInfo(folder).path()) {
        const QString driver = QFileInfo(folder + QStringLiteral("/driver")).canonicalFilePath();
        if (driver.isEmpty())
            break;
        if (!driver.startsWith(root + QStringLiteral("/bus/serial-base/")))
            return QFileInfo(driver).fileName();
    }
    return QString();
}

} // namespace

namespace SysfsPorts {

SerialAdapter adapter(const QString &device, const QString &sysfsRoot)
{
    SerialAdapter adapter;
    const QString resolved = QFileInfo(device).canonicalFilePath();
    const QString name = QFileInfo(resolved.isEmpty() ? device : resolved).fileName();
    const QString root = QFileInfo(sysfsRoot).canonicalFilePath();
    // The port's own device: for a USB serial adapter the port of its
    // driver, for a CDC-ACM adapter its interface.
    const QString port =
        QFileInfo(sysfsRoot + QStringLiteral("/class/tty/") + name + QStringLiteral("/device")).canonicalFilePath();
    if (name.isEmpty() || root.isEmpty() || port.isEmpty())
        return adapter;
    adapter.driver = driverOf(port, root);
    bool ok = false;
    const int latency = attribute(port, QStringLiteral("latency_timer")).toInt(&ok);
    if (ok && latency >= 0)
        adapter.latencyMs = latency;

    // The USB device is the nearest folder above that has USB ids.
    for (QString folder = port; folder.startsWith(root + u'/'); folder = QFileInfo(folder).path()) {
        if (!QFileInfo::exists(folder + QStringLiteral("/idVendor")))
            continue;
        adapter.vendorId = hexId(attribute(folder, QStringLiteral("idVendor")));
        adapter.productId = hexId(attribute(folder, QStringLiteral("idProduct")));
        adapter.manufacturer = attribute(folder, QStringLiteral("manufacturer"));
        adapter.product = attribute(folder, QStringLiteral("product"));
        adapter.serialNumber = attribute(folder, QStringLiteral("serial"));
        break;
    }
    return adapter;
}

QList<SystemPort> list(const QString &sysfsRoot)
{
    QList<SystemPort> ports;
    const QDir ttys(sysfsRoot + QStringLiteral("/class/tty"));
    for (const QString &name : ttys.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        const QString folder = ttys.filePath(name);
        // Consoles, virtual terminals and pseudo-terminals have no device.
        if (QFileInfo(folder + QStringLiteral("/device/driver")).canonicalFilePath().isEmpty())
            continue;
        if (attribute(folder, QStringLiteral("type")) == u'0')
            continue;
        const QString device = QStringLiteral("/dev/") + name;
        const SerialAdapter found = adapter(device, sysfsRoot);
        ports.append({device, found.product, found});
    }
    return ports;
}

} // namespace SysfsPorts
