#include "image/stationdata.h"

#include "image/fieldcoding.h"

#include <algorithm>

using StationLayout::Store;

QString StationData::serial() const
{
    const auto &header = image.header;
    return FieldCoding::serialText(header[RadioImage::Serial0], header[RadioImage::Serial1],
                                   header[RadioImage::Serial2]);
}

QByteArray StationData::reply() const
{
    const int records = std::min(image.channelCount(), RadioImage::MaxChannels);
    QByteArray bytes(RadioImage::ReadPrefixSize + records * RadioImage::RecordSize, '\0');
    for (const StationLayout::Field &f : StationLayout::fields) {
        const int size = f.store == Store::Record ? records * RadioImage::RecordSize : f.size;
        for (int i = 0; i < size; ++i)
            bytes[f.readAt + i] = static_cast<char>(image.byteOf(f, i, moduleCode, bandCode));
    }
    return bytes;
}
