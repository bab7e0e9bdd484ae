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

DecodedText decodeUnmarked(const QByteArray &bytes)
{
    if (!isAscii(bytes)) {
        QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        QString text = utf8.decode(bytes);
        if (!utf8.hasError())
            return {text, TextEncoding::Utf8};
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
