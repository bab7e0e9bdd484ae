#pragma once

#include "station/stationprofile.h"
#include "table/channeltable.h"

#include <QStringList>
#include <cstdint>
#include <optional>

// What the technician plans for one station: the general settings text and
// the channel table, the station type whose band and constants they are
// meant for and the add-on module chosen; beside them the band and module
// codes as a channel file or a station gave them, kept as they came also
// when they name no type or module, so that a file saved again says what it
// said.
struct ChannelPlan
{
    StationKind stationKind = StationKind::Band144_174;
    std::uint8_t bandCode = 0;
    std::uint8_t moduleCode = 0;
    // The module chosen (0..5), which a data check writes.
    int chosenModule = 0;
    QStringList settingsLines;
    ChannelTable table;

    const StationProfile &profile() const { return StationProfiles::get(stationKind); }

    // The core part of selecting a station type: its band code, and the
    // table's boxes detached.
    void selectStation(StationKind kind);
    // Selection by a band code read from a file or the station. A code that
    // names no type keeps the current one and is kept as the band code.
    // Returns the type selected, if any.
    std::optional<StationKind> selectStationByBandCode(std::uint8_t code);
    // Sets the module code; the chosen module follows when the code names one.
    void setModuleCode(std::uint8_t code);
};
