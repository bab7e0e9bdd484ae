#include "fleetstation.h"

#include "exitcodes.h"
#include "batch/batchstation.h"
#include "transfer/stationsequence.h"

namespace FleetStation {

namespace {

int exitCode(const SequenceOutcome &outcome)
{
    using Kind = SequenceOutcome::Kind;
    switch (outcome.kind) {
    case Kind::Done:
        return ExitCode::Done;
    case Kind::NoAnswer:
        return ExitCode::NoAnswer;
    case Kind::Refused:
        // A refused read-back is a station that does not hold what was written.
        return outcome.step == SequenceStep::Verify ? ExitCode::Differs : ExitCode::Refused;
    case Kind::Differs:
    case Kind::StationChanged:
        return ExitCode::Differs;
    case Kind::Failure:
    case Kind::ArchiveFailed:
    case Kind::ReportFailed:
        return ExitCode::Failure;
    case Kind::StoppedBeforeWrite:
    case Kind::StoppedAfterWrite:
    case Kind::StoppedBeforeReport:
    case Kind::Aborted:
        return ExitCode::Stopped;
    }
    return ExitCode::Failure;
}

} // namespace

FleetResult result(const SequenceOutcome &outcome)
{
    FleetResult result;
    if (!outcome.serial.isEmpty())
        result.serial = outcome.serial;
    result.exitCode = exitCode(outcome);
    result.text = BatchStation::resultText(outcome);
    result.archiveCopy = outcome.archiveCopy;
    result.report = outcome.report;
    return result;
}

} // namespace FleetStation
