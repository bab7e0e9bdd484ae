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

// What to check when the station does not answer.
inline QString noAnswerChecks()
{
    return QStringLiteral("Проверьте, что она включена и находится в режиме программирования, что кабель "
                          "подключен к станции и к компьютеру и что выбран порт, к которому подключен кабель.");
}

// Said under the status "AK": what it means and what to check.
inline QString noAnswerAdvice()
{
    return QStringLiteral("Станция не ответила. ") + noAnswerChecks();
}

// Said under the status of a write whose start byte went unanswered: the
// status returns to idle as after a completed write, so this tells them apart.
inline QString writeNotStarted()
{
    return QStringLiteral("Станция не ответила на начальный байт записи: в станцию ничего не записано. ")
           + noAnswerChecks();
}

// Said under the status of a completed write, with the seconds it took
// ("Записано за 18,4 с").
inline QString written(qint64 milliseconds)
{
    return QStringLiteral("Записано за %1 с")
        .arg(QString::number(double(milliseconds) / 1000.0, 'f', 1).replace(u'.', u','));
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
