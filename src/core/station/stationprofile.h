#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <optional>

// The three selectable station types; the disabled 300-345 MHz entry has no profile.
enum class StationKind { Band30_60, Band144_174, Band400_486 };

struct StationProfile
{
    StationKind kind;
    QString menuCaption; // entry of "Тип радиостанции"
    QString caption;     // main window caption
    int lowKHz;
    int highKHz;
    int prescaler;
    int rxOffsetKHz;
    std::uint8_t bandCode;
};

namespace StationProfiles {

const StationProfile &get(StationKind kind);
// All three in menu order (30-60, 144-174, 400-486).
const std::array<StationKind, 3> &all();
// 0 gives 144-174, 1 and 2 give 30-60, 3 gives 400-486; anything else none.
std::optional<StationKind> forBandCode(int bandCode);

// Shown disabled in the menu; it has no profile.
QString disabledMenuCaption();

} // namespace StationProfiles

namespace Modules {
// Captions of "Доп. оборудование" → "Модули ", in menu order: the index is the module code.
constexpr std::size_t Count = 6;
const std::array<QString, Count> &captions();
} // namespace Modules
