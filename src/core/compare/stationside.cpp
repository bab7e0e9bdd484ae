#include "compare/stationside.h"

#include "image/fieldcoding.h"
#include "state/appstate.h"
#include "table/settingstext.h"

#include <algorithm>

using StationLayout::Store;

StationSide StationSide::checked(const ChannelPlan &plan, const StationData &station)
{
    return StationSide{
        station.image, station.stationKind, station.moduleCode, station.bandCode, plan.table, plan.settingsLines, true};
}

StationSide StationSide::read(const AppState &state)
{
    StationSide side = checked(state, state.checkedStation());
    side.ownTexts = false;
    // The read writes the Id as four hexadecimal digits, which code back to
    // the same two bytes.
    const auto id = side.setting(SettingsText::name(SettingsText::Key::Id));
    side.image.idCode = FieldCoding::idCode(id.value_or(QString())).value_or(0);
    return side;
}

int StationSide::channelCount() const
{
    return std::min(image.channelCount(), RadioImage::MaxChannels);
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

QList<StoredByteDifference> storedByteDifferences(const StationSide &a, const StationSide &b)
{
    QList<StoredByteDifference> found;
    for (const StationLayout::Field &f : StationLayout::fields) {
        if (f.writeAt < 0)
            continue;
        const int size =
            f.store == Store::Record ? std::min(a.channelCount(), b.channelCount()) * RadioImage::RecordSize : f.size;
        for (int i = 0; i < size; ++i) {
            const std::uint8_t x = a.image.byteOf(f, i, a.moduleCode, a.bandCode);
            const std::uint8_t y = b.image.byteOf(f, i, b.moduleCode, b.bandCode);
            if (x != y)
                found.append({f.writeAt + i, x, y});
        }
    }
    return found;
}
