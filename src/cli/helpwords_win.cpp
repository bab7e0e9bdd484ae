#include "helpwords.h"

namespace HelpWords {

QString stoppedBy()
{
    return QStringLiteral("клавишами Ctrl+C или Ctrl+Break");
}

QString secondStop()
{
    return QStringLiteral("второе нажатие Ctrl+C");
}

QString stopNoteLine()
{
    // Windows ends a program whose console is closed once it has been told,
    // a few seconds at most, whatever it is doing.
    return QStringLiteral("\nЗакрытие окна консоли завершает программу сразу, и начатая запись остаётся\n"
                          "незаконченной: останавливайте клавишами Ctrl+C.");
}

QString portValue()
{
    return QStringLiteral("COM1...COM255 - порт с этим номером, как его называет Windows (диспетчер "
                          "устройств, \"Порты (COM и LPT)\"), или путь устройства (\\\\.\\COM12).");
}

QString searchedPorts()
{
    return QStringLiteral("- портов Windows с этими номерами");
}

QString twoNamesOfOneDevice()
{
    return QStringLiteral("например, COM3 и \\\\.\\COM3");
}

} // namespace HelpWords
