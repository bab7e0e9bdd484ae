#include "check/settingsrules.h"
#include "common/numbers.h"
#include "image/radioimage.h"
#include "state/appstate.h"
#include "table/settingstext.h"

namespace {

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

} // namespace

SettingsRules::SettingsRules(const Profile &settings, AppState &state) : m_settings(settings), m_state(state) {}

int SettingsRules::integer(const QString &key, int defaultValue) const
{
    return m_settings.integer(SettingsText::sectionName(), key, defaultValue, Profile::IntSyntax::Decimal);
}

QString SettingsRules::text(const QString &key, const QString &defaultValue) const
{
    return m_settings.string(SettingsText::sectionName(), key, defaultValue);
}

void SettingsRules::addDigitsOf(int value)
{
    addDigitCount(static_cast<int>(QString::number(value < 0 ? -value : value).size()));
}

void SettingsRules::addDigitCount(int count)
{
    m_state.settingsDigitCount = static_cast<std::uint8_t>(m_state.settingsDigitCount + count);
}

MaybeRefusal SettingsRules::run()
{
    using Rule = MaybeRefusal (SettingsRules::*)();
    static constexpr Rule rules[] = {
        &SettingsRules::brightness, &SettingsRules::volume, &SettingsRules::channelCount,
        &SettingsRules::keyBeep, &SettingsRules::specialChannel, &SettingsRules::fv,
        &SettingsRules::minVolume, &SettingsRules::dcsModeRule, &SettingsRules::optionFlags,
        &SettingsRules::tones, &SettingsRules::id,
    };
    for (const Rule rule : rules) {
        if (auto refusal = (this->*rule)())
            return refusal;
    }
    return std::nullopt;
}

FieldCoding::DcsMode SettingsRules::dcsMode() const
{
    return FieldCoding::dcsModeFromSetting(text(QStringLiteral("Код_DCS"), QStringLiteral("+")));
}

MaybeRefusal SettingsRules::brightness()
{
    const int level = integer(QStringLiteral("Яркость диодов"), 0);
    if (level < 1 || level > 5)
        return refuse(QStringLiteral("Уровень яркости изм. 1-5"));
    m_state.image.header[RadioImage::Brightness] = FieldCoding::brightnessByte(level);
    return std::nullopt;
}

MaybeRefusal SettingsRules::volume()
{
    m_volume = integer(QStringLiteral("Громкость"), 0);
    if (m_volume < 1 || m_volume > 16)
        return refuse(QStringLiteral("Уровень громкости изм. 1-16"));
    m_state.image.header[RadioImage::Volume] = static_cast<std::uint8_t>(m_volume);
    addDigitsOf(m_volume);
    return std::nullopt;
}

MaybeRefusal SettingsRules::channelCount()
{
    // The image has room for 99 records; a longer table (from a file edited by
    // hand) is refused at its first extra row.
    const int count = m_state.table.channelCount();
    if (count > RadioImage::MaxChannels)
        return refuse(QStringLiteral("Строчка №%1 лишняя: в радиостанцию можно записать не более %2 каналов")
                          .arg(RadioImage::MaxChannels + 1)
                          .arg(RadioImage::MaxChannels));
    m_state.image.header[RadioImage::ChannelCount] = static_cast<std::uint8_t>(count);
    return std::nullopt;
}

MaybeRefusal SettingsRules::keyBeep()
{
    const QString value = text(QStringLiteral("Пик_кнопок"), QStringLiteral("+"));
    if (!isPlusOrMinus(value))
        return refuse(QStringLiteral("Вводить в поле \"Пик_кнопок\" можно только + или -"));
    m_state.image.header[RadioImage::KeyBeep] = FieldCoding::plusMinusByte(value == QLatin1String("+"));
    return std::nullopt;
}

MaybeRefusal SettingsRules::specialChannel()
{
    const int number = integer(QStringLiteral("СК"), 200);
    const ChannelTable &table = m_state.table;
    for (int row = 1; row <= table.channelCount(); ++row) {
        if (Numbers::toInt(table.cell(ChannelTable::Number, row)) == number) {
            const int position = row - 1;
            m_state.image.header[RadioImage::SpecialChannel] = static_cast<std::uint8_t>(position);
            addDigitsOf(position);
            return std::nullopt;
        }
    }
    return refuse(QStringLiteral("Ошибка в номере спец. канала!!! В радиостанции нет такого номера канала"));
}

MaybeRefusal SettingsRules::fv()
{
    const QString value = text(QStringLiteral("ФВ"), QStringLiteral("100"));
    if (value.size() != 2)
        return refuse(QStringLiteral("Код поля \"ФВ\" должен быть двузначным"));
    const int first = Numbers::toInt(value.left(1));
    const int second = Numbers::toInt(value.mid(1, 1));
    if (!FieldCoding::isFvFirstDigit(first) || !FieldCoding::isFvSecondDigit(second))
        return refuse(QStringLiteral("В поле \"ФВ\" введен неправильный код"));
    m_state.image.header[RadioImage::FvCode] = FieldCoding::fvCode(first, second);
    addDigitCount(2);
    return std::nullopt;
}

MaybeRefusal SettingsRules::minVolume()
{
    const int value = integer(QStringLiteral("МинГромкость"), 10);
    if (value < 0 || value > 8)
        return refuse(QStringLiteral("Минимальный уровень громкости изменякться от 0 до 8"));
    m_state.image.header[RadioImage::MinVolume] = static_cast<std::uint8_t>(value);
    if (value > m_volume)
        return refuse(QStringLiteral("Громкость не д.б. меньше минимального уровня громкости"));
    addDigitsOf(value);
    return std::nullopt;
}

MaybeRefusal SettingsRules::dcsModeRule()
{
    const QString value = text(QStringLiteral("Код_DCS"), QStringLiteral("+"));
    if (!isPlusOrMinus(value))
        return refuse(QStringLiteral("Вводить в поле \"Код_DCS\" можно только + или -"));
    m_state.image.header[RadioImage::DcsMode] = FieldCoding::dcsModeByte(FieldCoding::dcsModeFromSetting(value));
    return std::nullopt;
}

MaybeRefusal SettingsRules::optionFlags()
{
    struct Option
    {
        QString key;
        std::uint8_t bit;
    };
    const Option options[] = {
        {QStringLiteral("Ф_Скан"), FieldCoding::OptionFlag::Scan},
        {QStringLiteral("Ф_V"), FieldCoding::OptionFlag::V},
        {QStringLiteral("ВУ"), FieldCoding::OptionFlag::Vu},
    };
    std::uint8_t &flags = m_state.image.header[RadioImage::OptionFlags];
    flags = 0;
    for (const Option &option : options) {
        const QString value = text(option.key, QStringLiteral("i"));
        if (!isPlusOrMinus(value))
            return refuse(flagMessage(option.key));
        if (value == QLatin1String("+"))
            flags = static_cast<std::uint8_t>(flags | option.bit);
    }
    return std::nullopt;
}

MaybeRefusal SettingsRules::tones()
{
    for (int n = 1; n <= 10; ++n) {
        const int hz = integer(QStringLiteral("Тон%1").arg(n), 10000);
        if (hz < 700 || hz > 2550)
            return refuse(QStringLiteral("Ошибка в Тон") + QString::number(n)
                          + QStringLiteral(" диапазон от 700Гц до 2550Гц"));
        m_state.image.tones[static_cast<std::size_t>(n - 1)] = FieldCoding::toneByte(hz);
        addDigitsOf(hz);
    }
    return std::nullopt;
}

MaybeRefusal SettingsRules::id()
{
    const auto code = FieldCoding::idCode(text(QStringLiteral("Id_номер"), QStringLiteral("0")));
    if (!code)
        return refuse(QStringLiteral("Id_Tон должен быть четырехзначным. Например: 0001"));
    m_state.image.idCode = *code;
    return std::nullopt;
}
