#include "image/fieldcoding.h"
#include "common/numbers.h"
#include "image/channelrecord.h"
#include "station/codelists.h"
#include "station/stationprofile.h"

#include <algorithm>

namespace FieldCoding {

namespace {
constexpr char kHexDigits[] = "0123456789ABCDEF";
constexpr int kIdLength = 4;
} // namespace

QString noneText()
{
    return QStringLiteral("Нет");
}

QString rxRepeaterText()
{
    return QStringLiteral("РЕТР_ПП");
}

QString txRepeaterText()
{
    return QStringLiteral("РЕТР_ПР");
}

QString hexByte(std::uint8_t byte)
{
    QString text(2, u'0');
    text[0] = QLatin1Char(kHexDigits[byte >> 4]);
    text[1] = QLatin1Char(kHexDigits[byte & 0x0F]);
    return text;
}

QString serialText(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2)
{
    return hexByte(b0) + hexByte(b1) + hexByte(b2);
}

int idDigit(QChar c)
{
    if (const int hex = Numbers::hexDigit(c); hex >= 0)
        return hex;
    if (c == u'#')
        return 14;
    if (c == u'*')
        return 15;
    return 0;
}

std::optional<std::uint16_t> idCode(const QString &text)
{
    if (text.size() != kIdLength)
        return std::nullopt;
    unsigned code = 0;
    for (const QChar c : text)
        code = (code << 4) | static_cast<unsigned>(idDigit(c));
    return static_cast<std::uint16_t>(code);
}

bool isIdText(const QString &text)
{
    return text.size() == kIdLength
           && std::all_of(text.begin(), text.end(), [](QChar c) { return c == u'0' || idDigit(c) != 0; });
}

QString idText(std::uint16_t code)
{
    return hexByte(static_cast<std::uint8_t>(code >> 8)) + hexByte(static_cast<std::uint8_t>(code & 0xFF));
}

std::uint8_t toneByte(int hz)
{
    // Whole-number arithmetic keeps the ties exact.
    int units = hz / 10;
    const int rest = hz % 10;
    if (rest > 5 || (rest == 5 && units % 2 != 0))
        ++units;
    return static_cast<std::uint8_t>(units);
}

int toneHz(std::uint8_t byte)
{
    return byte * 10;
}

std::uint8_t brightnessByte(int level)
{
    return static_cast<std::uint8_t>(5 * level - 4);
}

QString brightnessText(std::uint8_t byte)
{
    if (byte >= 1 && byte <= 21 && (byte - 1) % 5 == 0)
        return QString::number((byte + 4) / 5);
    return QString::number(byte);
}

std::uint8_t plusMinusByte(bool plus)
{
    return plus ? PlusByte : MinusByte;
}

QString plusMinusText(std::uint8_t byte)
{
    return byte == PlusByte ? QStringLiteral("+") : QStringLiteral("-");
}

bool isFvFirstDigit(int digit)
{
    return digit == 0 || digit == 1 || digit == 2 || digit == 4;
}

bool isFvSecondDigit(int digit)
{
    return isFvFirstDigit(digit) || digit == 5;
}

std::uint8_t fvCode(int first, int second)
{
    return static_cast<std::uint8_t>(16 * first + second);
}

QString fvText(std::uint8_t code)
{
    return hexByte(code);
}

DcsMode dcsModeFromSetting(const QString &value)
{
    return value == QLatin1String("+") ? DcsMode::PairPartner : DcsMode::ListPosition;
}

DcsMode dcsModeFromHeader(std::uint8_t byte)
{
    return byte == MinusByte ? DcsMode::ListPosition : DcsMode::PairPartner;
}

std::optional<std::uint8_t> ctcssByte(const QString &text)
{
    const int position = CodeLists::ctcssIndex(text);
    if (position < 0)
        return std::nullopt;
    return position == 0 ? NoneCode : static_cast<std::uint8_t>(position);
}

std::optional<QString> ctcssText(std::uint8_t byte)
{
    if (byte == NoneCode)
        return noneText();
    if (byte >= CodeLists::ctcss().size())
        return std::nullopt;
    return CodeLists::ctcss().at(byte);
}

std::optional<std::uint8_t> dcsByte(const QString &text, DcsMode mode)
{
    const int position = CodeLists::dcsIndex(text);
    if (position < 0)
        return std::nullopt;
    if (position == 0)
        return NoneCode;
    const int code = mode == DcsMode::PairPartner ? CodeLists::dcsPartner(position) : position;
    return static_cast<std::uint8_t>(code);
}

std::optional<QString> dcsText(std::uint8_t byte, DcsMode mode)
{
    if (byte == NoneCode)
        return noneText();
    const int position = mode == DcsMode::PairPartner ? CodeLists::dcsPartner(byte) : byte;
    if (position < 0 || position >= CodeLists::dcs().size())
        return std::nullopt;
    return CodeLists::dcs().at(position);
}

QString toneNumberText(std::uint8_t byte)
{
    return byte >= 1 && byte <= 10 ? QString::number(byte) : noneText();
}

QString timeText(std::uint8_t byte)
{
    return byte == 0 ? noneText() : QString::number(byte);
}

QString txOffText(std::uint8_t invertedFlags)
{
    if (!(invertedFlags & ChannelRecord::InvertedFlag::Rssi))
        return QStringLiteral("RSSI");
    if (!(invertedFlags & ChannelRecord::InvertedFlag::Off))
        return QStringLiteral("OFF");
    return QStringLiteral("Норм");
}

QString frequencyText(const FrequencyWord::Bytes &bytes, FrequencyWord::Side side, const StationProfile &profile)
{
    if (bytes[0] == 0)
        return side == FrequencyWord::Side::Receive ? rxRepeaterText() : txRepeaterText();
    return Numbers::formatTwoDecimals(FrequencyWord::decode(bytes, side, profile));
}

} // namespace FieldCoding
