#include "link/systemports.h"

#include <algorithm>

namespace SystemPorts {

std::optional<int> comNumber(const QString &portName)
{
    if (portName.size() < 4 || !portName.startsWith(QStringLiteral("COM"), Qt::CaseInsensitive))
        return std::nullopt;
    const QStringView digits = QStringView(portName).mid(3);
    if (digits.front() == u'0')
        return std::nullopt;
    bool ok = false;
    const int number = digits.toInt(&ok);
    const bool plain = std::all_of(digits.begin(), digits.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    if (!ok || !plain || number < 1)
        return std::nullopt;
    return number;
}

QString systemName(const QString &device)
{
    const QString key = deviceKey(device);
    for (const SystemPort &port : list()) {
        if (deviceKey(port.device) == key)
            return port.description;
    }
    return QString();
}

QList<SystemPort> inComOrder(QList<SystemPort> ports)
{
    const auto number = [](const SystemPort &port) { return comNumber(port.device).value_or(0); };
    std::stable_sort(ports.begin(), ports.end(), [&](const SystemPort &a, const SystemPort &b) {
        return number(a) != number(b) ? number(a) < number(b) : a.device < b.device;
    });
    QList<SystemPort> kept;
    for (const SystemPort &port : ports) {
        if (!kept.isEmpty() && deviceKey(kept.back().device) == deviceKey(port.device)) {
            if (kept.back().description.isEmpty())
                kept.back().description = port.description;
            if (kept.back().adapter == SerialAdapter())
                kept.back().adapter = port.adapter;
            continue;
        }
        kept.append(port);
    }
    return kept;
}

} // namespace SystemPorts
