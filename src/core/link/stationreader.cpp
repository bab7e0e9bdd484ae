#include "link/stationreader.h"

#include "common/platformerror.h"
#include "image/stationreply.h"
#include "link/linkevents.h"
#include "link/stationlink.h"

namespace StationReader {

namespace {

using Kind = ReadOutcome::Kind;

void receiveReply(StationLink &link, LinkEvents &events, ReadOutcome &outcome, StopNotice &notice)
{
    QByteArray &reply = outcome.reply;
    while (reply.size() < StationReply::expectedLength(reply)) {
        const int gap =
            StationReply::isRecordByte(reply.size()) ? link.timings().recordGapMs : link.timings().headerGapMs;
        const auto byte = link.receive(gap);
        if (!byte) {
            // The port is let go as it is: the station has fallen silent.
            outcome.kind = Kind::NoAnswer;
            return;
        }
        reply.append(static_cast<char>(*byte));
        notice.setTotal(StationReply::expectedLength(reply));
        notice.after(reply.size());
        if ((outcome.refusal = StationReply::refusalOf(reply))) {
            outcome.kind = Kind::Refused;
            break;
        }
        if (StationReply::isShownAt(reply.size()))
            events.received(reply);
    }
    // Whatever the station sends beyond the reply, or the rest of a refused
    // one, goes here.
    link.purge();
}

} // namespace

ReadOutcome read(StationLink &link, LinkEvents &events)
{
    ReadOutcome outcome;
    try {
        link.purge();
        // A station still sending the reply of an interrupted read would have
        // its tail taken for the start of this one.
        if (!link.waitForQuietLine()) {
            outcome.kind = Kind::NoAnswer;
            outcome.lineBusy = true;
            return outcome;
        }
        StopNotice notice(link, events, false);
        notice.begin(StationReply::expectedLength(outcome.reply));
        link.send(StationReply::RequestByte);
        outcome.requested = true;
        events.received(outcome.reply);
        receiveReply(link, events, outcome, notice);
    } catch (const PlatformError &error) {
        outcome.kind = Kind::PortFailure;
        outcome.failure = error.text();
    }
    return outcome;
}

} // namespace StationReader
