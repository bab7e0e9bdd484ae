#include "files/windows1251.h"
#include "common/platformerror.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace Windows1251 {

namespace {
constexpr const char *kName = "windows-1251";
}

QString decode(const QByteArray &bytes)
{
    QStringDecoder decoder(kName);
    if (!decoder.isValid())
        throw PlatformError(QStringLiteral("Кодовая страница Windows-1251 в этой системе недоступна"));
    return decoder.decode(bytes);
}

std::optional<Unencodable> findUnencodable(const QString &text)
{
    QStringEncoder encoder(kName, QStringConverter::Flag::Stateless);
    if (!encoder.isValid())
        throw PlatformError(QStringLiteral("Кодовая страница Windows-1251 в этой системе недоступна"));
    // One pass over the whole text first: the converter flags any character it
    // had to substitute, and only then is the culprit looked for one by one.
    [[maybe_unused]] const QByteArray whole = encoder.encode(text);
    if (!encoder.hasError())
        return std::nullopt;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.unicode() < 0x80)
            continue;
        const qsizetype len = (c.isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
        const QString piece = text.mid(i, len);
        QStringEncoder one(kName, QStringConverter::Flag::Stateless);
        const QByteArray bytes = one.encode(piece);
        if (one.hasError() || bytes.size() != 1 || bytes.at(0) == '?')
            return Unencodable{piece, i};
        i += len - 1;
    }
    return std::nullopt;
}

QByteArray encode(const QString &text)
{
    if (const auto bad = findUnencodable(text))
        throw PlatformError(cannotHold(*bad));
    QStringEncoder encoder(kName, QStringConverter::Flag::Stateless);
    return encoder.encode(text);
}

} // namespace Windows1251
