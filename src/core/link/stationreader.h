#pragma once

#include "common/refusal.h"

#include <QByteArray>
#include <QString>

class LinkEvents;
class StationLink;

// What one read did.
struct ReadOutcome
{
    enum class Kind {
        Complete,    // the whole reply came
        NoAnswer,    // the line stayed busy, or a gap in the reply ran out (what came is in `reply`)
        Refused,     // more channels than a station holds (`refusal`); the rest was dropped
        PortFailure, // the port failed under the read (`failure`)
    };

    Kind kind = Kind::Complete;
    // Every byte taken from the line, in order.
    QByteArray reply;
    // The request went out: from then on the reply may have changed what a
    // window shows.
    bool requested = false;
    // No answer because the line never fell quiet before the request.
    bool lineBusy = false;
    MaybeRefusal refusal;
    QString failure;
};

// Reads a station ("Чтение данных "): the request byte 30, then the reply,
// which the station sends unprompted and which is not acknowledged. The
// reply's length and where it is shown come from its channel count
// (StationReply); surplus bytes are dropped at the end.
namespace StationReader {

// The whole read, on an open line. Serial errors end it as a port failure;
// a request to end at once is one too.
ReadOutcome read(StationLink &link, LinkEvents &events);

} // namespace StationReader
