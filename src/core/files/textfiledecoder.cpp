#include "files/textfiledecoder.h"
#include "files/windows1251.h"

#include <QStringDecoder>
#include <algorithm>

namespace TextFileDecoder {

namespace {

QString decodeWith(QStringConverter::Encoding encoding, QByteArrayView bytes)
{
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
    return decoder.decode(bytes);
}

bool isAscii(const QByteArray &bytes)
{
    return std::all_of(bytes.cbegin(), bytes.cend(), [](char c) { return (static_cast<unsigned char>(c) & 0x80) == 0; });
}

} // namespace

DecodedText decode(const QByteArray &bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return {decodeWith(QStringConverter::Utf8, QByteArrayView(bytes).sliced(3)), TextEncoding::Utf8};
    if (bytes.startsWith("\xFF\xFE"))
        return {decodeWith(QStringConverter::Utf16LE, QByteArrayView(bytes).sliced(2)), TextEncoding::Utf16LE};
    if (bytes.startsWith("\xFE\xFF"))
        return {decodeWith(QStringConverter::Utf16BE, QByteArrayView(bytes).sliced(2)), TextEncoding::Utf16BE};
    if (!isAscii(bytes)) {
        QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        QString text = utf8.decode(bytes);
        if (!utf8.hasError())
            return {text, TextEncoding::Utf8};
    }
    return {Windows1251::decode(bytes), TextEncoding::Windows1251};
}

} // namespace TextFileDecoder
