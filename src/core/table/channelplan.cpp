#include "table/channelplan.h"

void ChannelPlan::selectStation(StationKind kind)
{
    stationKind = kind;
    bandCode = profile().bandCode;
    table.detachCheckBoxes();
}

std::optional<StationKind> ChannelPlan::selectStationByBandCode(std::uint8_t code)
{
    const auto kind = StationProfiles::forBandCode(code);
    if (kind)
        selectStation(*kind);
    else
        bandCode = code;
    return kind;
}

void ChannelPlan::setModuleCode(std::uint8_t code)
{
    moduleCode = code;
    if (code < Modules::Count)
        chosenModule = code;
}
