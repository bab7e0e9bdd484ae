#pragma once

#include "transfer/transferevents.h"

// The transfer dialog's gauge (0..100), derived from the running step's
// bytes: a write counts up through its settings (33 after the header, 66
// after the tones, 100 once they are all out) and again through its records
// (j · 100 / N after record j, halves to the even neighbour); a read starts
// at 100 and is lowered after each record by 100 / N, rounded so and held as
// a byte, never below 0. The command line shows the same values.
namespace TransferGauge {

int value(const TransferProgress &progress);

// After a complete step: a write at 100, a read at 0.
int completed(SequenceStep step);

// A read's step per record: 100 / records, halves to even, as a byte.
int readStep(int records);

} // namespace TransferGauge
