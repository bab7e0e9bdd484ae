#include "helpwords.h"

namespace HelpWords {

QString stoppedBy()
{
    return QStringLiteral("сигналом SIGINT, SIGTERM или SIGHUP");
}

QString secondStop()
{
    return QStringLiteral("второй сигнал");
}

QString stopNoteLine()
{
    return QString();
}

QString portValue()
{
    return QStringLiteral("COM1...COM255 (через карту портов программы) или путь устройства.");
}

QString searchedPorts()
{
    return QStringLiteral("по карте портов программы");
}

QString twoNamesOfOneDevice()
{
    return QStringLiteral("также через ссылку или карту портов");
}

} // namespace HelpWords
