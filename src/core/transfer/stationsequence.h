#pragma once

#include "common/refusal.h"
#include "image/stationdata.h"
#include "image/stationreply.h"
#include "table/channelplan.h"
#include "transfer/linksetup.h"
#include "transfer/transferevents.h"

#include <QString>
#include <QStringList>
#include <functional>

// What one station's sequence came to. The command line and the windows
// word it; nothing here is a message.
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
    bool portOpened = false;                  // the station's port was opened
    QString serial;                           // as the backup read found it
    QString serialBack;                       // as the read-back found it
    StationReply held;                        // what the backup read found
    bool requested = false;                   // a read's request went out
    qsizetype sent = 0;                       // bytes of the write, the start byte included
    qsizetype total = 0;                      // bytes a whole write sends
    bool writeStarted = false;                // the station answered the start byte
    qint64 writeMs = 0;                       // the write's time on the line's clock
    bool lineBusy = false;                    // no answer: the line never fell quiet
    MaybeRefusal refusal;
    QString failure;
    QStringList differences;
    QString archiveCopy; // the backup's copy in the archive of reads
    QString report;
};

// One station from its backup to its report: the steps every transfer is
// made of. A single read is a plan of the backup alone, a single write one
// of the write alone.
struct StationPlan
{
    LinkSetup link;
    // The plan written, for the report; its station type decodes the reads.
    ChannelPlan channels;
    // What the write sends: the checked bytes, with this station's Id.
    StationData data;
    bool backUp = true;    // read first, and keep the reply in the archive
    QString archiveFolder; // of reads; empty: no copy
    bool write = true;
    bool verify = true; // read back and compare
    // Makes the station's report from the plan written and the station's
    // serial number and returns its path, throwing PlatformError; none: no
    // report.
    std::function<QString(const ChannelPlan &, const StationData &, const QString &serial)> report;
};

// Runs a plan on the calling thread. The station's port is opened once,
// locked and held for the whole sequence, so that every step talks to the
// station that was backed up, and the read-back must carry the serial
// number of the backup read. Throws nothing.
namespace StationSequence {

SequenceOutcome run(const StationPlan &plan, TransferEvents &events);

} // namespace StationSequence
