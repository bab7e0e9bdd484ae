#include "image/stationdata.h"

#include "image/fieldcoding.h"

#include <algorithm>

using StationLayout::Name;
using StationLayout::Store;

QString StationData::serial() const
{
    const auto *serial = &image.header[StationLayout::headerAt(Name::Serial)];
    return FieldCoding::serialText(serial[0], serial[1], serial[2]);
}

QByteArray StationData::reply() const
{
    const int records = std::min(image.channelCount(), RadioImage::MaxChannels);
    QByteArray bytes(RadioImage::ReadPrefixSize + records * RadioImage::RecordSize, '\0');
    for (const Name name : StationLayout::readOrder) {
        const StationLayout::Field &f = StationLayout::field(name);
        const int size = f.store == Store::Record ? records * RadioImage::RecordSize : f.size;
        for (int i = 0; i < size; ++i)
            bytes[StationLayout::readAt(name) + i] = static_cast<char>(image.byteOf(f, i, moduleCode, bandCode));
    }
    return bytes;
}
