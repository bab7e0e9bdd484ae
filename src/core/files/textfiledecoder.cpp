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

bool isAsciiText(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

// The line holds one of `knownWords` that is not ASCII alone, as a whole
// field: a section name, a key or a value of a profile, a field of a CSV line.
bool holdsKnownWord(QStringView line, const QStringList &knownWords)
{
    qsizetype start = 0;
    for (qsizetype i = 0; i <= line.size(); ++i) {
        if (i < line.size() && !QStringView(u"[]=;\"").contains(line.at(i)))
            continue;
        const QStringView word = line.sliced(start, i - start).trimmed();
        if (!word.isEmpty() && !isAsciiText(word) && knownWords.contains(word, Qt::CaseInsensitive))
            return true;
        start = i + 1;
    }
    return false;
}

// For text that is not valid UTF-8 as a whole: where it shows UTF-8 the
// caller would read and where it shows other bytes, when it shows both.
// Lines end at CR LF, LF or CR, as the profile reads them.
std::optional<DecodedText::Mixture> mixture(const QByteArray &bytes, const QStringList &knownWords)
{
    const auto *at = reinterpret_cast<const unsigned char *>(bytes.constData());
    const auto *end = at + bytes.size();
    DecodedText::Mixture found;
    for (qsizetype line = 1; at < end && (found.utf8Line == 0 || found.otherLine == 0); ++line) {
        const auto *lineStart = at;
        bool valid = true;
        bool wide = false;
        while (at < end && *at != '\n' && *at != '\r') {
            const int length = utf8SequenceLength(at, end);
            valid = valid && length > 0;
            wide = wide || length > 1;
            at += std::max(length, 1);
        }
        if (!valid && found.otherLine == 0)
            found.otherLine = line;
        if (valid && wide && found.utf8Line == 0) {
            const QByteArrayView bytesOfLine(lineStart, at - lineStart);
            if (holdsKnownWord(QString::fromUtf8(bytesOfLine), knownWords))
                found.utf8Line = line;
        }
        if (at < end && *at == '\r' && at + 1 < end && at[1] == '\n')
            ++at;
        if (at < end)
            ++at;
    }
    if (found.utf8Line == 0 || found.otherLine == 0)
        return std::nullopt;
    return found;
}

DecodedText decodeUnmarked(const QByteArray &bytes, const QStringList &knownWords)
{
    if (!isAscii(bytes)) {
        QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        QString text = utf8.decode(bytes);
        if (!utf8.hasError())
            return {text, TextEncoding::Utf8, std::nullopt};
        if (const auto mixed = mixture(bytes, knownWords))
            return {QString(), TextEncoding::Utf8, mixed};
    }
    return {Windows1251::decode(bytes), TextEncoding::Windows1251, std::nullopt};
}

} // namespace

DecodedText decode(const QByteArray &bytes, const QStringList &knownWords)
{
    for (const Mark &mark : kMarks) {
        if (!bytes.startsWith(mark.bytes))
            continue;
        // A mark is only a claim: an editor that put it before Windows-1251
        // text (or a file cut in half) would otherwise turn every Russian
        // letter into a replacement character, and every key into its default.
        const QByteArray body = bytes.sliced(qsizetype(qstrlen(mark.bytes)));
        if (auto text = decodeStrictly(mark.converter, body))
            return {std::move(*text), mark.encoding, std::nullopt};
        return decodeUnmarked(body, knownWords);
    }
    return decodeUnmarked(bytes, knownWords);
}

} // namespace TextFileDecoder
