#include "link/seriallink.h"

namespace SerialErrors {

QString notOpen()
{
    return QStringLiteral("Serial port is not open");
}

QString noPortChosen()
{
    return QStringLiteral("No serial port was chosen");
}

QString cannotOpen(const QString &device, const QString &reason)
{
    return QStringLiteral("Cannot open serial port %1: %2").arg(device, reason);
}

QString cannotSend(const QString &device, const QString &reason)
{
    return QStringLiteral("Cannot send to serial port %1: %2").arg(device, reason);
}

QString noDevice(const QString &portName)
{
    return QStringLiteral("Cannot open serial port %1: no device is assigned to it "
                          "(section [Ports] of V404Options.ini)").arg(portName);
}

QString portBusy(const QString &device)
{
    return QStringLiteral("Порт %1 занят: с этим устройством уже работает другая передача данных").arg(device);
}

} // namespace SerialErrors
