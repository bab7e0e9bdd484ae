#include "link/portmap.h"

#include "link/options.h"

#include <QStringList>

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
    if (description.contains(u'(' + name + u')'))
        return description;
    QString text = device == name ? name : name + QStringLiteral("  (") + device + u')';
    if (!description.isEmpty())
        text += QStringLiteral("  ") + description;
    return text;
}

QString PortEntry::details() const
{
    QStringList lines;
    if (device != name)
        lines.append(QStringLiteral("Устройство: ") + device);
    if (const QString known = adapter.details(); !known.isEmpty())
        lines.append(QStringLiteral("Адаптер: ") + known);
    if (const QString note = adapter.latencyNote(device); !note.isEmpty())
        lines.append(u'\n' + note);
    return lines.join(u'\n');
}

QString PortEntry::withSystemName() const
{
    // Windows names a port "USB-SERIAL CH340 (COM5)": the port is said first, once.
    QString systemName = description;
    const QString own = QStringLiteral(" (%1)").arg(name);
    if (systemName.endsWith(own, Qt::CaseInsensitive))
        systemName.chop(own.size());
    const bool deviceIsPort = QString(device).remove(QStringLiteral("\\\\.\\")).compare(name, Qt::CaseInsensitive) == 0;
    if (!deviceIsPort)
        systemName = systemName.isEmpty() ? device : systemName + QStringLiteral(" (") + device + u')';
    return systemName.isEmpty() ? name : name + QStringLiteral(" — ") + systemName;
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
