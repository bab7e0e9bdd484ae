#include "batch/batchchoice.h"

#include "link/systemports.h"

#include <QDir>
#include <QRegularExpression>

namespace BatchChoice {

std::optional<Problem> checkPorts(const QList<Port> &ports)
{
    for (qsizetype k = 0; k < ports.size(); ++k) {
        const Port &port = ports.at(k);
        if (port.device.isEmpty())
            return Problem{Problem::Kind::NoDevice,
                           QStringLiteral("Порту %1 не назначено устройство (раздел [Ports] файла V404Options.ini)")
                               .arg(port.name)};
        const QString identity = SystemPorts::deviceKey(port.device);
        for (qsizetype e = 0; e < k; ++e) {
            if (SystemPorts::deviceKey(ports.at(e).device) == identity)
                return Problem{Problem::Kind::SameDevice,
                               QStringLiteral("Порты \"%1\" и \"%2\" - одно и то же устройство %3")
                                   .arg(ports.at(e).name, port.name, QDir::toNativeSeparators(identity))};
        }
    }
    return std::nullopt;
}

Ids ids(const QString &from, qsizetype count, const QString &field)
{
    static const QRegularExpression fourDigits(QStringLiteral("^[0-9]{4}$"));
    if (!fourDigits.match(from).hasMatch())
        return {{},
                Problem{Problem::Kind::IdNotDigits,
                        QStringLiteral("%1 \"%2\": нужны четыре десятичные цифры, например 0001").arg(field, from)}};
    const int first = from.toInt();
    const qsizetype last = first + count - 1;
    if (last > LastId)
        return {{},
                Problem{Problem::Kind::IdPastLast, QStringLiteral("%1 %2: для %3 станций Id дойдёт до %4, больше %5")
                                                       .arg(field, from)
                                                       .arg(count)
                                                       .arg(last)
                                                       .arg(LastId)}};
    QStringList list;
    for (qsizetype k = 0; k < count; ++k)
        list.append(QStringLiteral("%1").arg(first + k, 4, 10, QLatin1Char('0')));
    return {list, std::nullopt};
}

} // namespace BatchChoice
