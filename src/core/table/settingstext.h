#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

// The general settings text: "[Общие установки]" and key=value lines, and the
// one table of its keys that the template, the data check, the channel file
// loader, the station read and the write verification all name them by.
namespace SettingsText {

// Every key in the order of the text's lines, as the template, the loader
// and the station read write them.
enum class Key {
    Serial,
    Id,
    Tone1,
    Tone2,
    Tone3,
    Tone4,
    Tone5,
    Tone6,
    Tone7,
    Tone8,
    Tone9,
    Tone10,
    P1,
    P2,
    P3,
    P4,
    Brightness,
    Volume,
    MinVolume,
    KeyBeep,
    Fv,
    DcsMode,
    ScanOption,
    VOption,
    Vu,
    SpecialChannel,
};
// The enumeration is the table's order, so its last key gives the count.
constexpr int KeyCount = static_cast<int>(Key::SpecialChannel) + 1;

struct KeySpec
{
    Key key;
    QString name;
    // The template's value; none for the serial number, which only a file or
    // a station read brings.
    std::optional<QString> templateValue;
    // What the channel file loader takes when the file lacks the key.
    QString fileDefault;
    // What the data check reads when the text lacks the key (or, for a
    // number, holds no number); empty for keys the check does not read.
    QString checkDefault;
};

const std::array<KeySpec, KeyCount> &keys();
const KeySpec &spec(Key key);
inline const QString &name(Key key)
{
    return spec(key).name;
}
// Тон1 .. Тон10 by n = 1..10.
Key tone(int n);
// "name=value"
QString line(Key key, const QString &value);

QString sectionName(); // Общие установки
QString sectionLine(); // [Общие установки]
// The 26 lines a template writes.
QStringList templateLines();

// The text of the multi-line field as lines and back. A final line break
// does not make an empty last line.
QStringList fromPlainText(const QString &text);
QString toPlainText(const QStringList &lines);

} // namespace SettingsText
