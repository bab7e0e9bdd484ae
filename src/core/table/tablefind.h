#pragma once

#include "table/channeltable.h"

#include <QString>
#include <optional>

// Finding a text among the channel rows of the table, cell by cell in
// reading order (row by row, left to right). A cell matches when it holds
// the text (letter case aside), or when both name the same value in its
// column: "146500" and "146500,00" or "146500.0" are one frequency, "23" is
// the DCS code "023", "67" the tone "67,0". A box has no text to find.
namespace TableFind {

struct Cell
{
    int column = 0;
    int row = 1; // table row, 1..N
    bool operator==(const Cell &) const = default;
};

struct Query
{
    QString text;
    bool wholeCell = false; // the cell's whole text or value, not a part of it
};

bool matches(const ChannelTable &table, const Cell &cell, const Query &query);

// The first matching cell after `from` (before it, `backwards`), going on
// from the other end of the table; `from` itself comes last. Nothing when no
// cell matches or the text is blank.
std::optional<Cell> next(const ChannelTable &table, const Cell &from, const Query &query, bool backwards = false);

} // namespace TableFind
