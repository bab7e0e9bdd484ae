#pragma once

#include "image/radioimage.h"
#include "station/stationprofile.h"
#include "table/channeltable.h"

#include <QStringList>
#include <cstdint>
#include <optional>

// The program-wide data of one run, created in main() and handed to the
// windows by reference.
struct AppState
{
    // The station type whose menu entry is checked, and its limits and constants.
    StationKind stationKind = StationKind::Band144_174;
    StationProfile profile = StationProfiles::get(StationKind::Band144_174);
    // Band and module codes as the image and the channel file carry them. A
    // file load may keep a code that names no profile (band) or no menu entry.
    std::uint8_t bandCode = 0;
    std::uint8_t moduleCode = 0;
    // The checked entry of the module menu (0..5).
    int moduleMenuIndex = 0;

    bool dataValid = false;
    RadioImage image;
    std::uint8_t settingsDigitCount = 0;
    QString savedRepeaterText;
    std::uint8_t portNumber = 0;
    // A write, read or port search holds the line; the main window may not close.
    bool transferRunning = false;

    ChannelTable table;
    QStringList settingsLines;

    // The core part of selecting a station type: limits, constants and band
    // code from the profile, and the table's boxes detached.
    void selectStation(StationKind kind);
    // Selection by a band code read from a file or the station. A code that
    // names no profile keeps the current one and is kept as the band code.
    // Returns the kind selected, if any.
    std::optional<StationKind> selectStationByBandCode(std::uint8_t code);
    // Sets the module code; the menu entry follows when the code names one.
    void setModuleCode(std::uint8_t code);
};
