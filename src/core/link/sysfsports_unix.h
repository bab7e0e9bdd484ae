#pragma once

#include "link/systemports.h"

#include <QList>
#include <QString>

// The serial ports as Linux's sysfs tells them, and what it tells of each
// port's adapter: the driver, an FTDI adapter's latency timer, and the USB
// device's ids, maker, name and serial number. Only sysfs's own files are
// read; no port is opened. (Qt's list opens every built-in port the 8250
// driver names, which raises its DTR and RTS, to learn whether a UART is
// there; sysfs tells that too.)
//
// `sysfsRoot` is where sysfs is mounted: a folder of the test's own in tests.
namespace SysfsPorts {

// Every tty with a device and a driver behind it, but the names the 8250
// driver keeps for UARTs that are not there (type 0), as /dev/<name>, by name.
QList<SystemPort> list(const QString &sysfsRoot = QStringLiteral("/sys"));

// The adapter behind the serial device `device` ("/dev/ttyUSB0", or a link
// to it).
SerialAdapter adapter(const QString &device, const QString &sysfsRoot = QStringLiteral("/sys"));

} // namespace SysfsPorts
