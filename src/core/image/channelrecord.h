#pragma once

#include <cstdint>

// Layout of one 18-byte channel record of the radio image.
namespace ChannelRecord {

enum Byte {
    Flags = 0,
    Number = 1,
    RxWord = 2, // three bytes, 2..4
    TxWord = 5, // three bytes, 5..7
    RxCode = 8,
    TxCode = 9,
    RxTone = 10,
    TxTone = 11,
    Sh = 12,
    PMin = 13,
    PMax = 14,
    Inverted = 15,
    Time = 16,
    Reserved = 17,
};

// Byte 0: a set bit marks the condition.
namespace Flag {
constexpr std::uint8_t Scan = 0x02;
constexpr std::uint8_t Active = 0x04;
constexpr std::uint8_t CtcssMode = 0x08; // codes are CTCSS indices; clear: DCS code bytes
constexpr std::uint8_t NoRxTone = 0x10;
constexpr std::uint8_t NoTxTone = 0x20;
constexpr std::uint8_t Narrow = 0x40; // channel width 12,5 kHz
constexpr std::uint8_t IdToneOff = 0x80;
} // namespace Flag

// Byte 15 starts with every bit set; a condition clears its bit.
namespace InvertedFlag {
constexpr std::uint8_t Start = 0xFF;
constexpr std::uint8_t Rssi = 0x01;
constexpr std::uint8_t Off = 0x04;
constexpr std::uint8_t TimeSet = 0x08;
constexpr std::uint8_t TxRepeater = 0x10;
constexpr std::uint8_t RxRepeater = 0x20;
} // namespace InvertedFlag

} // namespace ChannelRecord
