#pragma once

#include "check/datacheck.h"
#include "image/radioimage.h"
#include "image/stationdata.h"
#include "table/channelplan.h"

#include <QString>
#include <cstdint>

class DataCheckResult;

// The main window's document: the technician's plan, and the bytes the last
// passed check built (or a later read refilled) with the flags that say
// whether they may be written.
struct AppState : ChannelPlan
{
    bool dataValid = false;
    RadioImage image;
    std::uint8_t settingsDigitCount = 0;
    QString savedRepeaterText;
    std::uint8_t portNumber = 0;
    // A write, read or port search holds the line; the main window may not close.
    bool transferRunning = false;

    // What a write sends: the image with the plan's codes.
    StationData checkedStation() const { return {image, moduleCode, bandCode, stationKind}; }

    // "Контроль" on the plan: the image and the digit count take what the
    // check built, and the flag is set when every rule passed. The flag is
    // cleared before anything can fail, so that a platform error (a
    // conversion, MyTemp.ini) also leaves the data unchecked.
    DataCheckResult check(const QString &tempSettingsPath);
};
