#pragma once

#include "image/stationlayout.h"

#include <QByteArray>
#include <array>
#include <cstdint>
#include <optional>

// The whole programmable content of one station as bytes. The module and
// band codes are kept beside it (StationData), so the wire
// orders take them as arguments.
struct RadioImage
{
    static constexpr int MaxChannels = StationLayout::MaxChannels;
    static constexpr int RecordSize = StationLayout::RecordSize;
    static constexpr int WritePrefixSize = StationLayout::WritePrefixSize;
    static constexpr int ReadPrefixSize = StationLayout::ReadPrefixSize;

    using Record = std::array<std::uint8_t, RecordSize>;

    std::array<std::uint8_t, StationLayout::HeaderSize> header{};
    std::array<std::uint8_t, 10> tones{};
    std::uint16_t idCode = 0;
    std::array<Record, MaxChannels> records{};

    // A one-byte field of the header.
    std::uint8_t &at(StationLayout::Name name) { return header[StationLayout::headerAt(name)]; }
    std::uint8_t at(StationLayout::Name name) const { return header[StationLayout::headerAt(name)]; }

    // A setting's checked value coded into its field, and the text a read
    // shows for it.
    void setSetting(SettingsText::Key key, int value);
    QString settingText(SettingsText::Key key) const;

    int channelCount() const { return at(StationLayout::Name::ChannelCount); }
    void clearRecords() { records = {}; }

    // One byte of a field of the layout; the module and band codes are given.
    std::uint8_t byteOf(const StationLayout::Field &field, int byte, std::uint8_t moduleCode,
                        std::uint8_t bandCode) const;

    // The 25 bytes a write sends before the channel records: header 3..7,
    // tones, Id high and low, header 8..11, module, band three times.
    QByteArray writePrefix(std::uint8_t moduleCode, std::uint8_t bandCode) const;
    // The prefix and the first channelCount() records (at most 99).
    QByteArray writeOrder(std::uint8_t moduleCode, std::uint8_t bandCode) const;

    // Where a byte of the station's reply belongs. The reply sends the serial
    // number, header 3..7, the Id (high, low), the tones, header 8..11, the
    // module code, the band code once, two bytes that carry nothing, and then
    // the records.
    struct ReadSlot
    {
        using Field = StationLayout::Store;
        Field field;
        int index = 0; // header byte, tone byte or record number
        int byte = 0;  // byte within the record
        bool operator==(const ReadSlot &) const = default;
    };
    // None for a negative offset or one beyond the 99th record.
    static std::optional<ReadSlot> readSlot(int offset);

    // What a reply carries beside the image's own fields. The Id is only
    // shown: the image keeps the Id of the last data check.
    struct ReadExtras
    {
        std::optional<std::uint16_t> idCode;
        std::optional<std::uint8_t> moduleCode;
        std::optional<std::uint8_t> bandCode;
    };
    // Stores a reply, whole or cut short, into the header, the tones and the
    // records; records beyond the reply's channel count are not touched.
    ReadExtras fillFromReadOrder(const QByteArray &reply);
    // The same for bytes that start at a given offset of the reply; an Id
    // byte pair counts only when both come in one call.
    ReadExtras placeReplyBytes(int offset, const std::uint8_t *bytes, int count);
};
