#include "link/heldport.h"

#include "common/platformerror.h"

#include <QString>

struct HeldPort::Device
{
    std::unique_ptr<SerialLink> link;
    QString name; // as first opened
};

namespace {

class HeldLink final : public SerialLink
{
public:
    explicit HeldLink(std::shared_ptr<HeldPort::Device> device) : m_device(std::move(device)) {}

    void open(const QString &device) override
    {
        SerialLink &link = *m_device->link;
        if (!link.isOpen()) {
            link.open(device);
            m_device->name = device;
        } else if (device != m_device->name) {
            // A sequence stays on its station's device.
            throw PlatformError(SerialErrors::cannotOpen(device, m_device->name));
        } else {
            link.purgeReceive();
        }
        m_open = true;
    }
    bool isOpen() const override { return m_open && m_device->link->isOpen(); }
    void close() override { m_open = false; }

    void sendByte(std::uint8_t byte) override { held().sendByte(byte); }
    bool byteReady() override { return held().byteReady(); }
    std::uint8_t takeByte() override { return held().takeByte(); }
    bool waitForByte(int ms) override { return held().waitForByte(ms); }
    void purgeReceive() override { held().purgeReceive(); }
    void purgeSend() override { held().purgeSend(); }
    // The device's line keeps time whether this transfer has it open or not.
    qint64 clockMs() const override { return m_device->link->clockMs(); }
    void idle(int ms) override { m_device->link->idle(ms); }

private:
    SerialLink &held() const
    {
        if (!isOpen())
            throw PlatformError(SerialErrors::notOpen());
        return *m_device->link;
    }

    std::shared_ptr<HeldPort::Device> m_device;
    bool m_open = false;
};

} // namespace

HeldPort::HeldPort(SerialLinkFactory factory) : m_device(std::make_shared<Device>())
{
    m_device->link = factory();
}

SerialLinkFactory HeldPort::factory() const
{
    return [device = m_device] { return std::make_unique<HeldLink>(device); };
}
