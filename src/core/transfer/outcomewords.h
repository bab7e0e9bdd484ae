#pragma once

#include "transfer/stationsequence.h"

#include <QString>

// How the end of a station's sequence is told, and the exit status a script
// gets for it. Every command of vetral-cli, the batch window and the transfer
// dialogs take their words from here, so that a station that stopped
// answering is told alike wherever it stopped.
namespace OutcomeWords {

enum class Voice {
    // A station on its own: a sentence, as `write`, `read` and `diff` print
    // it ("Станция не отвечает (AK).").
    Sentence,
    // One station of a batch: its result cell, journal row and `fleet` line,
    // naming the step it ended in ("нет ответа (AK) при чтении").
    BatchLine,
};

// The outcome in words, on one line.
QString text(const SequenceOutcome &outcome, Voice voice);

// The exit status of the outcome (ExitCode). A refused read-back is a
// station that does not hold what was written; a copy that could not be
// kept stops a station before its write.
int exitCode(const SequenceOutcome &outcome);

// The word of a batch's gauge at the station's end: "готово",
// "остановлено" or "не выполнено".
QString gaugeText(const SequenceOutcome &outcome);

// Written, read back and found as written (whatever became of the report).
bool verified(const SequenceOutcome &outcome);

} // namespace OutcomeWords
