#include "link/seriallink.h"

#include <QDeadlineTimer>
#include <QThread>

qint64 SerialLink::clockMs() const
{
    return QDeadlineTimer::current(Qt::PreciseTimer).deadline();
}

void SerialLink::idle(int ms)
{
    if (ms > 0)
        QThread::msleep(static_cast<unsigned long>(ms));
}

namespace SerialErrors {

QString notOpen()
{
    return QStringLiteral("Последовательный порт не открыт");
}

QString noPortChosen()
{
    return QStringLiteral("Последовательный порт не выбран");
}

QString cannotOpen(const QString &device, const QString &reason)
{
    return QStringLiteral("Не удалось открыть последовательный порт %1: %2").arg(device, reason);
}

QString cannotSend(const QString &device, const QString &reason)
{
    return QStringLiteral("Не удалось передать байт в последовательный порт %1: %2").arg(device, reason);
}

QString cannotReceive(const QString &device, const QString &reason)
{
    return QStringLiteral("Не удалось принять байт из последовательного порта %1: %2").arg(device, reason);
}

QString noDevice(const QString &portName)
{
    return QStringLiteral("Не удалось открыть последовательный порт %1: ему не назначено "
                          "устройство (раздел [Ports] файла V404Options.ini)")
        .arg(portName);
}

QString portBusy(const QString &device)
{
    return QStringLiteral("Порт %1 занят: с этим устройством уже работает другая передача данных").arg(device);
}

QString noPermission(const QString &device, const QString &account)
{
    return QStringLiteral("Нет доступа к последовательному порту %1: учётная запись %2 не входит в группу dialout. "
                          "Добавьте её в группу командой\n    sudo adduser %2 dialout\n"
                          "и войдите в систему заново (выйдите из сеанса и снова войдите).")
        .arg(device, account);
}

} // namespace SerialErrors

namespace SerialErrors {

QString aborted()
{
    return QStringLiteral("передача прервана по второму запросу остановки");
}

} // namespace SerialErrors
