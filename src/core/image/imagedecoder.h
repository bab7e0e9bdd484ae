#pragma once

#include "common/refusal.h"
#include "image/radioimage.h"
#include "station/stationprofile.h"
#include "table/settingstext.h"

#include <QByteArray>
#include <cstdint>
#include <optional>
#include <span>

struct AppState;

// Turns a station's reply to the read request back into the radio image, the
// general settings text and the channel table, step by step as the reply
// arrives. The reader calls one step per point of the exchange:
//
//   start()              after the request byte went out
//   afterBlock1(10)      serial number, header 3..7, Id high and low
//   afterToneByte(n, b)  for n = 1..10, as each tone byte arrives
//   afterBlock3(4)       header 8..11
//   afterBlock4(4)       module code, band code, two unused bytes
//   afterRecord(i, 18)   for i = 0..recordCount()-1
//   afterLastRecord()    after the last record (also with no records)
//   finish()             once the port is closed
//
// When the exchange stops early the reader simply calls no further step: what
// the steps before wrote stays, as the technician expects after a time-out.
// A step called out of turn (before its predecessor, or twice) does nothing.
// Blocks are stored whole: the bytes of a block cut short are not kept.
// The data-valid flag, the Id code kept for writing and the settings digit
// count are never touched.
class ImageDecoder
{
public:
    static constexpr int Block1Size = StationLayout::ReadBlock1Size;
    static constexpr int Block3Size = StationLayout::ReadBlock3Size;
    static constexpr int Block4Size = StationLayout::ReadBlock4Size;

    explicit ImageDecoder(AppState &state);

    // Empties the settings text down to its section line and forgets any
    // earlier read.
    void start();

    // Stores the block into header bytes 0..9 (the Id bytes land on 8 and 9
    // until block 3 replaces them) and adds the serial number and Id lines.
    // A channel count above the 99 records of the image refuses the read: the
    // image and the text are left as start() made them and every later step
    // does nothing, so the reader must end the exchange and show the refusal.
    MaybeRefusal afterBlock1(std::span<const std::uint8_t, Block1Size> block);

    // n = 1..10; any other n is ignored.
    void afterToneByte(int n, std::uint8_t byte);

    void afterBlock3(std::span<const std::uint8_t, Block3Size> block);

    // Stores module and band code, adds the remaining settings lines, sizes the
    // table to recordCount() + 1 rows and selects the station type the band
    // code names. Returns that type, or nothing when the code names none and
    // the current type stays (the window then keeps caption and panels).
    std::optional<StationKind> afterBlock4(std::span<const std::uint8_t, Block4Size> block);

    // Number of records the reply carries after block 4 (0 before block 1 and
    // after a refusal): the reader receives exactly this many.
    int recordCount() const;

    // Stores record i; false (nothing stored) when i is not below recordCount().
    bool afterRecord(int index, std::span<const std::uint8_t, RadioImage::RecordSize> record);

    // Fresh boxes, the decoded rows and the special channel line.
    void afterLastRecord();

    // The header row and the module menu entry. Runs afterLastRecord() first
    // if the reader has not.
    void finish();

    // The message of a refused read.
    static Refusal tooManyChannels(int count);

private:
    enum class Stage { Idle, Started, Block1, Block3, Block4, Records, Finished };

    bool at(Stage stage) const { return !m_refused && m_stage == stage; }
    void addLine(SettingsText::Key key, const QString &value);
    void addHeaderLines();
    // Places bytes that start at an offset of the reply through the station
    // layout, which knows where each of them belongs.
    RadioImage::ReadExtras place(int offset, std::span<const std::uint8_t> bytes);
    void decodeRow(int row, const RadioImage::Record &record);
    QString specialChannelText() const;

    AppState &m_state;
    Stage m_stage = Stage::Idle;
    bool m_refused = false;
};

// How far a whole reply got.
struct ReplyDecoding
{
    bool complete = false;               // every step ran
    MaybeRefusal refusal;                // the read was refused after block 1
    std::optional<StationKind> selected; // type selected by the band code
    int bytesUsed = 0;                   // surplus bytes are ignored
};

// Runs every step over a reply of 28 + 18·N bytes as if it had arrived in one
// piece. A shorter reply stops where it ends, like a time-out at that byte;
// bytes beyond the records are ignored. Safe for any length and content.
ReplyDecoding decodeWholeReply(AppState &state, const QByteArray &reply);
