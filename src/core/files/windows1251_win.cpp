#include "files/windows1251.h"
#include "common/platformerror.h"

#include <windows.h>

// Windows holds the code page itself: Qt's converters know it by name only
// where Qt is built with ICU, which the Windows build is not.

namespace Windows1251 {

namespace {

constexpr UINT kCodePage = 1251;

// The character (one UTF-16 unit or a surrogate pair) as one byte of the
// code page, or nothing when the code page has no such character. No "best
// fit": a look-alike substitute would be a different character in the file.
bool encodesAsOneByte(const wchar_t *units, int count)
{
    char out[4] = {};
    BOOL usedDefault = FALSE;
    const int written =
        ::WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, units, count, out, sizeof out, nullptr, &usedDefault);
    return written == 1 && !usedDefault;
}

} // namespace

QString decode(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return {};
    const int size = ::MultiByteToWideChar(kCodePage, 0, bytes.constData(), int(bytes.size()), nullptr, 0);
    QString text(size, Qt::Uninitialized);
    ::MultiByteToWideChar(kCodePage, 0, bytes.constData(), int(bytes.size()), reinterpret_cast<wchar_t *>(text.data()),
                          size);
    return text;
}

std::optional<Unencodable> findUnencodable(const QString &text)
{
    const auto *units = reinterpret_cast<const wchar_t *>(text.utf16());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i).unicode() < 0x80)
            continue;
        const qsizetype len = (text.at(i).isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
        if (!encodesAsOneByte(units + i, int(len)))
            return Unencodable{text.mid(i, len), i};
        i += len - 1;
    }
    return std::nullopt;
}

QByteArray encode(const QString &text)
{
    if (const auto bad = findUnencodable(text))
        throw PlatformError(cannotHold(*bad));
    if (text.isEmpty())
        return {};
    const auto *units = reinterpret_cast<const wchar_t *>(text.utf16());
    const int size = ::WideCharToMultiByte(kCodePage, 0, units, int(text.size()), nullptr, 0, nullptr, nullptr);
    QByteArray bytes(size, Qt::Uninitialized);
    ::WideCharToMultiByte(kCodePage, 0, units, int(text.size()), bytes.data(), size, nullptr, nullptr);
    return bytes;
}

} // namespace Windows1251
