#pragma once

// How long a transfer waits on the line. The product keeps the line's own
// values; tests pass short ones so that none of them waits out real time.
struct LinkTimings
{
    // Before a request or a start byte the line must have been quiet this
    // long: longer than any gap the reader takes between two bytes of one
    // reply (headerPolls, recordPolls, each poll up to 1 ms), so that a slow
    // station still sending the rest of an interrupted reply is never taken
    // for a quiet one, and the new request or start byte does not go into
    // its reply. It costs about a quarter of a second per transfer.
    int quietLineMs = 250;
    // A line that does not fall quiet within this bound ends the transfer
    // before any byte is sent.
    int quietLineBoundMs = 3000;
    // Empty polls (each waits up to 1 ms on the port) that the station's
    // answer to a written byte may take.
    int ackPolls = 200;
    // Empty polls allowed between two bytes of a read's reply: in the
    // settings blocks, and in the channel records.
    int headerPolls = 200;
    int recordPolls = 100;
    // The pause of a write between the settings and the channel records.
    int settingsPauseMs = 200;
};

static_assert(LinkTimings().quietLineMs > LinkTimings().headerPolls
                  && LinkTimings().quietLineMs > LinkTimings().recordPolls,
              "a station pausing within its reply as long as the reader allows must not seem quiet");
