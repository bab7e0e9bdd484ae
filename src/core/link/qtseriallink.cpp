#include "link/qtseriallink.h"

#include "common/platformerror.h"

QtSerialLink::~QtSerialLink()
{
    close();
}

void QtSerialLink::open(const QString &device)
{
    close();
    m_device = device;
    m_port.setPortName(device);
    m_port.setBaudRate(QSerialPort::Baud1200);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    // QSerialPort opens exclusively: a lock file and, on Unix, TIOCEXCL.
    if (!m_port.open(QIODevice::ReadWrite))
        throw PlatformError(SerialErrors::cannotOpen(device, m_port.errorString()));
    raiseModemLines();
}

void QtSerialLink::raiseModemLines()
{
    // Pseudo-terminals and some virtual ports have no modem lines; the port
    // still carries data, so a refusal here is not a failure.
    m_port.setDataTerminalReady(true);
    m_port.setRequestToSend(true);
    m_port.clearError();
}

bool QtSerialLink::isOpen() const
{
    return m_port.isOpen();
}

void QtSerialLink::close()
{
    if (m_port.isOpen())
        m_port.close();
    m_port.clearError();
}

void QtSerialLink::requireOpen() const
{
    if (!m_port.isOpen())
        throw PlatformError(SerialErrors::notOpen());
}

void QtSerialLink::sendByte(std::uint8_t byte)
{
    requireOpen();
    m_port.clearError();
    const char c = static_cast<char>(byte);
    if (m_port.write(&c, 1) != 1)
        throw PlatformError(SerialErrors::cannotSend(m_device, m_port.errorString()));
    // Hand the byte to the driver now: without an event loop nothing else would.
    m_port.flush();
    if (m_port.error() == QSerialPort::ResourceError || m_port.error() == QSerialPort::WriteError)
        throw PlatformError(SerialErrors::cannotSend(m_device, m_port.errorString()));
}

bool QtSerialLink::byteReady()
{
    requireOpen();
    if (m_port.bytesAvailable() > 0)
        return true;
    // A zero wait reads whatever the driver holds without blocking.
    m_port.waitForReadyRead(0);
    return m_port.bytesAvailable() > 0;
}

std::uint8_t QtSerialLink::takeByte()
{
    requireOpen();
    char c = 0;
    if (!m_port.getChar(&c))
        throw PlatformError(QStringLiteral("Нет принятого байта"));
    return static_cast<std::uint8_t>(c);
}

bool QtSerialLink::waitForByte(int ms)
{
    requireOpen();
    if (m_port.bytesAvailable() > 0)
        return true;
    m_port.waitForReadyRead(ms);
    return m_port.bytesAvailable() > 0;
}

void QtSerialLink::purgeReceive()
{
    requireOpen();
    m_port.clear(QSerialPort::Input);
}

void QtSerialLink::purgeSend()
{
    requireOpen();
    m_port.clear(QSerialPort::Output);
}

SerialLinkFactory QtSerialLink::factory()
{
    return [] { return std::make_unique<QtSerialLink>(); };
}
