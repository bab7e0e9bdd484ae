#pragma once

#include "common/refusal.h"
#include "state/appstate.h"
#include "transfer/linksetup.h"

#include <QString>
#include <QStringList>
#include <functional>

class TransferObserver;

// The steps of one station's sequence, in their order.
enum class SequenceStep { BackUp, Write, Verify, Report };

// What one station's sequence came to. The command line and the window word
// it; nothing here is a message.
struct SequenceOutcome
{
    enum class Kind {
        Done,                // every step of the plan passed
        NoAnswer,            // a wait ran out in `step` (a write: see `sent`; a reply begun: `failure` says where)
        Refused,             // the reply of the read in `step` was refused (`refusal`)
        Differs,             // the read-back holds something else (`differences`)
        StationChanged,      // the read-back came from another station (`serialBack`)
        Failure,             // the port failed in `step` (`failure`)
        ArchiveFailed,       // the backup's copy could not be kept (`failure`): nothing written
        ReportFailed,        // written and verified, but the report failed (`failure`)
        StoppedBeforeWrite,  // asked to stop: nothing written
        StoppedAfterWrite,   // asked to stop: written, not read back
        StoppedBeforeReport, // asked to stop: written and verified, no report
        Aborted,             // ended at once in `step`; a write was cut at `sent`
    };

    Kind kind = Kind::Done;
    SequenceStep step = SequenceStep::BackUp; // the last step begun
    QString serial;                           // as the backup read found it
    QString serialBack;                       // as the read-back found it
    AppState held;                            // what the backup read found
    qsizetype sent = 0;                       // bytes of the write, the start byte included
    qsizetype total = 0;                      // bytes a whole write sends
    bool writeStarted = false;                // the station answered the start byte
    bool lineBusy = false;                    // no answer: the line never fell quiet
    MaybeRefusal refusal;
    QString failure;
    QStringList differences;
    QString archiveCopy; // the backup's copy in the archive of reads
    QString report;
    QString trace; // the sequence's trace; empty when none was kept
};

// One station from its backup to its report: the engine that the command
// line, the batch and the window run. Each step opens nothing of its own:
// the station's port is opened once, locked and held for the whole
// sequence, so that every step talks to the station that was backed up, and
// the read-back must carry the serial number of the backup read.
struct StationPlan
{
    LinkSetup link;
    AppState state;        // checked, with this station's Id
    bool backUp = true;    // read first, and keep the reply in the archive
    QString archiveFolder; // of reads
    bool write = true;
    bool verify = true; // read back and compare
    // Makes the station's report from the written state and the station's
    // serial number and returns its path, throwing PlatformError; none: no
    // report.
    std::function<QString(const AppState &, const QString &serial)> report;
};

class StationSequence
{
public:
    // The step that begins, before its first byte, and the station's serial
    // number as the backup read found it (empty before).
    using StepStarted = std::function<void(SequenceStep, const QString &serial)>;

    // Runs the plan on the calling thread. The transfers show their status
    // and gauge through `view`. Throws nothing.
    static SequenceOutcome run(const StationPlan &plan, TransferObserver &view, const StepStarted &stepStarted = {});
};
