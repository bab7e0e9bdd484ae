#include "image/radioimage.h"

#include <algorithm>

QByteArray RadioImage::writePrefix(std::uint8_t moduleCode, std::uint8_t bandCode) const
{
    QByteArray bytes;
    bytes.reserve(WritePrefixSize);
    auto put = [&bytes](std::uint8_t b) { bytes.append(static_cast<char>(b)); };
    for (int i = Brightness; i <= SpecialChannel; ++i)
        put(header[static_cast<std::size_t>(i)]);
    for (std::uint8_t t : tones)
        put(t);
    put(static_cast<std::uint8_t>(idCode >> 8));
    put(static_cast<std::uint8_t>(idCode & 0xFF));
    for (int i = FvCode; i <= OptionFlags; ++i)
        put(header[static_cast<std::size_t>(i)]);
    put(moduleCode);
    put(bandCode);
    put(bandCode);
    put(bandCode);
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
    using F = ReadSlot::Field;
    if (offset < 0)
        return std::nullopt;
    if (offset < 8) // serial number and header 3..7 keep their header numbers
        return ReadSlot{F::Header, offset};
    if (offset == 8)
        return ReadSlot{F::IdHigh};
    if (offset == 9)
        return ReadSlot{F::IdLow};
    if (offset < 20)
        return ReadSlot{F::Tone, offset - 10};
    if (offset < 24)
        return ReadSlot{F::Header, offset - 20 + FvCode};
    if (offset == 24)
        return ReadSlot{F::Module};
    if (offset == 25)
        return ReadSlot{F::Band};
    if (offset < ReadPrefixSize)
        return ReadSlot{F::Ignored, offset - 26};
    const int inRecords = offset - ReadPrefixSize;
    if (inRecords >= MaxChannels * RecordSize)
        return std::nullopt;
    return ReadSlot{F::Record, inRecords / RecordSize, inRecords % RecordSize};
}

RadioImage::ReadExtras RadioImage::fillFromReadOrder(const QByteArray &reply)
{
    using F = ReadSlot::Field;
    ReadExtras extras;
    std::optional<std::uint8_t> idHigh;
    const int size = static_cast<int>(reply.size());
    for (int offset = 0; offset < size; ++offset) {
        const auto slot = readSlot(offset);
        if (!slot)
            break;
        const auto byte = static_cast<std::uint8_t>(reply.at(offset));
        const auto index = static_cast<std::size_t>(slot->index);
        switch (slot->field) {
        case F::Header:
            header[index] = byte;
            break;
        case F::IdHigh:
            idHigh = byte;
            break;
        case F::IdLow:
            extras.idCode = static_cast<std::uint16_t>((*idHigh << 8) | byte);
            break;
        case F::Tone:
            tones[index] = byte;
            break;
        case F::Module:
            extras.moduleCode = byte;
            break;
        case F::Band:
            extras.bandCode = byte;
            break;
        case F::Ignored:
            break;
        case F::Record:
            if (slot->index >= channelCount())
                return extras;
            records[index][static_cast<std::size_t>(slot->byte)] = byte;
            break;
        }
    }
    return extras;
}
