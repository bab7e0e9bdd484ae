#pragma once

#include "link/qtseriallink.h"

#include <QByteArray>
#include <memory>

// The serial port of the program, keeping a copy of every byte the transfer
// takes from the line, so that a read's reply can be compared byte for byte.
class RecordingSerialLink final : public SerialLink
{
public:
    explicit RecordingSerialLink(std::shared_ptr<QByteArray> taken) : m_taken(std::move(taken)) {}

    static SerialLinkFactory factory(const std::shared_ptr<QByteArray> &taken)
    {
        return [taken] { return std::make_unique<RecordingSerialLink>(taken); };
    }

    void open(const QString &device) override { m_link.open(device); }
    bool isOpen() const override { return m_link.isOpen(); }
    void close() override { m_link.close(); }
    void sendByte(std::uint8_t byte) override { m_link.sendByte(byte); }
    bool byteReady() override { return m_link.byteReady(); }
    std::uint8_t takeByte() override
    {
        const std::uint8_t byte = m_link.takeByte();
        m_taken->append(static_cast<char>(byte));
        return byte;
    }
    bool waitForByte(int ms) override { return m_link.waitForByte(ms); }
    void purgeReceive() override { m_link.purgeReceive(); }
    void purgeSend() override { m_link.purgeSend(); }

private:
    std::shared_ptr<QByteArray> m_taken;
    QtSerialLink m_link;
};
