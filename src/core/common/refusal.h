#pragma once

#include <QString>
#include <optional>

// What the program plays before it shows a message of its own.
enum class Sound { None, Default, Error };

// A refusal of the program's own: one fixed Russian text, shown in a modal box
// with a single OK button, optionally after a sound.
struct Refusal
{
    QString text;
    Sound sound = Sound::None;

    bool operator==(const Refusal &) const = default;
};

using MaybeRefusal = std::optional<Refusal>;
