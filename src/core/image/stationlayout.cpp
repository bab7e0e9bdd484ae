#include "image/stationlayout.h"

#include "files/channelfileformat.h"
#include "image/fieldcoding.h"

namespace StationLayout {

namespace {

QString decimal(std::uint8_t byte)
{
    return QString::number(byte);
}

std::uint8_t asByte(int value)
{
    return static_cast<std::uint8_t>(value);
}

std::uint8_t plusMinusByte(int plus)
{
    return FieldCoding::plusMinusByte(plus != 0);
}

// "ФВ" is checked as two digits, "42" coming as 42.
std::uint8_t fvByte(int digits)
{
    return FieldCoding::fvCode(digits / 10, digits % 10);
}

QString toneText(std::uint8_t byte)
{
    return QString::number(FieldCoding::toneHz(byte));
}

QList<SettingCoding> makeCodings()
{
    QList<SettingCoding> codings{{Key::Serial, Name::Serial}, {Key::Id, Name::IdHigh}, {Key::Id, Name::IdLow}};
    for (int n = 1; n <= field(Name::Tones).size; ++n)
        codings.append({SettingsText::tone(n), Name::Tones, n - 1, 0, FieldCoding::toneByte, toneText});
    codings.append({
        {Key::Brightness, Name::Brightness, 0, 0, FieldCoding::brightnessByte, FieldCoding::brightnessText},
        {Key::Volume, Name::Volume, 0, 0, asByte, decimal},
        {Key::MinVolume, Name::MinVolume, 0, 0, asByte, decimal},
        {Key::KeyBeep, Name::KeyBeep, 0, 0, plusMinusByte, FieldCoding::plusMinusText},
        {Key::Fv, Name::Fv, 0, 0, fvByte, FieldCoding::fvText},
        {Key::DcsMode, Name::DcsMode, 0, 0, plusMinusByte, FieldCoding::plusMinusText},
        {Key::ScanOption, Name::Options, 0, 0x02},
        {Key::VOption, Name::Options, 0, 0x04},
        {Key::Vu, Name::Options, 0, 0x10},
        {Key::SpecialChannel, Name::SpecialChannel, 0, 0, asByte},
    });
    return codings;
}

QString fieldName(const Field &f, int byte)
{
    switch (f.name) {
    case Name::Module:
        return ChannelFileFormat::moduleKey();
    case Name::Band:
        return ChannelFileFormat::bandKey();
    case Name::IdHigh:
        return SettingsText::name(Key::Id) + QStringLiteral(", старший байт");
    case Name::IdLow:
        return SettingsText::name(Key::Id) + QStringLiteral(", младший байт");
    default:
        break;
    }
    QStringList names;
    for (const SettingCoding &coding : settingCodings()) {
        if (coding.field == f.name && coding.byte == byte)
            names.append(SettingsText::name(coding.key));
    }
    return names.isEmpty() ? QStringLiteral("число каналов") : names.join(QStringLiteral(", "));
}

} // namespace

const QList<SettingCoding> &settingCodings()
{
    static const QList<SettingCoding> codings = makeCodings();
    return codings;
}

const SettingCoding *codingOf(Key key)
{
    for (const SettingCoding &coding : settingCodings()) {
        if (coding.key == key)
            return &coding;
    }
    return nullptr;
}

std::uint8_t encoded(Key key, int value, std::uint8_t old)
{
    const SettingCoding &coding = *codingOf(key);
    if (!coding.bit)
        return coding.encode(value);
    return static_cast<std::uint8_t>(value ? old | coding.bit : old & ~coding.bit);
}

QString decoded(Key key, std::uint8_t byte)
{
    const SettingCoding &coding = *codingOf(key);
    if (!coding.bit)
        return coding.decode(byte);
    return (byte & coding.bit) ? QStringLiteral("+") : QStringLiteral("-");
}

QList<Key> keysOf(const Field &field)
{
    QList<Key> keys;
    for (const SettingCoding &coding : settingCodings()) {
        if (coding.field == field.name)
            keys.append(coding.key);
    }
    return keys;
}

const Field &writtenField(int position)
{
    for (const Name name : writeOrder) {
        const Field &f = field(name);
        const int at = writeAt(name);
        if (position >= at && position < at + f.size * f.writeCopies)
            return f;
    }
    return field(Name::Records);
}

QString writtenByteName(int position)
{
    if (position >= WritePrefixSize) {
        const int offset = position - WritePrefixSize;
        return QStringLiteral("запись %1, байт %2").arg(offset / RecordSize + 1).arg(offset % RecordSize);
    }
    const Field &f = writtenField(position);
    return fieldName(f, (position - writeAt(f.name)) % f.size);
}

} // namespace StationLayout
