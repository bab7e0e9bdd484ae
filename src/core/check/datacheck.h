#pragma once

#include "common/refusal.h"

#include <QString>

struct AppState;

struct DataCheckResult
{
    // The first failing rule's refusal; none when every rule passed.
    MaybeRefusal refusal;

    bool passed() const { return !refusal.has_value(); }
    // The one message the check shows: the refusal's, or the success text.
    QString text() const;
};

// "Контроль": checks the general settings and every channel row in a fixed
// order, builds the radio image as it goes and stops at the first fault.
namespace DataCheck {

// The message of a passed check.
QString successText();

// Reads state.table, state.settingsLines, state.profile and
// state.moduleMenuIndex; writes state.image (header 3..11, tones, Id and the
// records; the serial number and the band code are left alone),
// state.settingsDigitCount, state.moduleCode and state.dataValid. The flag is
// cleared first and set only when every rule passed; a refusal leaves the
// image as far as it was built.
//
// The settings are read back through the file at tempSettingsPath
// (Paths::tempSettingsFile() in the program), which is rewritten and left on
// disk. Throws PlatformError when that file cannot be written or read, and
// the conversion error of a cell or setting that must be a number and is not.
DataCheckResult run(AppState &state, const QString &tempSettingsPath);

} // namespace DataCheck
