#pragma once

#include "common/refusal.h"
#include "image/stationdata.h"

#include <QString>
#include <cstdint>

struct ChannelPlan;

struct DataCheckResult
{
    // The first failing rule's refusal; none when every rule passed.
    MaybeRefusal refusal;
    // What a write sends: the image as far as the check built it (all of it
    // when it passed; the serial number, which no write sends, stays 0), the
    // chosen module, the plan's band code and station type.
    StationData station;
    std::uint8_t settingsDigitCount = 0;

    bool passed() const { return !refusal.has_value(); }
    // The one message the check shows: the refusal's, or the success text.
    QString text() const;
};

// "Контроль": checks the general settings and every channel row in a fixed
// order, builds the radio image as it goes and stops at the first fault.
namespace DataCheck {

// The message of a passed check.
QString successText();

// Checks the plan's settings lines and table with the constants of its
// station type and codes them, with the chosen module, into the result.
//
// The settings are read back through the file at tempSettingsPath
// (Paths::tempSettingsFile() in the program), which is rewritten and left on
// disk. Throws PlatformError when that file cannot be written or read, and
// the conversion error of a cell or setting that must be a number and is not.
DataCheckResult run(const ChannelPlan &plan, const QString &tempSettingsPath);

} // namespace DataCheck
