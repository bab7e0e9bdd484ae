#pragma once

#include "common/refusal.h"
#include "compare/stationcomparison.h"

// Taking differences over from side B into the table and settings text of
// side A: a cell gets B's text or box, a settings line B's value (or goes
// when B has none), a row only B has is added with its cells and boxes, a row
// only A has goes together with the rows behind it. The module and band
// codes and bytes named only by their place are not taken.
namespace ComparisonTaking {

struct Taken
{
    int count = 0; // the differences taken
    // Differences that do not fit the table (a row they name has gone, or
    // rows came since): nothing is taken.
    MaybeRefusal refusal;
};

bool canTake(const StationComparison::Difference &difference);

// Said when differences are to be taken into a table that has changed since
// they were found.
QString outOfDateText();

// Takes every difference that can be taken, or none when one of them does
// not fit the table as it is now.
Taken take(const QList<StationComparison::Difference> &differences, const StationSide &from, ChannelTable &table,
           QStringList &settingsLines);

} // namespace ComparisonTaking
