#include "image/frequencyword.h"
#include "common/numbers.h"
#include "station/stationprofile.h"

#include <cmath>

namespace FrequencyWord {

Bytes encode(double kHz, int prescaler, int offsetKHz)
{
    // The step number stays a real number: a text a little off the 6,25 kHz
    // grid (accepted by the check's rounding) is coded by truncation.
    const double u = (kHz + offsetKHz) / 6.25;
    const auto q = static_cast<std::uint16_t>(static_cast<long long>(std::trunc(u / prescaler)) & 0xFFFF);
    const auto a = static_cast<std::uint8_t>(static_cast<long long>(std::trunc(u - double(q) * prescaler)) & 0xFF);
    Bytes bytes{};
    bytes[2] = static_cast<std::uint8_t>(4 * a + 1 + ((q & 1) ? 128 : 0));
    bytes[1] = static_cast<std::uint8_t>((q >> 1) & 0xFF);
    bytes[0] = static_cast<std::uint8_t>(((q >> 9) + 16) & 0xFF);
    return bytes;
}

double decode(const Bytes &bytes, int prescaler, int offsetKHz)
{
    const int q = (bytes[0] & 0x0F) * 512 + 2 * bytes[1] + ((bytes[2] & 0x80) ? 1 : 0);
    const int a = static_cast<int>(Numbers::roundHalfEven((bytes[2] & 0x7F) / 4.0));
    const long long u = static_cast<long long>(q) * prescaler + a;
    return static_cast<double>(u) * 6.25 - offsetKHz;
}

namespace {
int offsetFor(FrequencyWord::Side side, const StationProfile &profile)
{
    return side == FrequencyWord::Side::Receive ? profile.rxOffsetKHz : 0;
}
} // namespace

Bytes encode(double kHz, Side side, const StationProfile &profile)
{
    return encode(kHz, profile.prescaler, offsetFor(side, profile));
}

double decode(const Bytes &bytes, Side side, const StationProfile &profile)
{
    return decode(bytes, profile.prescaler, offsetFor(side, profile));
}

} // namespace FrequencyWord
