#pragma once

#include "link/serialadapter.h"

#include <QList>
#include <QString>
#include <optional>

// A serial port as the system lists it: its device, the name a user sees
// where the system names it (Windows: "USB-SERIAL CH340 (COM5)"; Linux: the
// adapter's own, "FT232R USB UART"), and what is known of its adapter.
struct SystemPort
{
    QString device;
    QString description;
    SerialAdapter adapter = {};

    bool operator==(const SystemPort &) const = default;
};

// The serial ports the system knows, listed without opening any: opening
// raises DTR and RTS, which resets some devices, and may wait on a slow
// driver. Read afresh at every call, so an adapter plugged in later is there.
// systemports_unix.cpp and systemports_win.cpp hold what differs.
namespace SystemPorts {

// Linux: sysfs's serial devices (SysfsPorts). Windows: SetupAPI's devices of class
// Ports, with the registry's HARDWARE\DEVICEMAP\SERIALCOMM for ports SetupAPI
// does not show; in COM order.
QList<SystemPort> list();

// One key per device whatever name reaches it (a symbolic link on Linux,
// "\\.\COM5" and "com5" on Windows), to compare devices by; a path that does
// not exist is only made absolute. Two ports of one batch may not share it.
QString deviceKey(const QString &device);

// The name the system gives the device where it lists it with one (Windows:
// "USB-SERIAL CH340 (COM5)"); empty otherwise.
QString systemName(const QString &device);

// The port numbers the "USB" search probes, in order: COM1 to COM7 through
// the port map on Linux, the COM ports Windows lists on Windows.
QList<int> searchNumbers();

// The number of a port name "COM12" (any case, no blanks); nothing for
// any other name, such as "LPT1" or "COM0".
std::optional<int> comNumber(const QString &portName);

// Sorted by COM number; a port listed twice is kept once, with its
// description and adapter where one of the two has them.
QList<SystemPort> inComOrder(QList<SystemPort> ports);

} // namespace SystemPorts
