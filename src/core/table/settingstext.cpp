#include "table/settingstext.h"

namespace SettingsText {

QString sectionName()
{
    return QStringLiteral("Общие установки");
}

QString sectionLine()
{
    return u'[' + sectionName() + u']';
}

QStringList templateLines()
{
    return {sectionLine(),
            QStringLiteral("Id_номер=0001"),
            QStringLiteral("Тон1=700"),
            QStringLiteral("Тон2=750"),
            QStringLiteral("Тон3=1000"),
            QStringLiteral("Тон4=1200"),
            QStringLiteral("Тон5=1400"),
            QStringLiteral("Тон6=1550"),
            QStringLiteral("Тон7=1700"),
            QStringLiteral("Тон8=1989"),
            QStringLiteral("Тон9=2100"),
            QStringLiteral("Тон10=2400"),
            QStringLiteral("P_1=5"),
            QStringLiteral("P_2=10"),
            QStringLiteral("P_3=25"),
            QStringLiteral("P_4=40"),
            QStringLiteral("Яркость диодов=1"),
            QStringLiteral("Громкость=8"),
            QStringLiteral("МинГромкость=0"),
            QStringLiteral("Пик_кнопок=+"),
            QStringLiteral("ФВ=00"),
            QStringLiteral("Код_DCS=+"),
            QStringLiteral("Ф_Скан=+"),
            QStringLiteral("Ф_V=+"),
            QStringLiteral("ВУ=-"),
            QStringLiteral("СК=1")};
}

QStringList fromPlainText(const QString &text)
{
    if (text.isEmpty())
        return {};
    QString normalised = text;
    normalised.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QStringList lines = normalised.split(u'\n');
    if (lines.size() > 1 && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QString toPlainText(const QStringList &lines)
{
    return lines.join(u'\n');
}

} // namespace SettingsText
