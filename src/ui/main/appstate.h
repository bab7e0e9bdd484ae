#pragma once

#include "check/datacheck.h"
#include "image/radioimage.h"
#include "image/stationdata.h"
#include "table/channelplan.h"

#include <QString>
#include <cstdint>

class StationReply;

// The main window's document: the technician's plan, and the bytes the last
// passed check built (or a later read refilled) with the flag that says
// whether they may be written. The other windows take what they need of it
// when they start and never write it.
struct AppState : ChannelPlan
{
    bool dataValid = false;
    RadioImage image;
    std::uint8_t settingsDigitCount = 0;
    QString savedRepeaterText;

    // What a write sends: the image with the plan's codes.
    StationData checkedStation() const { return {image, moduleCode, bandCode, stationKind}; }

    // "Контроль" on the plan: the image and the digit count take what the
    // check built, and the flag is set when every rule passed. The flag is
    // cleared before anything can fail, so that a platform error (a
    // conversion, MyTemp.ini) also leaves the data unchecked.
    DataCheckResult check(const QString &tempSettingsPath);

    // The document `before` a read, once the read's reply has come as far as
    // `reply` says: the settings text as far as it came; once the fixed part
    // is in, the module and band codes, the station type the band code
    // names (its boxes detached) and the table sized to the reply's
    // channels; once the reply is whole, its table and module. The image
    // takes the reply's bytes as far as they came and keeps the Id kept for
    // writing. A read that has not completed leaves the data unchecked,
    // since the image then mixes old and new bytes; a complete one leaves
    // the flag as it was.
    static AppState afterRead(const AppState &before, const StationReply &reply);
};
