#pragma once

#include "files/profile.h"
#include "link/serialadapter.h"

#include <QList>
#include <QString>

// A serial port as the user knows it ("COM3") and the device behind it.
struct PortEntry
{
    QString name;
    QString device;
    // The system's name for the device, where it has one (Windows: "USB-SERIAL
    // CH340 (COM5)"; Linux: the adapter's, "FT232R USB UART").
    QString description = {};
    SerialAdapter adapter = {};

    // How the port prompt and the batch window show the port: Windows' name
    // where it names the port, else the port, its device and the
    // description ("COM3  (/dev/ttyUSB0)  FT232R USB UART").
    QString label() const;
    // How the search names the port it found: "COM5 — USB-SERIAL CH340".
    QString withSystemName() const;
    // What the port prompt says of the chosen port: its device, its adapter
    // and, when the adapter's latency costs time, what and how to set it.
    QString details() const;

    bool operator==(const PortEntry &) const = default;
};

// Which device a port name COM1, COM2, ... opens. Section "Ports" of the
// options file decides ("COM3=/dev/ttyUSB0"; an empty value takes the port
// away), and a port it does not name falls back to the default map. On
// Windows that is the port itself (COM5 opens COM5; portmap_win.cpp), on
// Linux (portmap_unix.cpp):
//
//   COM1 /dev/ttyS0      first built-in port ("upper connector")
//   COM2 /dev/ttyS1      second built-in port ("lower connector")
//   COM3 /dev/ttyUSB0    first USB adapter of the FTDI/CH340/PL2303 kind
//   COM4 /dev/ttyACM0    first USB adapter of the CDC-ACM kind
//   COM5 /dev/ttyUSB1
//   COM6 /dev/ttyACM1
//   COM7 /dev/ttyUSB2
//
// so that the port search over COM1 to COM7 finds one or two plugged-in
// adapters of either kind without any configuration. COM8 and above have
// devices only through section "Ports".
class PortMap
{
public:
    static constexpr int FirstDefaultless = 8;

    PortMap() = default;
    explicit PortMap(const Profile &options);
    static PortMap fromOptionsFile(const QString &optionsFile);

    static QString portName(int portNumber);
    static QString defaultDevice(int portNumber);
    // Empty when the port has no device.
    QString deviceFor(int portNumber) const;
    PortEntry entry(int portNumber) const { return {portName(portNumber), deviceFor(portNumber)}; }
    // Whether section "Ports" names the port's device itself.
    bool isNamed(int portNumber) const;

private:
    Profile m_options;
};
