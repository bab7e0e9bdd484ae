#include "files/textfiledecoder.h"
#include "files/windows1251.h"

#include <QStringDecoder>
#include <algorithm>
#include <optional>

namespace TextFileDecoder {

namespace {

// UTF-16 decoding passes surrogates through as they come, paired or not.
bool hasLoneSurrogate(const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        else if (c.isSurrogate())
            return true;
    }
    return false;
}

// The text when the bytes are valid in the encoding, nothing otherwise.
std::optional<QString> decodeStrictly(QStringConverter::Encoding encoding, QByteArrayView bytes)
{
    if (encoding != QStringConverter::Utf8 && bytes.size() % 2 != 0)
        return std::nullopt; // half a UTF-16 unit
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError() || hasLoneSurrogate(text))
        return std::nullopt;
    return text;
}

bool isAscii(const QByteArray &bytes)
{
    return std::all_of(bytes.cbegin(), bytes.cend(),
                       [](char c) { return (static_cast<unsigned char>(c) & 0x80) == 0; });
}

struct Mark
{
    const char *bytes;
    QStringConverter::Encoding converter;
    TextEncoding encoding;
};

const Mark kMarks[] = {
    {"\xEF\xBB\xBF", QStringConverter::Utf8, TextEncoding::Utf8},
    {"\xFF\xFE", QStringConverter::Utf16LE, TextEncoding::Utf16LE},
    {"\xFE\xFF", QStringConverter::Utf16BE, TextEncoding::Utf16BE},
};

// The length of the UTF-8 sequence at `at` (1 to 4), or 0 when the bytes
// there are no valid sequence (overlong forms and surrogates included).
int utf8SequenceLength(const unsigned char *at, const unsigned char *end)
{
    const unsigned lead = at[0];
    if (lead < 0x80)
        return 1;
    int length = 0;
    unsigned low = 0x80, high = 0xBF; // range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;
        if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        if (lead == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (end - at < length || at[1] < low || at[1] > high)
        return 0;
    for (int i = 2; i < length; ++i) {
        if (at[i] < 0x80 || at[i] > 0xBF)
            return 0;
    }
    return length;
}

// For text that is not valid UTF-8 as a whole: the number of the first line
// that is not valid UTF-8, when the text is UTF-8 but for some bytes (its
// valid multi-byte characters outnumber the bytes that fit no character);
// else 0. Text in Windows-1251, or noise, has few valid multi-byte characters
// and many bytes that fit none. Lines end at CR LF, LF or CR, as the profile
// reads them.
qsizetype firstLineOfOtherEncoding(const QByteArray &bytes)
{
    const auto *at = reinterpret_cast<const unsigned char *>(bytes.constData());
    const auto *end = at + bytes.size();
    qsizetype line = 1;
    qsizetype firstInvalid = 0;
    qsizetype wide = 0;
    qsizetype invalid = 0;
    while (at < end) {
        if (*at == '\n' || *at == '\r') {
            if (*at == '\r' && at + 1 < end && at[1] == '\n')
                ++at;
            ++at;
            ++line;
            continue;
        }
        const int length = utf8SequenceLength(at, end);
        if (length == 0) {
            ++invalid;
            if (firstInvalid == 0)
                firstInvalid = line;
            ++at;
            continue;
        }
        if (length > 1)
            ++wide;
        at += length;
    }
    return wide > invalid ? firstInvalid : 0;
}

DecodedText decodeUnmarked(const QByteArray &bytes)
{
    if (!isAscii(bytes)) {
        QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        QString text = utf8.decode(bytes);
        if (!utf8.hasError())
            return {text, TextEncoding::Utf8};
        if (const qsizetype line = firstLineOfOtherEncoding(bytes))
            return {QString(), TextEncoding::Utf8, line};
    }
    return {Windows1251::decode(bytes), TextEncoding::Windows1251};
}

} // namespace

DecodedText decode(const QByteArray &bytes)
{
    for (const Mark &mark : kMarks) {
        if (!bytes.startsWith(mark.bytes))
            continue;
        // A mark is only a claim: an editor that put it before Windows-1251
        // text (or a file cut in half) would otherwise turn every Russian
        // letter into a replacement character, and every key into its default.
        const QByteArray body = bytes.sliced(qsizetype(qstrlen(mark.bytes)));
        if (auto text = decodeStrictly(mark.converter, body))
            return {std::move(*text), mark.encoding};
        return decodeUnmarked(body);
    }
    return decodeUnmarked(bytes);
}

} // namespace TextFileDecoder
