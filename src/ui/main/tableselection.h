#pragma once

#include "table/tablesheet.h"

#include <optional>

class QTableView;

namespace TableSelection {

// The rectangle the table's selection spans (its current cell when nothing
// is selected), in table rows; nothing without a current cell.
std::optional<TableSheet::Range> range(const QTableView &grid);

} // namespace TableSelection
