#pragma once

#include "transfer/stationsequence.h"

#include <QString>
#include <memory>

class BatchReports;

// One station of a batch, as `vetral-cli fleet` and the window's batch run
// it: read with its archive copy, write with its own Id, read back and
// compare, report. Both word its outcome as OutcomeWords does.
namespace BatchStation {

// The plan of a station of the batch on `device`: the checked plan and its
// bytes; reports (none: no report) and the stop request are shared with the
// batch's other stations.
StationPlan plan(const ChannelPlan &channels, const StationData &data, const QString &device,
                 const QString &optionsFile, const QString &archiveFolder, std::shared_ptr<BatchReports> reports,
                 std::shared_ptr<TransferStop> stop);

// The plan writes the Id `id` (four characters as the "Id_номер" setting
// takes them) and shows it in its settings text.
void setId(StationPlan &plan, const QString &id);

// The name of a step as the progress shows it: "чтение", "запись",
// "проверка", "протокол".
QString stepName(SequenceStep step);

} // namespace BatchStation
