#pragma once

#include "link/seriallink.h"

#include <QSerialPort>

// SerialLink on a QSerialPort, used on the calling thread without an event
// loop: sends are flushed to the driver at once, and received bytes are moved
// from the driver into the port's unbounded buffer whenever the link is
// asked for one, so none is lost between two polls.
//
// A device is opened by its resolved path and locked (flock) for as long as
// it is open, so that two names of one device (a symlink, /dev/serial/by-id)
// are one port, also for a user whom the exclusive open does not stop.
class QtSerialLink final : public SerialLink
{
public:
    QtSerialLink() = default;
    ~QtSerialLink() override;

    void open(const QString &device) override;
    bool isOpen() const override;
    void close() override;

    void sendByte(std::uint8_t byte) override;
    bool byteReady() override;
    std::uint8_t takeByte() override;
    bool waitForByte(int ms) override;
    void purgeReceive() override;
    void purgeSend() override;

    static SerialLinkFactory factory();

    // Whether the driver took the request for low latency when the port
    // was opened (see requestLowLatency).
    bool lowLatency() const { return m_lowLatency; }

private:
    void requireOpen() const;
    // Waits up to `ms` for received bytes; throws PlatformError when the
    // device failed meanwhile (a pulled adapter, a line hung up), which is
    // no silence of the station.
    void waitForData(int ms);
    void raiseModemLines();

    // Holds the device for this link against every other transfer, whatever
    // name it was reached by; throws the busy message when another holds it.
    void lockDevice(const QString &resolved);
    void unlockDevice();

    QSerialPort m_port;
    QString m_device; // as opened, for the messages
    int m_lockFd = -1;
    bool m_lowLatency = false;
};
