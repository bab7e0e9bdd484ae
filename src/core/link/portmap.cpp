#include "link/portmap.h"

#include "link/options.h"

PortMap::PortMap(const Profile &options) : m_options(options) {}

PortMap PortMap::fromOptionsFile(const QString &optionsFile)
{
    return PortMap(LinkOptions::load(optionsFile));
}

QString PortMap::portName(int portNumber)
{
    return QStringLiteral("COM") + QString::number(portNumber);
}

QString PortEntry::label() const
{
    if (!description.isEmpty())
        return description;
    if (device == name)
        return name;
    return name + QStringLiteral("  (") + device + u')';
}

bool PortMap::isNamed(int portNumber) const
{
    return m_options.value(QStringLiteral("Ports"), portName(portNumber)).has_value();
}

QString PortMap::deviceFor(int portNumber) const
{
    if (portNumber < 1)
        return QString();
    if (const auto mapped = m_options.value(QStringLiteral("Ports"), portName(portNumber)))
        return *mapped;
    return defaultDevice(portNumber);
}
