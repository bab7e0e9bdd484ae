#pragma once

#include <QString>

// Fixed texts of the transfer dialog and its port prompt.
namespace LinkTexts {

// Status line
inline QString idle()
{
    return QStringLiteral("- -");
}
inline QString writing()
{
    return QStringLiteral("ПР");
} // Cyrillic
inline QString reading()
{
    return QStringLiteral("ПП");
} // Cyrillic
inline QString noAnswer()
{
    return QStringLiteral("AK");
} // Latin A and K

// Caption of the search button
inline QString searchIdle()
{
    return QStringLiteral("USB");
}
inline QString searching()
{
    return QStringLiteral("Идет Поиск...");
}
inline QString searchFound()
{
    return QStringLiteral("Подключились");
}
inline QString searchNotFound()
{
    return QStringLiteral("Не Подключились");
}

// Port prompt
inline QString promptCaption()
{
    return QStringLiteral("Select Port");
}
inline QString promptLine1()
{
    return QStringLiteral("The configured serial port is not valid.");
}
inline QString promptLine2()
{
    return QStringLiteral("Please choose another port.");
}

inline QString dataNotChecked()
{
    return QStringLiteral("Введенные данные не будут переданы, так как они не проверены.");
}

} // namespace LinkTexts
