#pragma once

#include "transfer/stationsequence.h"

#include <QString>

class BatchReports;

// One station of a batch, as `vetral-cli fleet` and the window's batch run
// it: read with its archive copy, write with its own Id, read back and
// compare, report. Both word its outcome as OutcomeWords does.
namespace BatchStation {

// The plan of a station of the batch on `device`.
StationPlan plan(const AppState &state, const QString &device, const QString &optionsFile, const QString &archiveFolder,
                 BatchReports *reports, const TransferStop *stop);

// A copy of the checked state that writes the Id `id` (four characters as
// the "Id_номер" setting takes them) and shows it in its settings text.
AppState withId(const AppState &checked, const QString &id);

// The name of a step as the progress shows it: "чтение", "запись",
// "проверка", "протокол".
QString stepName(SequenceStep step);

} // namespace BatchStation
