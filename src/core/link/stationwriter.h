#pragma once

#include "common/refusal.h"

#include <cstdint>

struct AppState;
class TransferLink;

// Writes the radio image into the station ("Запись данных "): the start byte
// 20, then the image in its write order, every byte answered by the station
// before the next goes out.
class StationWriter
{
public:
    static constexpr std::uint8_t StartByte = 20;

    // Refuses while the data are not checked. A station that does not answer
    // the start byte ends the write quietly; one that falls silent later
    // leaves "AK" and the write stops with the closed port's error at its next
    // port operation. Serial errors are thrown as PlatformError; one that
    // ends the write after it started (the port went away) leaves "AK", the
    // buttons enabled and the port closed first.
    static MaybeRefusal write(const AppState &state, TransferLink &link);

    // Progress after channel record j of n: j * (100 / n), halves to even.
    static int recordProgress(int j, double step);

private:
    // Everything from the disabling of the buttons on.
    static void send(const AppState &state, TransferLink &link);
};
