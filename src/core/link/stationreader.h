#pragma once

#include <cstdint>

struct AppState;
class ReadObserver;
class TransferLink;

// Reads the station's memory ("Чтение данных "): the request byte 30, then
// the reply, which the station sends unprompted and which is not
// acknowledged: blocks of 10, 10, 4 and 4 bytes and one record of 18 bytes
// per channel. The reply is decoded into the radio image, the settings text
// and the table step by step as it arrives, so a read cut short keeps what
// came before.
//
// The read does not need the data-valid flag and keeps the Id code that the
// data check built for writing. A complete read leaves the flag as it was;
// any other end after the request went out (no answer, a refusal, a serial
// error) clears it, since the image then holds a mix of old and new bytes.
class StationReader
{
public:
    static constexpr std::uint8_t RequestByte = 30;
    // Empty polls allowed between two bytes are the link's timings (header
    // and record polls); a received byte and the start of a block or record
    // set the count again, and the next poll gives up.

    enum class Outcome {
        Complete, // everything decoded, "- -"
        NoAnswer, // a gap ran out: "AK", what came so far kept
        Refused,  // more channels than the image holds: refused through the observer, "AK"
    };

    // Serial errors (port absent, prompt cancelled, port closed under the
    // read) are thrown as PlatformError; before the port is open only the
    // status "ПП" has been shown, after it the read has ended as after a
    // time-out ("AK", buttons enabled, port closed).
    static Outcome read(AppState &state, TransferLink &link, ReadObserver &view);

    // The gauge's step per record: 100 / records, halves to even, as a byte.
    static int progressStep(int records);
    // The gauge after one more record: lowered by the step, never below 0.
    static int lowered(int progress, int step);
};
