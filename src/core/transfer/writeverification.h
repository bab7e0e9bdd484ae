#pragma once

#include <QByteArray>
#include <QStringList>

// Compares what a write sent (the bytes after the start byte) with what the
// station's reply to a read carries back. The reply is brought into the
// write order first, so every written byte meets the station's value of the
// same field: the Id code (which the read carries before the tones), the band
// code (written three times, read back once) and the records. The serial
// number (the station's own) and the reply's two spare bytes have no written
// counterpart and are not compared.
namespace WriteVerification {

// One text per differing field, "Громкость: записано 08, прочитано 09", in
// write order; empty when the station holds what was written.
QStringList differences(const QByteArray &written, const QByteArray &reply);

// The name of the field at a position of the write order.
QString fieldName(int position);

// The differences as one text: the first ten named, the rest counted.
QString summary(const QStringList &differences);

} // namespace WriteVerification
