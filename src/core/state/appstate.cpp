#include "state/appstate.h"

void AppState::selectStation(StationKind kind)
{
    stationKind = kind;
    profile = StationProfiles::get(kind);
    bandCode = profile.bandCode;
    table.detachCheckBoxes();
}

std::optional<StationKind> AppState::selectStationByBandCode(std::uint8_t code)
{
    const auto kind = StationProfiles::forBandCode(code);
    if (kind)
        selectStation(*kind);
    else
        bandCode = code;
    return kind;
}

void AppState::setModuleCode(std::uint8_t code)
{
    moduleCode = code;
    if (code < Modules::Count)
        moduleMenuIndex = code;
}
