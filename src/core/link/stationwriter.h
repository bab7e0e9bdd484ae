#pragma once

#include <QString>
#include <QtGlobal>
#include <cstdint>

class LinkEvents;
class StationLink;
struct StationData;

// What one write did.
struct WriteOutcome
{
    enum class Kind {
        Completed,   // every byte answered
        NotStarted,  // the line did not fall quiet (nothing sent), or the start byte went unanswered
        BrokenOff,   // the station fell silent after the start byte
        PortFailure, // the port failed under the write (`failure`)
    };

    Kind kind = Kind::Completed;
    // Bytes that went out on the line, the start byte included. When the
    // station fell silent, the last of them is the one it did not answer.
    qsizetype sent = 0;
    // The line stayed busy before the start byte.
    bool lineBusy = false;
    // PortFailure: the platform's text.
    QString failure;

    bool operator==(const WriteOutcome &) const = default;
};

// Writes a station ("Запись данных "): the start byte 20, then its data in
// the write order, every byte answered by the station before the next goes
// out; a pause between the settings and the channel records.
namespace StationWriter {

constexpr std::uint8_t StartByte = 20;

// The whole write, on an open line. A station that does not answer a byte
// ends it there: nothing is retried. Serial errors end it as a port failure;
// a request to end at once is one too.
WriteOutcome write(StationLink &link, const StationData &data, LinkEvents &events);

} // namespace StationWriter
