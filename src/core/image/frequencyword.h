#pragma once

#include <array>
#include <cstdint>

struct StationProfile;

// The three-byte frequency word of a channel record. Receive frequencies are
// coded with the station type's receive offset, transmit frequencies with 0.
namespace FrequencyWord {

using Bytes = std::array<std::uint8_t, 3>;

enum class Side { Receive, Transmit };

Bytes encode(double kHz, int prescaler, int offsetKHz);
double decode(const Bytes &bytes, int prescaler, int offsetKHz);

// The same with the constants of a station type: the receive side adds its
// offset, the transmit side none.
Bytes encode(double kHz, Side side, const StationProfile &profile);
double decode(const Bytes &bytes, Side side, const StationProfile &profile);

} // namespace FrequencyWord
