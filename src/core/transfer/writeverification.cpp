#include "transfer/writeverification.h"

#include "compare/stationside.h"
#include "image/stationlayout.h"
#include "image/stationdata.h"

namespace WriteVerification {

namespace {

// Differences named in a summary; the rest are counted.
constexpr int kNamedDifferences = 10;

QString hexByte(std::uint8_t byte)
{
    return QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0')).toUpper();
}

} // namespace

QStringList differences(const StationData &written, const StationData &held)
{
    QStringList found;
    for (const StoredByteDifference &d : storedByteDifferences(written, held)) {
        found.append(QStringLiteral("%1: записано %2, прочитано %3")
                         .arg(StationLayout::writtenByteName(d.writePosition), hexByte(d.a), hexByte(d.b)));
    }
    return found;
}

QString summary(const QStringList &differences)
{
    QString text = differences.mid(0, kNamedDifferences).join(QStringLiteral("; "));
    if (differences.size() > kNamedDifferences)
        text += QStringLiteral("; и ещё отличий: %1").arg(differences.size() - kNamedDifferences);
    return text;
}

} // namespace WriteVerification
