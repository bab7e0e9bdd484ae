#include "image/radioimage.h"

#include <algorithm>

using StationLayout::Name;
using StationLayout::Store;

std::uint8_t RadioImage::byteOf(const StationLayout::Field &field, int byte, std::uint8_t moduleCode,
                                std::uint8_t bandCode) const
{
    const auto at = static_cast<std::size_t>(byte);
    switch (field.store) {
    case Store::Header:
        return header[static_cast<std::size_t>(StationLayout::headerAt(field.name)) + at];
    case Store::Tone:
        return tones[at];
    case Store::IdHigh:
        return static_cast<std::uint8_t>(idCode >> 8);
    case Store::IdLow:
        return static_cast<std::uint8_t>(idCode & 0xFF);
    case Store::Module:
        return moduleCode;
    case Store::Band:
        return bandCode;
    case Store::Record:
        return records[at / RecordSize][at % RecordSize];
    case Store::Ignored:
        break;
    }
    return 0;
}

void RadioImage::setSetting(SettingsText::Key key, int value)
{
    const StationLayout::SettingCoding &coding = *StationLayout::codingOf(key);
    const auto at = static_cast<std::size_t>(coding.byte);
    std::uint8_t &byte = coding.field == Name::Tones ? tones[at] : header[StationLayout::headerAt(coding.field) + at];
    byte = StationLayout::encoded(key, value, byte);
}

QString RadioImage::settingText(SettingsText::Key key) const
{
    const StationLayout::SettingCoding &coding = *StationLayout::codingOf(key);
    return StationLayout::decoded(key, byteOf(StationLayout::field(coding.field), coding.byte, 0, 0));
}

QByteArray RadioImage::writePrefix(std::uint8_t moduleCode, std::uint8_t bandCode) const
{
    QByteArray bytes;
    bytes.reserve(WritePrefixSize);
    for (const Name name : StationLayout::writeOrder) {
        const StationLayout::Field &f = StationLayout::field(name);
        if (f.store == Store::Record)
            continue;
        for (int copy = 0; copy < f.writeCopies; ++copy) {
            for (int i = 0; i < f.size; ++i)
                bytes.append(static_cast<char>(byteOf(f, i, moduleCode, bandCode)));
        }
    }
    return bytes;
}

QByteArray RadioImage::writeOrder(std::uint8_t moduleCode, std::uint8_t bandCode) const
{
    QByteArray bytes = writePrefix(moduleCode, bandCode);
    const int n = std::min(channelCount(), MaxChannels);
    for (int r = 0; r < n; ++r)
        bytes.append(reinterpret_cast<const char *>(records[static_cast<std::size_t>(r)].data()), RecordSize);
    return bytes;
}

std::optional<RadioImage::ReadSlot> RadioImage::readSlot(int offset)
{
    for (const Name name : StationLayout::readOrder) {
        const StationLayout::Field &f = StationLayout::field(name);
        const int within = offset - StationLayout::readAt(name);
        if (within < 0 || within >= f.size)
            continue;
        if (f.store == Store::Record)
            return ReadSlot{f.store, within / RecordSize, within % RecordSize};
        if (f.store == Store::Header)
            return ReadSlot{f.store, StationLayout::headerAt(name) + within};
        return ReadSlot{f.store, within};
    }
    return std::nullopt;
}

RadioImage::ReadExtras RadioImage::fillFromReadOrder(const QByteArray &reply)
{
    return placeReplyBytes(0, reinterpret_cast<const std::uint8_t *>(reply.constData()), int(reply.size()));
}

RadioImage::ReadExtras RadioImage::placeReplyBytes(int offset, const std::uint8_t *bytes, int count)
{
    ReadExtras extras;
    std::optional<std::uint8_t> idHigh;
    for (int i = 0; i < count; ++i) {
        const auto slot = readSlot(offset + i);
        if (!slot)
            break;
        const std::uint8_t byte = bytes[i];
        const auto index = static_cast<std::size_t>(slot->index);
        switch (slot->field) {
        case Store::Header:
            header[index] = byte;
            break;
        case Store::IdHigh:
            idHigh = byte;
            break;
        case Store::IdLow:
            if (idHigh)
                extras.idCode = static_cast<std::uint16_t>((*idHigh << 8) | byte);
            break;
        case Store::Tone:
            tones[index] = byte;
            break;
        case Store::Module:
            extras.moduleCode = byte;
            break;
        case Store::Band:
            extras.bandCode = byte;
            break;
        case Store::Ignored:
            break;
        case Store::Record:
            if (slot->index >= channelCount())
                return extras;
            records[index][static_cast<std::size_t>(slot->byte)] = byte;
            break;
        }
    }
    return extras;
}
