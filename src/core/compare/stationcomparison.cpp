#include "compare/stationcomparison.h"

#include "files/channelfileformat.h"
#include "image/stationlayout.h"
#include "image/stationreply.h"
#include "table/settingstext.h"

#include <algorithm>

namespace {

using Kind = StationComparison::Difference::Kind;
using Key = SettingsText::Key;

// What a read would show for a side: its bytes through the one decoder.
StationSide shownByStation(const StationSide &side)
{
    const StationReply reply = StationReply::decode(side.station.reply(), side.station.stationKind);
    return StationSide{reply.station(), reply.table(), reply.settingsLines(), true};
}

bool isStored(Key key)
{
    return StationLayout::codingOf(key) != nullptr;
}

QString cellText(const ChannelTable &table, int column, int row)
{
    if (ChannelTable::isCheckColumn(column))
        return table.isChecked(column, row) ? ChannelFileFormat::checkedValue() : ChannelFileFormat::uncheckedValue();
    return table.cell(column, row).trimmed();
}

QString hexByte(std::uint8_t byte)
{
    return QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0')).toUpper();
}

// The keys of a settings text in their order, without the section line.
QStringList keyNames(const QStringList &lines)
{
    QStringList names;
    for (const QString &line : lines) {
        const qsizetype eq = line.indexOf(u'=');
        if (eq > 0)
            names.append(line.left(eq).trimmed());
    }
    return names;
}

} // namespace

QString StationComparison::Difference::place() const
{
    if (row == 0)
        return key;
    if (key.isEmpty())
        return QStringLiteral("строка %1").arg(row);
    return QStringLiteral("строка %1, %2").arg(row).arg(key);
}

QString StationComparison::missingLineText()
{
    return QStringLiteral("(нет строки)");
}

QString StationComparison::note(Difference::Kind kind)
{
    switch (kind) {
    case Kind::TextOnly:
        return QStringLiteral("различается только текст, в станции одинаково");
    case Kind::NotStored:
        return QStringLiteral("в станции не хранится");
    case Kind::OnlyInA:
    case Kind::OnlyInB:
    case Kind::Stored:
        break;
    }
    return QString();
}

StationComparison::StationComparison(const StationSide &a, const StationSide &b)
    : m_a(a), m_b(b), m_shownA(shownByStation(a)), m_shownB(shownByStation(b))
{
    const QString serial = SettingsText::name(Key::Serial);
    m_serialA = a.setting(serial).value_or(QString());
    m_serialB = b.setting(serial).value_or(QString());
    compareSettings();
    compareRows();
    addUnexplainedBytes();
}

bool StationComparison::heldApart(const Difference &d)
{
    return d.kind == Kind::Stored || d.kind == Kind::OnlyInA || d.kind == Kind::OnlyInB;
}

bool StationComparison::storedEqual() const
{
    return std::none_of(m_differences.begin(), m_differences.end(), heldApart);
}

void StationComparison::compareSettings()
{
    // A key differs in the station when the bytes of its field do: the
    // special channel's text, for one, also follows the records.
    QList<Key> differing;
    for (const StoredByteDifference &d : storedByteDifferences(m_a.station, m_b.station)) {
        if (d.writePosition < RadioImage::WritePrefixSize)
            differing += StationLayout::keysOf(StationLayout::writtenField(d.writePosition));
    }
    const bool textsCompared = m_a.ownTexts && m_b.ownTexts;
    QStringList seen{SettingsText::name(Key::Serial)};
    for (const SettingsText::KeySpec &spec : SettingsText::keys()) {
        if (spec.key == Key::Serial)
            continue;
        seen.append(spec.name);
        const auto textA = m_a.setting(spec.name);
        const auto textB = m_b.setting(spec.name);
        const QString shownA = textA.value_or(missingLineText());
        const QString shownB = textB.value_or(missingLineText());
        if (!isStored(spec.key)) {
            if (textsCompared && shownA != shownB)
                m_differences.append({Kind::NotStored, spec.name, 0, -1, shownA, shownB});
        } else if (differing.contains(spec.key) && m_shownA.setting(spec.name) != m_shownB.setting(spec.name)) {
            m_differences.append({Kind::Stored, spec.name, 0, -1, shownA, shownB});
        } else if (textsCompared && !differing.contains(spec.key) && shownA != shownB) {
            m_differences.append({Kind::TextOnly, spec.name, 0, -1, shownA, shownB});
        }
    }
    // Lines no key of the settings names: kept in the file, never in the station.
    const QStringList names = textsCompared ? keyNames(m_a.settingsLines) + keyNames(m_b.settingsLines) : QStringList();
    for (const QString &name : names) {
        if (seen.contains(name, Qt::CaseInsensitive))
            continue;
        seen.append(name);
        const QString shownA = m_a.setting(name).value_or(missingLineText());
        const QString shownB = m_b.setting(name).value_or(missingLineText());
        if (shownA != shownB)
            m_differences.append({Kind::NotStored, name, 0, -1, shownA, shownB});
    }
    const StationData &a = m_a.station;
    const StationData &b = m_b.station;
    if (a.moduleCode != b.moduleCode)
        m_differences.append({Kind::Stored, ChannelFileFormat::moduleKey(), 0, -1, QString::number(a.moduleCode),
                              QString::number(b.moduleCode)});
    if (a.bandCode != b.bandCode)
        m_differences.append({Kind::Stored, ChannelFileFormat::bandKey(), 0, -1, QString::number(a.bandCode),
                              QString::number(b.bandCode)});
}

void StationComparison::compareRows()
{
    const ChannelTable::Texts &headers = ChannelTable::headerTexts();
    const int common = std::min(m_a.channelCount(), m_b.channelCount());
    for (int row = 1; row <= common; ++row) {
        for (int column = 0; column < ChannelTable::ColumnCount; ++column) {
            const QString textA = cellText(m_a.table, column, row);
            const QString textB = cellText(m_b.table, column, row);
            const QString header = headers[static_cast<std::size_t>(column)].trimmed();
            if (cellText(m_shownA.table, column, row) != cellText(m_shownB.table, column, row))
                m_differences.append({Kind::Stored, header, row, column, textA, textB});
            else if (m_a.ownTexts && m_b.ownTexts && textA != textB)
                m_differences.append({Kind::TextOnly, header, row, column, textA, textB});
        }
    }
    const QString present = QStringLiteral("строка есть");
    const QString absent = QStringLiteral("строки нет");
    for (int row = common + 1; row <= m_a.channelCount(); ++row)
        m_differences.append({Kind::OnlyInA, QString(), row, -1, present, absent});
    for (int row = common + 1; row <= m_b.channelCount(); ++row)
        m_differences.append({Kind::OnlyInB, QString(), row, -1, absent, present});
}

// Bytes whose texts read alike (a "-" stands for every byte but 200, an
// unused record byte shows nowhere) are still different bytes: they are
// named by their place in the write order.
void StationComparison::addUnexplainedBytes()
{
    const int countAt = StationLayout::writeAt(StationLayout::Name::ChannelCount);
    const auto storedAt = [this](auto matches) {
        return std::any_of(m_differences.begin(), m_differences.end(),
                           [&](const Difference &d) { return d.kind == Kind::Stored && matches(d); });
    };
    for (const StoredByteDifference &d : storedByteDifferences(m_a.station, m_b.station)) {
        if (d.writePosition == countAt) // shown as the rows only one side has
            continue;
        if (d.writePosition >= RadioImage::WritePrefixSize) {
            const int offset = d.writePosition - RadioImage::WritePrefixSize;
            const int row = offset / RadioImage::RecordSize + 1;
            if (!storedAt([row](const Difference &x) { return x.row == row; }))
                m_differences.append({Kind::Stored, QStringLiteral("байт %1").arg(offset % RadioImage::RecordSize), row,
                                      -1, hexByte(d.a), hexByte(d.b)});
            continue;
        }
        QStringList names;
        for (const Key key : StationLayout::keysOf(StationLayout::writtenField(d.writePosition)))
            names.append(SettingsText::name(key));
        if (names.isEmpty())
            names.append(StationLayout::writtenByteName(d.writePosition));
        if (!storedAt([&names](const Difference &x) { return x.row == 0 && names.contains(x.key); }))
            m_differences.append(
                {Kind::Stored, StationLayout::writtenByteName(d.writePosition), 0, -1, hexByte(d.a), hexByte(d.b)});
    }
}
