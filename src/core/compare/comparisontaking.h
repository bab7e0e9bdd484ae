#pragma once

#include "compare/stationcomparison.h"

// Taking differences over from side B into the table and settings text of
// side A: a cell gets B's text or box, a settings line B's value (or goes
// when B has none), a row only B has is added with its cells and boxes, a row
// only A has goes together with the rows behind it. The module and band
// codes and bytes named only by their place are not taken.
namespace ComparisonTaking {

bool canTake(const StationComparison::Difference &difference);

// Said when differences are to be taken into a table that has changed since
// they were found.
QString outOfDateText();

// Takes every difference that can be taken; returns how many were.
int take(const QList<StationComparison::Difference> &differences, const StationSide &from, ChannelTable &table,
         QStringList &settingsLines);

} // namespace ComparisonTaking
