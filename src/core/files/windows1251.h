#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Windows-1251, the code page of every text file the station program reads or writes.
namespace Windows1251 {

QString decode(const QByteArray &bytes);

struct Unencodable
{
    QString character;  // the character as one or two UTF-16 units
    qsizetype position; // offset in the text
};

// The bytes of the text, or the first character that the code page cannot hold.
std::optional<Unencodable> findUnencodable(const QString &text);
// Throws PlatformError when a character cannot be held; check first with findUnencodable.
QByteArray encode(const QString &text);

// Why a text with that character cannot be written.
inline QString cannotHold(const Unencodable &bad)
{
    return QStringLiteral("Символ \"%1\" нельзя записать в кодировке Windows-1251").arg(bad.character);
}

} // namespace Windows1251
