#include "link/serialadapter.h"

#include <QLocale>
#include <QStringList>
#include <cmath>

namespace {

QString hex4(quint16 value)
{
    return QStringLiteral("%1").arg(value, 4, 16, QLatin1Char('0')).toUpper();
}

} // namespace

QString SerialAdapter::vidPid() const
{
    if (!vendorId || !productId)
        return QString();
    return hex4(*vendorId) + u':' + hex4(*productId);
}

QString SerialAdapter::details() const
{
    QStringList parts;
    for (const QString &text : {product, manufacturer, vidPid()})
        if (!text.isEmpty())
            parts.append(text);
    if (!serialNumber.isEmpty())
        parts.append(QStringLiteral("серийный номер ") + serialNumber);
    if (!driver.isEmpty())
        parts.append(QStringLiteral("драйвер ") + driver);
    if (latencyMs)
        parts.append(QStringLiteral("задержка %1 мс").arg(*latencyMs));
    return parts.join(QStringLiteral(", "));
}

QString SerialAdapter::latencyNote(const QString &device) const
{
    if (!latencyMs || *latencyMs <= 1)
        return QString();
    // Against 1 ms, each answered byte may wait this much longer.
    const double extraSeconds = (*latencyMs - 1) * BytesOf99ChannelWrite / 1000.0;
    return QStringLiteral("Задержка адаптера %1 мс: станция отвечает на каждый байт записи, а адаптер "
                          "держит каждый ответ до %1 мс, поэтому запись 99 каналов может идти до %2 с "
                          "дольше, чем с задержкой 1 мс. Установите задержку 1 мс: %3")
        .arg(*latencyMs)
        .arg(QLocale(QLocale::Russian).toString(std::round(extraSeconds)))
        .arg(latencyTimerInstructions(device));
}
