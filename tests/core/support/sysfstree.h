#pragma once

// A sysfs tree in a temporary folder, laid out as Linux lays out its serial
// ports: class/tty/<tty>/device leads to the port's device folder under
// devices/, whose driver link leads to the driver; a USB adapter's ids,
// maker, name and serial number are in the USB device's folder above.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

struct UsbIds
{
    QString vendor, product; // "0403", "6001"
    // Each left out when empty, as adapters without one do.
    QString manufacturer, name, serial;
};

class SysfsTree
{
public:
    QString root() const { return m_dir.path(); }

    // A USB serial converter's port (ftdi_sio, ch341-uart, pl2303, cp210x):
    // the tty's device is the driver's port, below the USB interface.
    void addUsbSerial(const QString &tty, const QString &driver, const UsbIds &ids, std::optional<int> latencyMs = {})
    {
        const QString port = addUsbDevice(ids) + ":1.0/" + tty;
        addPort(tty, port, "bus/usb-serial/drivers/" + driver);
        if (latencyMs)
            write(port + "/latency_timer", QString::number(*latencyMs));
    }
    // A CDC-ACM adapter: the tty's device is the USB interface itself.
    void addAcm(const QString &tty, const UsbIds &ids)
    {
        addPort(tty, addUsbDevice(ids) + ":1.0", "bus/usb/drivers/cdc_acm");
    }
    // A port on the main board; the 8250 driver keeps names for UARTs that
    // are not there, of type 0 (PORT_UNKNOWN).
    void addBuiltIn(const QString &tty, int type = 4)
    {
        addPort(tty, "devices/platform/serial8250", "bus/platform/drivers/serial8250");
        write("class/tty/" + tty + "/type", QString::number(type));
    }
    // A terminal with no device behind it (a virtual console).
    void addVirtual(const QString &tty) { write("class/tty/" + tty + "/dev", "4:1"); }
    // The same as Linux shows it from 6.5 on: the tty's device is a port of
    // the serial core's own bus, below its controller, below the board's
    // device of the driver that counts.
    void addSerialCorePort(const QString &tty)
    {
        addPort(tty, "devices/pnp0/00:00/00:00:0/00:00:0.0", "bus/serial-base/drivers/port");
        addDriver("devices/pnp0/00:00/00:00:0", "bus/serial-base/drivers/ctrl");
        addDriver("devices/pnp0/00:00", "bus/pnp/drivers/serial");
    }

    // A device node (an empty file) and a link to it, as /dev/serial/by-id has.
    QString addDeviceLink(const QString &tty, const QString &linkName)
    {
        write("dev/" + tty, QString());
        write("dev/serial/by-id/.keep", QString());
        const QString link = path("dev/serial/by-id/" + linkName);
        return QFile::link(path("dev/" + tty), link) ? link : QString();
    }

private:
    QString path(const QString &relative) const { return m_dir.filePath(relative); }
    // The USB device's folder, named as the kernel names it ("1-2").
    QString addUsbDevice(const UsbIds &ids)
    {
        const QString usb = QString("devices/pci0000:00/0000:00:14.0/usb1/1-%1").arg(++m_usbDevices);
        write(usb + "/idVendor", ids.vendor);
        write(usb + "/idProduct", ids.product);
        for (const auto &[name, value] : {std::pair{"manufacturer", ids.manufacturer}, std::pair{"product", ids.name},
                                          std::pair{"serial", ids.serial}})
            if (!value.isEmpty())
                write(usb + '/' + name, value);
        return usb + '/' + QFileInfo(usb).fileName();
    }
    void addPort(const QString &tty, const QString &device, const QString &driver)
    {
        QVERIFY(QDir(root()).mkpath(device) && QDir(root()).mkpath("class/tty/" + tty));
        addDriver(device, driver);
        QVERIFY(QFile::link(path(device), path("class/tty/" + tty + "/device")));
    }
    void addDriver(const QString &device, const QString &driver)
    {
        QVERIFY(QDir(root()).mkpath(driver));
        QVERIFY(QFile::exists(path(device + "/driver")) || QFile::link(path(driver), path(device + "/driver")));
    }
    // An attribute as the kernel shows it, with a line end.
    void write(const QString &relative, const QString &text)
    {
        QDir(root()).mkpath(QFileInfo(relative).path());
        QFile file(path(relative));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text.isEmpty() ? QByteArray() : text.toUtf8() + '\n');
    }

    QTemporaryDir m_dir;
    int m_usbDevices = 0;
};
