#pragma once

#include <QString>

struct SequenceOutcome;

// The result of one station of `fleet`, for its line and the exit status.
struct FleetResult
{
    QString serial = QStringLiteral("-"); // six hexadecimal digits once read
    int exitCode = 0;                     // ExitCode of this station
    QString text;                         // the result, for the station's line
    QString archiveCopy;                  // paths of the files made, if any
    QString report;
};

namespace FleetStation {

FleetResult result(const SequenceOutcome &outcome);

} // namespace FleetStation
