#pragma once

#include "link/seriallink.h"

#include <QByteArray>

// SerialLink on the Win32 communications API, used on the calling thread:
// CreateFileW on "\\.\COMn" (the prefix is needed from COM10 on), 1200 baud
// 8N1 without flow control, DTR and RTS raised as on Linux. Windows opens a
// COM port exclusively, which is also what keeps a second transfer off the
// device. Every read and write is bounded by the port's time-outs, so a
// pulled adapter ends a transfer with an error instead of a hang.
class WinSerialLink final : public SerialLink
{
public:
    WinSerialLink() = default;
    ~WinSerialLink() override;
    WinSerialLink(const WinSerialLink &) = delete;
    WinSerialLink &operator=(const WinSerialLink &) = delete;

    void open(const QString &device) override;
    bool isOpen() const override;
    void close() override;

    void sendByte(std::uint8_t byte) override;
    bool byteReady() override;
    std::uint8_t takeByte() override;
    bool waitForByte(int ms) override;
    void purgeReceive() override;
    void purgeSend() override;

    // The name CreateFileW takes for a port name or device ("COM12" gives
    // "\\.\COM12"); a name that already is a device path stays as it is.
    static QString devicePath(const QString &device);

private:
    void requireOpen() const;
    // Moves what the driver holds into m_received, waiting at most `ms`
    // milliseconds for the first byte (0: not at all).
    void fill(int ms);
    [[noreturn]] void failed(unsigned long error, bool sending);

    void *m_handle = nullptr; // HANDLE, kept out of the header
    int m_waitMs = -1;        // the read time-out set on the port now
    QString m_device;
    QByteArray m_received;
};
