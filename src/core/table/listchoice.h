#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The drop-down lists that edit the coded columns of the channel table, and
// the item a list opens at over a cell. A list's value is the number of its
// window component: CellList::Ctcss is ComboBox1, CellList::TxOff ComboBox8.
enum class CellList {
    None = 0,
    Ctcss = 1,   // "CTC_Rx", "CTC_Tx"
    Dcs = 2,     // "DCS_Rx", "DCS_Tx"
    Tone = 3,    // "Тон_Rx", "Тон_Tx"
    Squelch = 4, // "  ШП"
    Power = 5,   // "P_max", "P_min"
    Width = 6,   // "  SW"
    Time = 7,    // "Время"
    TxOff = 8,   // "Tx_Off"
};

namespace ListChoice {

constexpr int ListCount = 8;

// The list that edits a column; CellList::None for the typed columns and the
// check-box columns.
CellList listFor(int column);

// The list's items, in the order shown.
const QStringList &items(CellList list);

// The item the list opens at over a cell holding text, or nothing when the
// text chooses none (a tone or code the list does not hold, a number outside
// the list): the list then keeps the item of its last use. A tone that stands
// twice in the list chooses its later position. A number column whose text
// is not a whole number ("Нет" aside where the list has it) throws the
// conversion error as a PlatformError.
std::optional<int> choose(CellList list, const QString &text);

} // namespace ListChoice
