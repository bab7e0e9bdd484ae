#pragma once

#include "transfer/stationsequence.h"

// How far one station of a batch is, from what the transfer dialog's gauge
// would show of its transfers. That gauge runs differently in each step: a
// read's counts down over the records, a write's runs once over the bytes
// before the records, falls back to 0 after the pause and runs again over
// the records. Here every step counts up, the write once over all its bytes
// by their number, and nothing goes back: neither a step nor the station's
// whole sequence, in which the backup read takes the first quarter, the
// write the next half and the read-back the last quarter, as the line's
// time goes (a written byte waits for its answer, so it takes two character
// times where a read byte takes one).
class BatchProgress
{
public:
    // `channels`: the channel records the station's write sends.
    explicit BatchProgress(int channels);

    void begin(SequenceStep step);
    // The gauge shows `value`: the running step's share done, 0..100, never
    // less than before in the step.
    int stepPercent(int gaugeValue);

    // The station's whole sequence done, 0..100, with the running step at
    // `stepPercent`.
    static int overall(SequenceStep step, int stepPercent);

private:
    SequenceStep m_step = SequenceStep::BackUp;
    // The share of the write's bytes sent before its records, in percent.
    double m_beforeRecords;
    bool m_inRecords = false;
    int m_lastGauge = 0;
    int m_percent = 0;
};
