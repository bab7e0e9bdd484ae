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
