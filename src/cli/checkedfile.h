#pragma once

#include "check/datacheck.h"

#include <QString>

struct AppState;

// "Чтение файла" and then "Контроль", as the window runs them: the file's
// settings, station type, module and table replace the state, and the check
// builds the radio image. The temporary settings file is the program's own.
//
// Throws PlatformError when the file cannot be opened, when it has no channel
// section 1 (the load's own failure), and for the check's platform failures
// (a cell that must be a number and is not, MyTemp.ini not writable).
DataCheckResult loadAndCheck(const QString &path, AppState &state);
