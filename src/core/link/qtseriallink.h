#pragma once

#include "link/seriallink.h"

#include <QSerialPort>

// SerialLink on a QSerialPort, used on the calling thread without an event
// loop: sends are flushed to the driver at once, and received bytes are moved
// from the driver into the port's unbounded buffer whenever the link is
// asked for one, so none is lost between two polls.
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

private:
    void requireOpen() const;
    void raiseModemLines();

    QSerialPort m_port;
    QString m_device;  // as opened, for the messages
};
