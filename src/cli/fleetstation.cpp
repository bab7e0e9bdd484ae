#include "fleetstation.h"

#include "transfer/outcomewords.h"

namespace FleetStation {

FleetResult result(const SequenceOutcome &outcome)
{
    FleetResult result;
    if (!outcome.serial.isEmpty())
        result.serial = outcome.serial;
    result.exitCode = OutcomeWords::exitCode(outcome);
    result.text = OutcomeWords::text(outcome, OutcomeWords::Voice::BatchLine);
    result.archiveCopy = outcome.archiveCopy;
    result.report = outcome.report;
    return result;
}

} // namespace FleetStation
