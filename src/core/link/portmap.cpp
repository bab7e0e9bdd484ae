#include "link/portmap.h"

#include "link/options.h"

#include <array>

PortMap::PortMap(const Profile &options) : m_options(options) {}

PortMap PortMap::fromOptionsFile(const QString &optionsFile)
{
    return PortMap(LinkOptions::load(optionsFile));
}

QString PortMap::portName(int portNumber)
{
    return QStringLiteral("COM") + QString::number(portNumber);
}

QString PortMap::defaultDevice(int portNumber)
{
#ifdef Q_OS_WIN
    return portName(portNumber);
#else
    static const std::array<const char *, 7> devices = {
        "/dev/ttyS0", "/dev/ttyS1", "/dev/ttyUSB0", "/dev/ttyACM0", "/dev/ttyUSB1", "/dev/ttyACM1", "/dev/ttyUSB2",
    };
    if (portNumber < 1 || portNumber >= FirstDefaultless)
        return QString();
    return QString::fromLatin1(devices[static_cast<std::size_t>(portNumber - 1)]);
#endif
}

bool PortMap::isNamed(int portNumber) const
{
    return m_options.value(QStringLiteral("Ports"), portName(portNumber)).has_value();
}

QString PortMap::deviceFor(int portNumber) const
{
    if (portNumber < 1)
        return QString();
#ifdef Q_OS_WIN
    return portName(portNumber);
#else
    if (const auto mapped = m_options.value(QStringLiteral("Ports"), portName(portNumber)))
        return *mapped;
    return defaultDevice(portNumber);
#endif
}
