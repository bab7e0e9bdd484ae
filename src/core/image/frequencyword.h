#pragma once

#include <array>
#include <cstdint>

// The three-byte frequency word of a channel record. Receive frequencies are
// coded with the station type's receive offset, transmit frequencies with 0.
namespace FrequencyWord {

using Bytes = std::array<std::uint8_t, 3>;

Bytes encode(double kHz, int prescaler, int offsetKHz);
double decode(const Bytes &bytes, int prescaler, int offsetKHz);

} // namespace FrequencyWord
