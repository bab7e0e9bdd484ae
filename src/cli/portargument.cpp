#include "portargument.h"

#include "commandline.h"

#include <QRegularExpression>

PortArgument PortArgument::parse(const QString &text)
{
    if (text.isEmpty())
        throw UsageError(QStringLiteral("Не указан порт"));
    static const QRegularExpression comName(QStringLiteral("^COM(\\d+)$"), QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = comName.match(text);
    if (!match.hasMatch())
        return PortArgument{0, text};
    bool ok = false;
    const int number = match.captured(1).toInt(&ok);
    if (!ok || number < 1 || number > 255)
        throw UsageError(QStringLiteral("Порт \"%1\": номер порта должен быть от 1 до 255").arg(text));
    return PortArgument{static_cast<std::uint8_t>(number), QString()};
}
