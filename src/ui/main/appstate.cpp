#include "main/appstate.h"

#include "image/stationreply.h"

DataCheckResult AppState::check(const QString &tempSettingsPath)
{
    dataValid = false;
    settingsDigitCount = 0;
    DataCheckResult result = DataCheck::run(*this, tempSettingsPath);
    image = result.station.image;
    settingsDigitCount = result.settingsDigitCount;
    if (result.passed()) {
        moduleCode = result.station.moduleCode;
        dataValid = true;
    }
    return result;
}

AppState AppState::afterRead(const AppState &before, const StationReply &reply)
{
    AppState after = before;
    after.settingsLines = reply.settingsLines();
    after.image = reply.placedOver(before.image);
    after.dataValid = reply.complete() && before.dataValid;
    if (reply.settingsComplete()) {
        after.moduleCode = reply.station().moduleCode;
        after.table.setRowCount(reply.channelCount() + 1);
        after.selectStationByBandCode(reply.station().bandCode);
    }
    if (reply.complete()) {
        after.table = reply.table();
        after.setModuleCode(after.moduleCode);
    }
    return after;
}
