#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

enum class TextEncoding { Windows1251, Utf8, Utf16LE, Utf16BE };

struct DecodedText
{
    // Where a text that mixes encodings shows each (lines numbered from 1).
    struct Mixture
    {
        qsizetype utf8Line = 0;  // the first line that reads as UTF-8 words the caller knows
        qsizetype otherLine = 0; // the first line that is not valid UTF-8
    };

    QString text;
    TextEncoding encoding = TextEncoding::Windows1251;
    // Set when the text is partly UTF-8 and partly not: no single encoding
    // reads such a file as it was meant, so the text is then empty.
    std::optional<Mixture> mixed;
};

// The text of a file that should be Windows-1251 but may have been saved
// by a modern editor in Unicode. A byte order mark names the encoding when
// the text behind it is valid in that encoding, and is dropped otherwise; without
// one, bytes that form valid UTF-8 and are not all ASCII are UTF-8 (Russian
// text in Windows-1251 puts its letters, 0xC0..0xFF, side by side, which
// UTF-8 never does); everything else is Windows-1251.
//
// Text that holds both valid UTF-8 characters of several bytes and bytes that
// fit no UTF-8 character (an editor added a line in another encoding) is
// mixed: read either way, the keys of one part would miss. Only when no line
// that is valid UTF-8 holds one of `knownWords` as a field (a section name, a
// key or a value of a profile, a field between ";" of a CSV line; compared
// without regard to case, words of ASCII alone not counted) is the text plain
// Windows-1251 in which a capital before a mark such as "»", "Ё" or "№"
// happens to form a UTF-8 pair.
namespace TextFileDecoder {

DecodedText decode(const QByteArray &bytes, const QStringList &knownWords);

} // namespace TextFileDecoder
