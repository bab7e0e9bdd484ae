#pragma once

#include <QStringList>

struct StationData;

// Compares what a write sent with what a read back found, field by field
// through the station's layout: every written field meets the station's value
// of the same field. The serial number (the station's own) and the reply's
// two spare bytes have no written counterpart and are not compared.
namespace WriteVerification {

// One text per differing field, "Громкость: записано 08, прочитано 09", in
// write order; empty when the station holds what was written.
QStringList differences(const StationData &written, const StationData &held);

// The differences as one text: the first ten named, the rest counted.
QString summary(const QStringList &differences);

} // namespace WriteVerification
