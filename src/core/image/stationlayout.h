#pragma once

#include "table/settingstext.h"

#include <QList>
#include <QString>
#include <array>
#include <optional>

// The one description of the station's memory: every field with its place in
// the program's copy of the station (the radio image and the module and band
// codes beside it), in the bytes a write sends after the start byte, and in
// the reply to a read. The write order, the placing of a reply's bytes, the
// reader's blocks, the writer's progress marks, the read-back check and the
// comparison all follow this table; a field the station stores is added here
// and in its coding, nowhere else.
namespace StationLayout {

// Where a field is kept on this side.
enum class Store { Header, IdHigh, IdLow, Tone, Module, Band, Ignored, Record };

struct Field
{
    Store store;
    int index;       // first header byte or tone, where the store has several
    int size;        // bytes (the records: all 99)
    int writeAt;     // position in the write order, -1 when never written
    int writeCopies; // the band code goes out three times
    int readAt;      // position in a read's reply
    // The settings key the field is shown under; none for the channel count,
    // module, band, spare bytes and records, which have names of their own.
    // The option flags carry three keys and a tone field one per tone.
    std::optional<SettingsText::Key> key;
};

constexpr int RecordSize = 18;
constexpr int MaxChannels = 99;

// In write order; fields that are only read come where the reply has them.
using Key = SettingsText::Key;

inline constexpr std::array<Field, 17> fields{{
    {Store::Header, 0, 3, -1, 0, 0, Key::Serial},
    {Store::Header, 3, 1, 0, 1, 3, Key::Brightness},
    {Store::Header, 4, 1, 1, 1, 4, Key::Volume},
    {Store::Header, 5, 1, 2, 1, 5, std::nullopt}, // channel count
    {Store::Header, 6, 1, 3, 1, 6, Key::KeyBeep},
    {Store::Header, 7, 1, 4, 1, 7, Key::SpecialChannel},
    {Store::Tone, 0, 10, 5, 1, 10, Key::Tone1},
    {Store::IdHigh, 0, 1, 15, 1, 8, Key::Id},
    {Store::IdLow, 0, 1, 16, 1, 9, Key::Id},
    {Store::Header, 8, 1, 17, 1, 20, Key::Fv},
    {Store::Header, 9, 1, 18, 1, 21, Key::MinVolume},
    {Store::Header, 10, 1, 19, 1, 22, Key::DcsMode},
    {Store::Header, 11, 1, 20, 1, 23, Key::ScanOption}, // with Ф_V and ВУ
    {Store::Module, 0, 1, 21, 1, 24, std::nullopt},
    {Store::Band, 0, 1, 22, 3, 25, std::nullopt},
    {Store::Ignored, 0, 2, -1, 0, 26, std::nullopt},
    {Store::Record, 0, RecordSize *MaxChannels, 25, 1, 28, std::nullopt},
}};

// The first field kept in a store at a given index.
constexpr const Field &field(Store store, int index = 0)
{
    for (const Field &f : fields) {
        if (f.store == store && index >= f.index && index < f.index + f.size)
            return f;
    }
    return fields.back();
}

// The bytes before the records.
constexpr int WritePrefixSize = field(Store::Record).writeAt;
constexpr int ReadPrefixSize = field(Store::Record).readAt;

// The reader's blocks: everything before the tones; the header bytes after
// them; module, band and the spare bytes.
constexpr int ReadBlock1Size = field(Store::Tone).readAt;
constexpr int ReadBlock3Size = field(Store::Module).readAt - field(Store::Header, 8).readAt;
constexpr int ReadBlock4Size = ReadPrefixSize - field(Store::Module).readAt;

// The write's progress marks: after the header bytes before the tones, and
// after the tones.
constexpr int WriteHeaderBytes = field(Store::Tone).writeAt;
constexpr int WriteHeaderAndToneBytes = field(Store::Tone).writeAt + field(Store::Tone).size;

// Every settings key a field's bytes are shown under.
QList<Key> keysOf(const Field &field);

// The field a write-order position belongs to (the records for every
// position past the prefix).
const Field &writtenField(int position);

// The name the read-back check gives the byte at a write-order position:
// "Громкость", "Тон3", "Id_номер, старший байт", "запись 2, байт 5".
QString writtenByteName(int position);

} // namespace StationLayout
