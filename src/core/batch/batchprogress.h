#pragma once

#include "transfer/transferevents.h"

// How far one station of a batch is, from the bytes of its running step:
// every step counts up over its bytes, and the station's bar follows its
// whole sequence, in which the backup read takes the first quarter, the
// write the next half and the read-back the last quarter, as the line's time
// goes (a written byte waits for its answer, so it takes two character times
// where a read byte takes one). Neither a step nor the whole goes back.
class BatchProgress
{
public:
    void begin(SequenceStep step);
    // The running step's share done, 0..100, never less than before in the step.
    int stepPercent(const TransferProgress &progress);

    // The station's whole sequence done, 0..100, with `step` at `stepPercent`.
    static int overall(SequenceStep step, int stepPercent);

private:
    int m_percent = 0;
};
