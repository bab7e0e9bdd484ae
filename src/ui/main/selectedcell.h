#pragma once

// The cell the user selected last, as table row (0 is the header) and column.
// A loaded file may hold far more rows than a byte counts, so both are ints.
struct SelectedCell
{
    int row = 0;
    int column = 0;
};
