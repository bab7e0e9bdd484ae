#pragma once

#include "state/appstate.h"

#include <QString>
#include <functional>

class FleetReports;

// One station of a batch, run on a thread of its own.
class TransferStop;

struct FleetJob
{
    QString device;                  // the port's device
    QString optionsFile;             // the program's options file
    AppState state;                  // checked, carrying this station's Id
    QString archiveFolder;           // the archive of reads
    FleetReports *reports = nullptr; // none: no report
    const TransferStop *stop = nullptr;
};

struct FleetResult
{
    QString serial = QStringLiteral("-"); // six hexadecimal digits once read
    int exitCode = 0;                     // ExitCode of this station
    QString text;                         // the result, for the station's line
    QString archiveCopy;                  // paths of the files made, if any
    QString report;
};

// The step a station is at and how much of it is done (0..100).
using FleetProgress = std::function<void(const QString &step, int percent)>;

namespace FleetStation {

// Reads the station and keeps the reply in the archive of reads, writes the
// checked image, reads it back and compares, and writes the report, through
// the station sequence. A step that fails ends the station's run there. Runs
// on the calling thread with a port of its own, touches nothing but the job,
// its files and the progress callback, and throws nothing.
FleetResult run(const FleetJob &job, const FleetProgress &progress);

// A copy of the checked state that writes the Id `id` (four characters as
// the "Id_номер" setting takes them) and shows it in its settings text.
AppState withId(const AppState &checked, const QString &id);

// The step names the progress shows.
QString readStep();
QString writeStep();
QString verifyStep();
QString reportStep();

} // namespace FleetStation
