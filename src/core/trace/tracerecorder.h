#pragma once

#include "link/seriallink.h"
#include "trace/trace.h"

#include <memory>

// Records a transfer's trace by tapping the serial links it opens: every
// link `wrap` makes passes each operation on to the link it wraps and notes
// the opening, the bytes sent and taken and the failures, timed on the
// link's own clock (so a line in memory gives exact times). The links may
// outlive the recorder; what they note after it is gone is dropped with it.
class TraceRecorder
{
public:
    // `header` names the transfer, its port and timings; the program and
    // the start are filled in when empty.
    explicit TraceRecorder(Trace header);

    SerialLinkFactory wrap(SerialLinkFactory inner) const;

    // The trace so far, with `outcome` as its ending.
    Trace trace(const QString &outcome) const;

    class Recording; // shared with the links

private:
    std::shared_ptr<Recording> m_recording;
};
