#pragma once

#include <cstdint>

// The cell the user selected last, as table row (0 is the header) and column.
// Single bytes: a table holds at most 99 channels.
struct SelectedCell
{
    std::uint8_t row = 0;
    std::uint8_t column = 0;
};
