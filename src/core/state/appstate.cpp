#include "state/appstate.h"

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
