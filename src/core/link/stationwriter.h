#pragma once

#include "common/refusal.h"

#include <QString>
#include <QtGlobal>
#include <cstdint>

struct AppState;
class TransferLink;

// What one write did, as StationReader::Outcome tells what a read did.
struct WriteOutcome
{
    enum class Kind {
        Completed,   // every byte answered: "- -"
        NotChecked,  // refused before the port was touched: the data are not checked
        NotStarted,  // the start byte went unanswered ("AK", then "- -"), or the line did
                     // not fall quiet before it ("AK", nothing sent); nothing written
        BrokenOff,   // the station fell silent after the start byte: "AK"
        PortFailure, // the port could not be opened, or failed under the write
    };

    Kind kind = Kind::Completed;
    // Bytes that went out on the line, the start byte included. When the
    // station fell silent, the last of them is the one it did not answer.
    qsizetype sent = 0;
    // NotChecked: the refusal the window shows.
    MaybeRefusal refusal;
    // BrokenOff and PortFailure: the platform's text for the window's error
    // box. A write the station broke off goes on to its next port operation
    // and fails there on the closed port, so its text is the closed port's.
    QString failure;

    bool operator==(const WriteOutcome &) const = default;
};

// Writes the radio image into the station ("Запись данных "): the start byte
// 20, then the image in its write order, every byte answered by the station
// before the next goes out.
class StationWriter
{
public:
    static constexpr std::uint8_t StartByte = 20;

    // Refuses while the data are not checked. A station that does not answer
    // the start byte ends the write quietly; one that falls silent later
    // leaves "AK" and breaks the write off at its next port operation. A
    // serial error (the port cannot be opened, the prompt is cancelled, the
    // port goes away) is a port failure; one after the write started leaves
    // "AK", the buttons enabled and the port closed.
    [[nodiscard]] static WriteOutcome write(const AppState &state, TransferLink &link);

    // Progress after channel record j of n: j * (100 / n), halves to even.
    static int recordProgress(int j, double step);
};
