#pragma once

#include "trace/trace.h"

#include <QString>

struct StationPlan;
struct SequenceOutcome;
struct LinkSetup;

// Traces of the program's transfers: what a station's sequence or a search
// is called in its trace, how it ended, and where it is kept.
namespace TransferTrace {

// The steps of the plan ("чтение, запись, проверка"), its port and waits.
Trace header(const StationPlan &plan);
// "COM3 (/dev/ttyUSB0)", "COM3", or the device given.
QString portName(const LinkSetup &link);
// "выполнено", or the batch's wording of what stopped it where.
QString outcomeText(const SequenceOutcome &outcome);

// Keeps the trace in `folder` (none: not kept) and returns its path. A
// trace that cannot be kept costs the transfer nothing: empty then.
QString keep(const Trace &trace, const QString &folder);

// The trace folder beside an archive folder of reads.
QString folderBeside(const QString &archiveFolder);

} // namespace TransferTrace
