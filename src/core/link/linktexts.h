#pragma once

#include <QLocale>
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

// Said under the status "AK": what it means and what to check.
inline QString noAnswerAdvice()
{
    return QStringLiteral("Станция не ответила. Проверьте, что она включена и находится в режиме "
                          "программирования, что кабель подключен к станции и к компьютеру и что выбран "
                          "порт, к которому подключен кабель.");
}

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

// The port prompt with no port to offer.
inline QString noPortFound()
{
    return QStringLiteral("Не найдено ни одного последовательного порта.");
}

inline QString dataNotChecked()
{
    return QStringLiteral("Введенные данные не будут переданы, так как они не проверены.");
}

} // namespace LinkTexts

// ": линия занята - ..." for a transfer whose quiet-line wait gave up after
// `boundMs`: the line was not silent but busy with bytes nobody asked for.
inline QString busyLineText(int boundMs)
{
    return QStringLiteral(": линия занята - по ней %1 с без перерыва шли данные, в станцию ничего не отправлено")
        .arg(QLocale(QLocale::Russian).toString(boundMs / 1000.0));
}
