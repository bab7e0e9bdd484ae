#pragma once

#include <QByteArray>
#include <QString>

enum class TextEncoding { Windows1251, Utf8, Utf16LE, Utf16BE };

struct DecodedText
{
    QString text;
    TextEncoding encoding = TextEncoding::Windows1251;
    // Set when the text is UTF-8 but for some bytes: the number (from 1) of
    // the first line that is not valid UTF-8. The text is then empty; no
    // single encoding reads such a file as it was meant.
    qsizetype mixedAtLine = 0;
};

// The text of a file that should be Windows-1251 but may have been saved
// by a modern editor in Unicode. A byte order mark names the encoding when
// the text behind it is valid in that encoding, and is dropped otherwise; without
// one, bytes that form valid UTF-8 and are not all ASCII are UTF-8 (Russian
// text in Windows-1251 puts its letters, 0xC0..0xFF, side by side, which
// UTF-8 never does); everything else is Windows-1251. Text that is UTF-8 but
// for some bytes (an editor added a line in another encoding) is neither:
// read as Windows-1251 its UTF-8 keys would all miss, so it is reported as
// mixed. Windows-1251 text with a few UTF-8 lines, and noise, read as
// Windows-1251 as before.
namespace TextFileDecoder {

DecodedText decode(const QByteArray &bytes);

} // namespace TextFileDecoder
