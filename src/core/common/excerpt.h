#pragma once

#include <QString>

// A text as a message quotes it: a cell may hold a megabyte, a message box
// or a terminal line takes a few dozen characters.
namespace Excerpt {

constexpr qsizetype MaxLength = 60;

inline QString of(const QString &text)
{
    if (text.size() <= MaxLength)
        return text;
    qsizetype cut = MaxLength;
    if (text.at(cut - 1).isHighSurrogate())
        --cut; // never half a character
    return text.first(cut) + QStringLiteral("… (всего символов: %1)").arg(text.size());
}

} // namespace Excerpt
