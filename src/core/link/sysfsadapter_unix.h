#pragma once

#include "link/serialadapter.h"

#include <QString>

// What Linux's sysfs tells of the adapter behind a serial device: the
// driver of the port, an FTDI adapter's latency timer, and the USB device's
// ids, maker, name and serial number. Only sysfs's own files are read; the
// port is not opened.
namespace SysfsAdapter {

// `device` is the serial device ("/dev/ttyUSB0", or a link to it);
// `sysfsRoot` is where sysfs is mounted (a folder of the test's own in tests).
SerialAdapter read(const QString &device, const QString &sysfsRoot = QStringLiteral("/sys"));

} // namespace SysfsAdapter
