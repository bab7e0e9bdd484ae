#pragma once

#include "common/refusal.h"
#include "table/listchoice.h"
#include "table/tablesheet.h"

#include <QStringList>
#include <variant>
#include <vector>

// "Задать для выделенных…": one value for every selected cell. The selected
// columns must take the same kind of value: a channel number, a frequency
// (" Rx, кГц" and " Tx, кГц" together), the items of one list ("CTC_Rx" and
// "CTC_Tx", "P_max" and "P_min" ...), or a box.
namespace ColumnValue {

enum class Kind { Number, Frequency, List, Box };

struct Choice
{
    Kind kind = Kind::Number;
    CellList list = CellList::None; // for Kind::List

    // What the value is chosen from: the list's items, "да" and "нет" for a
    // box, nothing for a typed value.
    QStringList items() const;
    bool operator==(const Choice &) const = default;
};

Choice choiceFor(int column);

// The choice the range's columns share, or the refusal naming the first two
// columns that differ.
std::variant<Choice, Refusal> choiceFor(const TableSheet::Range &range);

// The cells of the range that change when each takes `value` as a paste of
// it would put it there (a frequency's decimal point becomes its comma, a
// box takes "да" or "нет").
std::vector<TableSheet::CellWrite> writes(const ChannelTable &table, const TableSheet::Range &range,
                                          const QString &value);

} // namespace ColumnValue
