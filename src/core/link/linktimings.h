#pragma once

// How long a transfer waits on the line, counted on the line's own clock.
// The product keeps the line's own values; tests pass their own, and a line
// in memory counts them without waiting.
struct LinkTimings
{
    // Before a request or a start byte the line must have been quiet this
    // long: longer than any gap the reader allows between two bytes of one
    // reply (headerGapMs, recordGapMs), so that a slow
    // station still sending the rest of an interrupted reply is never taken
    // for a quiet one, and the new request or start byte does not go into
    // its reply. It costs about a quarter of a second per transfer.
    int quietLineMs = 250;
    // A line that does not fall quiet within this bound ends the transfer
    // before any byte is sent.
    int quietLineBoundMs = 3000;
    // How long the station's answer to a written byte may take.
    int ackWaitMs = 201;
    // The longest gap between two bytes of a read's reply: in the settings
    // blocks, and in the channel records.
    int headerGapMs = 201;
    int recordGapMs = 101;
    // The pause of a write between the settings and the channel records.
    int settingsPauseMs = 200;
};

static_assert(LinkTimings().quietLineMs > LinkTimings().headerGapMs
                  && LinkTimings().quietLineMs > LinkTimings().recordGapMs,
              "a station pausing within its reply as long as the reader allows must not seem quiet");
