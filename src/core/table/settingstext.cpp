#include "table/settingstext.h"

namespace SettingsText {

const std::array<KeySpec, KeyCount> &keys()
{
    // name, template, file default, check default
    static const std::array<KeySpec, KeyCount> table{{
        {Key::Serial, QStringLiteral("Серийный номер"), std::nullopt, QStringLiteral("100000"), QString()},
        {Key::Id, QStringLiteral("Id_номер"), QStringLiteral("0001"), QStringLiteral("1000"), QStringLiteral("0")},
        {Key::Tone1, QStringLiteral("Тон1"), QStringLiteral("700"), QStringLiteral("1000"), QStringLiteral("10000")},
        {Key::Tone2, QStringLiteral("Тон2"), QStringLiteral("750"), QStringLiteral("1000"), QStringLiteral("10000")},
        {Key::Tone3, QStringLiteral("Тон3"), QStringLiteral("1000"), QStringLiteral("1000"), QStringLiteral("10000")},
        {Key::Tone4, QStringLiteral("Тон4"), QStringLiteral("1200"), QStringLiteral("1000"), QStringLiteral("10000")},
        {Key::Tone5, QStringLiteral("Тон5"), QStringLiteral("1400"), QStringLiteral("1000"), QStringLiteral("10000")},
        {Key::Tone6, QStringLiteral("Тон6"), QStringLiteral("1550"), QStringLiteral("1000"), QStringLiteral("10000")},
        {Key::Tone7, QStringLiteral("Тон7"), QStringLiteral("1700"), QStringLiteral("1000"), QStringLiteral("10000")},
        {Key::Tone8, QStringLiteral("Тон8"), QStringLiteral("1989"), QStringLiteral("1000"), QStringLiteral("10000")},
        {Key::Tone9, QStringLiteral("Тон9"), QStringLiteral("2100"), QStringLiteral("1000"), QStringLiteral("10000")},
        {Key::Tone10, QStringLiteral("Тон10"), QStringLiteral("2400"), QStringLiteral("1000"), QStringLiteral("10000")},
        {Key::P1, QStringLiteral("P_1"), QStringLiteral("5"), QStringLiteral("1"), QString()},
        {Key::P2, QStringLiteral("P_2"), QStringLiteral("10"), QStringLiteral("1"), QString()},
        {Key::P3, QStringLiteral("P_3"), QStringLiteral("25"), QStringLiteral("1"), QString()},
        {Key::P4, QStringLiteral("P_4"), QStringLiteral("40"), QStringLiteral("1"), QString()},
        {Key::Brightness, QStringLiteral("Яркость диодов"), QStringLiteral("1"), QStringLiteral("1"),
         QStringLiteral("0")},
        {Key::Volume, QStringLiteral("Громкость"), QStringLiteral("8"), QStringLiteral("8"), QStringLiteral("0")},
        {Key::MinVolume, QStringLiteral("МинГромкость"), QStringLiteral("0"), QStringLiteral("1"),
         QStringLiteral("10")},
        {Key::KeyBeep, QStringLiteral("Пик_кнопок"), QStringLiteral("+"), QStringLiteral("+"), QStringLiteral("+")},
        {Key::Fv, QStringLiteral("ФВ"), QStringLiteral("00"), QStringLiteral("00"), QStringLiteral("100")},
        {Key::DcsMode, QStringLiteral("Код_DCS"), QStringLiteral("+"), QStringLiteral("+"), QStringLiteral("+")},
        {Key::ScanOption, QStringLiteral("Ф_Скан"), QStringLiteral("+"), QStringLiteral("-"), QStringLiteral("i")},
        {Key::VOption, QStringLiteral("Ф_V"), QStringLiteral("+"), QStringLiteral("-"), QStringLiteral("i")},
        {Key::Vu, QStringLiteral("ВУ"), QStringLiteral("-"), QStringLiteral("-"), QStringLiteral("i")},
        {Key::SpecialChannel, QStringLiteral("СК"), QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("200")},
    }};
    return table;
}

const KeySpec &spec(Key key)
{
    return keys()[static_cast<std::size_t>(key)];
}

Key tone(int n)
{
    return static_cast<Key>(static_cast<int>(Key::Tone1) + n - 1);
}

QString line(Key key, const QString &value)
{
    return name(key) + u'=' + value;
}

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
    QStringList lines{sectionLine()};
    for (const KeySpec &key : keys()) {
        if (key.templateValue)
            lines.append(line(key.key, *key.templateValue));
    }
    return lines;
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
