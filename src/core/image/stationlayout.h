#pragma once

#include "table/settingstext.h"

#include <QList>
#include <QString>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

// The one description of the station's memory: every field with its size,
// and the order of the fields in the program's copy of the station (the
// radio image and the module and band codes beside it), in the bytes a write
// sends after the start byte and in the reply to a read; every place follows
// from these. The write order, the placing of a reply's bytes, the
// reader's blocks, the writer's progress marks, the read-back check and the
// comparison all follow this table; a field the station stores is added here
// and in its coding, nowhere else.
namespace StationLayout {

// Where a field is kept on this side.
enum class Store { Header, IdHigh, IdLow, Tone, Module, Band, Ignored, Record };

// Every field of the station's bytes. The header's fields come first, in the
// order the program's copy keeps them, so that their places there follow
// from their sizes.
enum class Name {
    Serial,
    Brightness,
    Volume,
    ChannelCount,
    KeyBeep,
    SpecialChannel,
    Fv,
    MinVolume,
    DcsMode,
    Options, // Ф_Скан, Ф_V and ВУ
    Tones,
    IdHigh,
    IdLow,
    Module,
    Band,
    Spare,
    Records,
};

struct Field
{
    Name name;
    Store store;
    int size;        // bytes (the records: all 99)
    int writeCopies; // the band code goes out three times
};

constexpr int RecordSize = 18;
constexpr int MaxChannels = 99;

using Key = SettingsText::Key;

// In the order of Name.
inline constexpr std::array<Field, 17> fields{{
    {Name::Serial, Store::Header, 3, 1},
    {Name::Brightness, Store::Header, 1, 1},
    {Name::Volume, Store::Header, 1, 1},
    {Name::ChannelCount, Store::Header, 1, 1},
    {Name::KeyBeep, Store::Header, 1, 1},
    {Name::SpecialChannel, Store::Header, 1, 1},
    {Name::Fv, Store::Header, 1, 1},
    {Name::MinVolume, Store::Header, 1, 1},
    {Name::DcsMode, Store::Header, 1, 1},
    {Name::Options, Store::Header, 1, 1},
    {Name::Tones, Store::Tone, 10, 1},
    {Name::IdHigh, Store::IdHigh, 1, 1},
    {Name::IdLow, Store::IdLow, 1, 1},
    {Name::Module, Store::Module, 1, 1},
    {Name::Band, Store::Band, 1, 3},
    {Name::Spare, Store::Ignored, 2, 1},
    {Name::Records, Store::Record, RecordSize *MaxChannels, 1},
}};

constexpr const Field &field(Name name)
{
    return fields[static_cast<std::size_t>(name)];
}

// What a write sends after its start byte. The serial number is the
// station's own and the spare bytes are only read.
inline constexpr std::array<Name, 15> writeOrder{
    {Name::Brightness, Name::Volume, Name::ChannelCount, Name::KeyBeep, Name::SpecialChannel, Name::Tones, Name::IdHigh,
     Name::IdLow, Name::Fv, Name::MinVolume, Name::DcsMode, Name::Options, Name::Module, Name::Band, Name::Records}};

// What the station sends in reply to a read.
inline constexpr std::array<Name, 17> readOrder{{Name::Serial, Name::Brightness, Name::Volume, Name::ChannelCount,
                                                 Name::KeyBeep, Name::SpecialChannel, Name::IdHigh, Name::IdLow,
                                                 Name::Tones, Name::Fv, Name::MinVolume, Name::DcsMode, Name::Options,
                                                 Name::Module, Name::Band, Name::Spare, Name::Records}};

// Where a field starts in an order, each field taking its size times
// `copies` of it; -1 when the order lacks it.
template <std::size_t N>
constexpr int placeIn(const std::array<Name, N> &order, Name name, bool copies)
{
    int position = 0;
    for (const Name n : order) {
        if (n == name)
            return position;
        position += field(n).size * (copies ? field(n).writeCopies : 1);
    }
    return -1;
}

// Where a field starts in the write order; -1 when it is never written.
constexpr int writeAt(Name name)
{
    return placeIn(writeOrder, name, true);
}

// Where a field starts in a read's reply.
constexpr int readAt(Name name)
{
    return placeIn(readOrder, name, false);
}

// Where a header field starts in the program's copy of the header.
constexpr int headerAt(Name name)
{
    int position = 0;
    for (const Field &f : fields) {
        if (f.name == name)
            break;
        if (f.store == Store::Header)
            position += f.size;
    }
    return position;
}
constexpr int HeaderSize = headerAt(Name::Tones);

// The bytes before the records.
constexpr int WritePrefixSize = writeAt(Name::Records);
constexpr int ReadPrefixSize = readAt(Name::Records);

// The reply's blocks: everything before the tones; the tones; the header
// bytes after them; module, band and the spare bytes.
constexpr int ReadTonesAt = readAt(Name::Tones);
constexpr int ReadTonesEnd = ReadTonesAt + field(Name::Tones).size;
constexpr int ReadHeaderEnd = readAt(Name::Module);

// The write's progress marks: after the header bytes before the tones, and
// after the tones.
constexpr int WriteTonesAt = writeAt(Name::Tones);
constexpr int WriteTonesEnd = WriteTonesAt + field(Name::Tones).size;

// How a setting sits in its field: its checked value (a number; 1 for "+",
// 0 for "-") goes into the byte, and the byte into the text a read shows.
// The serial number and the Id span several bytes and are coded by their
// own functions; the special channel is a position among the records.
struct SettingCoding
{
    Key key;
    Name field;
    int byte = 0;         // within the field: a tone's place
    std::uint8_t bit = 0; // the flag a "+" sets; 0 when the setting has the whole byte
    std::uint8_t (*encode)(int value) = nullptr;
    QString (*decode)(std::uint8_t byte) = nullptr;
};

// Every setting the station stores, in the order of the settings text.
const QList<SettingCoding> &settingCodings();
// None for a setting the station does not store (the power levels).
const SettingCoding *codingOf(Key key);
// `old` with the setting's value coded in; a flag leaves the other bits.
std::uint8_t encoded(Key key, int value, std::uint8_t old);
// The text a read shows for the setting's byte.
QString decoded(Key key, std::uint8_t byte);

// Every settings key a field's bytes are shown under.
QList<Key> keysOf(const Field &field);

// The field a write-order position belongs to (the records for every
// position past the prefix).
const Field &writtenField(int position);

// The name the read-back check gives the byte at a write-order position:
// "Громкость", "Тон3", "Id_номер, старший байт", "запись 2, байт 5".
QString writtenByteName(int position);

} // namespace StationLayout
