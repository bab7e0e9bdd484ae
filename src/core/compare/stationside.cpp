#include "compare/stationside.h"

#include "image/stationreply.h"

#include <algorithm>

using StationLayout::Store;

namespace {

int channelsOf(const StationData &station)
{
    return std::min(station.image.channelCount(), RadioImage::MaxChannels);
}

} // namespace

StationSide StationSide::checked(const ChannelPlan &plan, const StationData &station)
{
    return StationSide{station, plan.table, plan.settingsLines, true};
}

StationSide StationSide::read(const StationReply &reply)
{
    return StationSide{reply.station(), reply.table(), reply.settingsLines(), false};
}

int StationSide::channelCount() const
{
    return channelsOf(station);
}

std::optional<QString> StationSide::setting(const QString &key) const
{
    for (const QString &line : settingsLines) {
        const qsizetype eq = line.indexOf(u'=');
        if (eq > 0 && line.left(eq).trimmed().compare(key, Qt::CaseInsensitive) == 0)
            return line.mid(eq + 1).trimmed();
    }
    return std::nullopt;
}

QList<StoredByteDifference> storedByteDifferences(const StationData &a, const StationData &b)
{
    QList<StoredByteDifference> found;
    for (const StationLayout::Name name : StationLayout::writeOrder) {
        const StationLayout::Field &f = StationLayout::field(name);
        const int size =
            f.store == Store::Record ? std::min(channelsOf(a), channelsOf(b)) * RadioImage::RecordSize : f.size;
        for (int i = 0; i < size; ++i) {
            const std::uint8_t x = a.image.byteOf(f, i, a.moduleCode, a.bandCode);
            const std::uint8_t y = b.image.byteOf(f, i, b.moduleCode, b.bandCode);
            if (x != y)
                found.append({StationLayout::writeAt(name) + i, x, y});
        }
    }
    return found;
}
