#include "check/settingsrules.h"
#include "common/numbers.h"
#include "image/radioimage.h"
#include "table/channeltable.h"

namespace {

using SettingsText::Key;
using SettingsText::KeySpec;

bool isPlusOrMinus(const QString &value)
{
    return value == QLatin1String("+") || value == QLatin1String("-");
}

Refusal refuse(const QString &text)
{
    return Refusal{text};
}

QString flagMessage(const QString &key)
{
    return QStringLiteral("Вы не заполнили поле \"") + key
           + QStringLiteral("\" или ввели не тот символ. Вводимые символы  + или -");
}

QString plusMinusOnly(const QString &key)
{
    return QStringLiteral("Вводить в поле \"%1\" можно только + или -").arg(key);
}

} // namespace

SettingsRules::SettingsRules(const Profile &settings, const ChannelTable &table, RadioImage &image,
                             std::uint8_t &digitCount)
    : m_settings(settings), m_table(table), m_image(image), m_digitCount(digitCount)
{
}

int SettingsRules::integer(Key key) const
{
    const KeySpec &spec = SettingsText::spec(key);
    return m_settings.integer(SettingsText::sectionName(), spec.name, spec.checkDefault.toInt(),
                              Profile::IntSyntax::Decimal);
}

QString SettingsRules::text(Key key) const
{
    const KeySpec &spec = SettingsText::spec(key);
    return m_settings.string(SettingsText::sectionName(), spec.name, spec.checkDefault);
}

void SettingsRules::addDigitsOf(int value)
{
    addDigitCount(static_cast<int>(QString::number(value < 0 ? -value : value).size()));
}

void SettingsRules::addDigitCount(int count)
{
    m_digitCount = static_cast<std::uint8_t>(m_digitCount + count);
}

MaybeRefusal SettingsRules::run()
{
    using Rule = MaybeRefusal (SettingsRules::*)();
    static constexpr Rule rules[] = {
        &SettingsRules::brightness,
        &SettingsRules::volume,
        &SettingsRules::channelCount,
        &SettingsRules::keyBeep,
        &SettingsRules::specialChannel,
        &SettingsRules::fv,
        &SettingsRules::minVolume,
        &SettingsRules::dcsModeRule,
        &SettingsRules::optionFlags,
        &SettingsRules::tones,
        &SettingsRules::id,
    };
    for (const Rule rule : rules) {
        if (auto refusal = (this->*rule)())
            return refusal;
    }
    return std::nullopt;
}

FieldCoding::DcsMode SettingsRules::dcsMode() const
{
    return FieldCoding::dcsModeFromSetting(text(Key::DcsMode));
}

MaybeRefusal SettingsRules::brightness()
{
    const int level = integer(Key::Brightness);
    if (level < 1 || level > 5)
        return refuse(QStringLiteral("Уровень яркости изм. 1-5"));
    m_image.setSetting(Key::Brightness, level);
    return std::nullopt;
}

MaybeRefusal SettingsRules::volume()
{
    m_volume = integer(Key::Volume);
    if (m_volume < 1 || m_volume > 16)
        return refuse(QStringLiteral("Уровень громкости изм. 1-16"));
    m_image.setSetting(Key::Volume, m_volume);
    addDigitsOf(m_volume);
    return std::nullopt;
}

MaybeRefusal SettingsRules::channelCount()
{
    // The image has room for 99 records; a longer table (from a file edited by
    // hand) is refused at its first extra row.
    const int count = m_table.channelCount();
    if (count > RadioImage::MaxChannels)
        return refuse(QStringLiteral("Строчка №%1 лишняя: в радиостанцию можно записать не более %2 каналов")
                          .arg(RadioImage::MaxChannels + 1)
                          .arg(RadioImage::MaxChannels));
    m_image.at(StationLayout::Name::ChannelCount) = static_cast<std::uint8_t>(count);
    return std::nullopt;
}

MaybeRefusal SettingsRules::keyBeep()
{
    const QString value = text(Key::KeyBeep);
    if (!isPlusOrMinus(value))
        return refuse(plusMinusOnly(SettingsText::name(Key::KeyBeep)));
    m_image.setSetting(Key::KeyBeep, value == QLatin1String("+"));
    return std::nullopt;
}

MaybeRefusal SettingsRules::specialChannel()
{
    const int number = integer(Key::SpecialChannel);
    const ChannelTable &table = m_table;
    for (int row = 1; row <= table.channelCount(); ++row) {
        if (Numbers::toInt(table.cell(ChannelTable::Number, row)) == number) {
            const int position = row - 1;
            m_image.setSetting(Key::SpecialChannel, position);
            addDigitsOf(position);
            return std::nullopt;
        }
    }
    return refuse(QStringLiteral("Ошибка в номере спец. канала!!! В радиостанции нет такого номера канала"));
}

MaybeRefusal SettingsRules::fv()
{
    const QString value = text(Key::Fv);
    const QString &name = SettingsText::name(Key::Fv);
    if (value.size() != 2)
        return refuse(QStringLiteral("Код поля \"%1\" должен быть двузначным").arg(name));
    const int first = Numbers::toInt(value.left(1));
    const int second = Numbers::toInt(value.mid(1, 1));
    if (!FieldCoding::isFvFirstDigit(first) || !FieldCoding::isFvSecondDigit(second))
        return refuse(QStringLiteral("В поле \"%1\" введен неправильный код").arg(name));
    m_image.setSetting(Key::Fv, 10 * first + second);
    addDigitCount(2);
    return std::nullopt;
}

MaybeRefusal SettingsRules::minVolume()
{
    const int value = integer(Key::MinVolume);
    if (value < 0 || value > 8)
        return refuse(QStringLiteral("Минимальный уровень громкости изменякться от 0 до 8"));
    m_image.setSetting(Key::MinVolume, value);
    if (value > m_volume)
        return refuse(QStringLiteral("Громкость не д.б. меньше минимального уровня громкости"));
    addDigitsOf(value);
    return std::nullopt;
}

MaybeRefusal SettingsRules::dcsModeRule()
{
    const QString value = text(Key::DcsMode);
    if (!isPlusOrMinus(value))
        return refuse(plusMinusOnly(SettingsText::name(Key::DcsMode)));
    m_image.setSetting(Key::DcsMode, value == QLatin1String("+"));
    return std::nullopt;
}

MaybeRefusal SettingsRules::optionFlags()
{
    m_image.at(StationLayout::Name::Options) = 0;
    for (const Key option : {Key::ScanOption, Key::VOption, Key::Vu}) {
        const QString value = text(option);
        if (!isPlusOrMinus(value))
            return refuse(flagMessage(SettingsText::name(option)));
        m_image.setSetting(option, value == QLatin1String("+"));
    }
    return std::nullopt;
}

MaybeRefusal SettingsRules::tones()
{
    for (int n = 1; n <= 10; ++n) {
        const Key tone = SettingsText::tone(n);
        const int hz = integer(tone);
        if (hz < 700 || hz > 2550)
            return refuse(QStringLiteral("Ошибка в ") + SettingsText::name(tone)
                          + QStringLiteral(" диапазон от 700Гц до 2550Гц"));
        m_image.setSetting(tone, hz);
        addDigitsOf(hz);
    }
    return std::nullopt;
}

MaybeRefusal SettingsRules::id()
{
    const QString id = text(Key::Id);
    const auto code = FieldCoding::idCode(id);
    if (!code || !FieldCoding::isIdText(id))
        return refuse(QStringLiteral("Id_Tон должен быть четырехзначным. Например: 0001"));
    m_image.idCode = *code;
    return std::nullopt;
}
