#pragma once

#include <QString>
#include <QtGlobal>
#include <cstdint>
#include <functional>
#include <memory>

// One serial device as the radio link uses it: 1200 baud 8N1 without flow
// control, opened exclusively, bytes sent one at a time without waiting for
// the line and received bytes kept in arrival order until taken.
//
// Every operation but open, isOpen and close throws PlatformError with
// SerialErrors::notOpen() while the device is closed, so that a transfer that
// went on after its port was closed stops at its next port operation.
class SerialLink
{
public:
    virtual ~SerialLink() = default;

    // Closes the device if open, then opens the named one and sets it up.
    // Throws PlatformError with the system's reason when it cannot be opened.
    virtual void open(const QString &device) = 0;
    virtual bool isOpen() const = 0;
    // Closing a closed device does nothing.
    virtual void close() = 0;

    // Queues the byte and returns at once; it goes out in the background.
    virtual void sendByte(std::uint8_t byte) = 0;
    // True when a received byte waits; returns at once.
    virtual bool byteReady() = 0;
    // The oldest received byte; only after byteReady() said true.
    virtual std::uint8_t takeByte() = 0;
    // Waits at most `ms` milliseconds for a byte to arrive; true when one waits.
    virtual bool waitForByte(int ms) = 0;
    // Drop received bytes not yet taken, and bytes queued but not yet sent.
    virtual void purgeReceive() = 0;
    virtual void purgeSend() = 0;

    // The line's clock, in milliseconds from any fixed point, and a pause
    // on it, open or closed: waits that last a while (a quiet line, the
    // write's pause) are measured on the line, so that a line in memory
    // counts its own time. A real port has the steady clock and sleeps.
    virtual qint64 clockMs() const;
    virtual void idle(int ms);
};

using SerialLinkFactory = std::function<std::unique_ptr<SerialLink>()>;

// The serial layer's own wording of its failures.
namespace SerialErrors {

QString notOpen();
QString noPortChosen();
QString cannotOpen(const QString &device, const QString &reason);
// The device went away under an open port (a pulled adapter).
QString cannotSend(const QString &device, const QString &reason);
QString cannotReceive(const QString &device, const QString &reason);
QString noDevice(const QString &portName);
// Another transfer holds the device, by this name or another.
QString portBusy(const QString &device);
// The system lets the account not open the device: on Linux the serial
// devices belong to the group dialout, which the account must join.
QString noPermission(const QString &device, const QString &account);
// The transfer was ended at once from outside (a second stop request).
QString aborted();

} // namespace SerialErrors
