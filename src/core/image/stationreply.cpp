#include "image/stationreply.h"

#include "image/channelrecord.h"
#include "image/fieldcoding.h"
#include "table/settingstext.h"

#include <algorithm>

namespace {

using Key = SettingsText::Key;
using StationLayout::Name;
namespace Flag = ChannelRecord::Flag;

// The reply's blocks end where the tones start, after each tone, where the
// module code starts and where the records start.
constexpr qsizetype kTonesAt = StationLayout::ReadTonesAt;
constexpr qsizetype kTonesEnd = StationLayout::ReadTonesEnd;
constexpr qsizetype kHeaderEnd = StationLayout::ReadHeaderEnd;
constexpr qsizetype kFixedPart = RadioImage::ReadPrefixSize;
constexpr qsizetype kIdAt = StationLayout::readAt(Name::IdHigh);
constexpr qsizetype kCountAt = StationLayout::readAt(Name::ChannelCount);

QString decimal(int value)
{
    return QString::number(value);
}

// A byte that names nothing in its list, or a position past the channels. The
// leading "?" keeps it out of every list and makes it no number, so the data
// check refuses the cell or line instead of coding something else: a bare 114
// would read as the DCS code "114", a bare special channel position as some
// channel's number.
QString unknown(int value)
{
    return u'?' + decimal(value);
}

QString ctcssOrUnknown(std::uint8_t byte)
{
    return FieldCoding::ctcssText(byte).value_or(unknown(byte));
}

QString dcsOrUnknown(std::uint8_t byte, FieldCoding::DcsMode mode)
{
    return FieldCoding::dcsText(byte, mode).value_or(unknown(byte));
}

FrequencyWord::Bytes word(const RadioImage::Record &record, int first)
{
    const auto at = static_cast<std::size_t>(first);
    return {record[at], record[at + 1], record[at + 2]};
}

std::uint8_t at(const QByteArray &bytes, qsizetype position)
{
    return static_cast<std::uint8_t>(bytes.at(position));
}

} // namespace

Refusal StationReply::tooManyChannels(int count)
{
    return Refusal{QStringLiteral("Радиостанция передала число каналов %1, а принять можно не более %2. "
                                  "Чтение прекращено.")
                       .arg(count)
                       .arg(RadioImage::MaxChannels),
                   Sound::Error};
}

MaybeRefusal StationReply::refusalOf(const QByteArray &received)
{
    if (received.size() < kTonesAt)
        return std::nullopt;
    const int count = at(received, kCountAt);
    if (count > RadioImage::MaxChannels)
        return tooManyChannels(count);
    return std::nullopt;
}

qsizetype StationReply::expectedLength(const QByteArray &received)
{
    if (received.size() <= kCountAt)
        return kFixedPart;
    return kFixedPart + qsizetype(at(received, kCountAt)) * RadioImage::RecordSize;
}

bool StationReply::isShownAt(qsizetype received)
{
    if (received == 0 || received == kFixedPart)
        return true;
    if (received >= kTonesAt && received <= kTonesEnd)
        return true;
    return received > kFixedPart && (received - kFixedPart) % RadioImage::RecordSize == 0;
}

std::optional<QString> StationReply::stoppedText(const QByteArray &received)
{
    if (received.isEmpty())
        return std::nullopt;
    const QString stopped = QStringLiteral("станция перестала отвечать на байте %1 из %2").arg(received.size() + 1);
    // Before its channel count the reply's length is known only at its least.
    if (received.size() <= kCountAt)
        return stopped.arg(QStringLiteral("%1 или более").arg(RadioImage::ReadPrefixSize));
    return stopped.arg(expectedLength(received));
}

StationReply StationReply::decode(const QByteArray &received, StationKind current)
{
    StationReply reply;
    reply.m_received = received;
    reply.m_station.stationKind = current;
    reply.m_settingsLines = {SettingsText::sectionLine()};
    // Checked before anything is decoded, so that no over-long count ever
    // reaches an image a later write would send.
    if ((reply.m_refusal = refusalOf(received)))
        return reply;
    reply.decodeFixedPart();
    if (reply.m_settingsComplete)
        reply.decodeRecords();
    reply.m_station.image = reply.placedOver(RadioImage());
    if (reply.m_decoded >= kTonesAt)
        reply.m_station.image.idCode = static_cast<std::uint16_t>(at(received, kIdAt) << 8 | at(received, kIdAt + 1));
    return reply;
}

void StationReply::addLine(Key key, const QString &value)
{
    m_settingsLines.append(SettingsText::line(key, value));
}

void StationReply::decodeFixedPart()
{
    const QByteArray &r = m_received;
    if (r.size() < kTonesAt)
        return;
    addLine(Key::Serial, FieldCoding::serialText(at(r, 0), at(r, 1), at(r, 2)));
    // The Id as the station holds it.
    addLine(Key::Id, FieldCoding::hexByte(at(r, kIdAt)) + FieldCoding::hexByte(at(r, kIdAt + 1)));
    m_decoded = kTonesAt;
    for (int n = 1; m_decoded < kTonesEnd && r.size() > m_decoded; ++n) {
        addLine(SettingsText::tone(n), StationLayout::decoded(SettingsText::tone(n), at(r, m_decoded)));
        ++m_decoded;
    }
    if (r.size() < kHeaderEnd)
        return;
    m_decoded = kHeaderEnd;
    if (r.size() < kFixedPart)
        return;
    m_decoded = kFixedPart;
    // The header bytes and the codes, placed where the station keeps them.
    m_station.image = placedOver(RadioImage());
    ChannelPlan codes;
    codes.stationKind = m_station.stationKind;
    m_selected = codes.selectStationByBandCode(at(r, StationLayout::readAt(Name::Band)));
    m_station.stationKind = codes.stationKind;
    m_station.bandCode = codes.bandCode;
    m_station.moduleCode = at(r, StationLayout::readAt(Name::Module));
    addHeaderLines();
    m_settingsComplete = true;
}

void StationReply::addHeaderLines()
{
    const RadioImage &image = m_station.image;
    // The station keeps no power levels: the template's stand in.
    for (const Key key : {Key::P1, Key::P2, Key::P3, Key::P4})
        addLine(key, *SettingsText::spec(key).templateValue);
    for (int key = int(Key::Brightness); key <= int(Key::Vu); ++key)
        addLine(Key(key), image.settingText(Key(key)));
}

int StationReply::channelCount() const
{
    // The refusal keeps larger counts out; the clamp keeps the record store
    // safe even so.
    if (m_refusal || m_decoded < kTonesAt)
        return 0;
    return std::min<int>(at(m_received, kCountAt), RadioImage::MaxChannels);
}

void StationReply::decodeRecords()
{
    const int count = channelCount();
    const qsizetype whole = (m_received.size() - kFixedPart) / RadioImage::RecordSize;
    m_decoded = kFixedPart + std::min<qsizetype>(whole, count) * RadioImage::RecordSize;
    if (whole < count)
        return;
    m_station.image = placedOver(RadioImage());
    m_table.setRowCount(count + 1);
    m_table.addCheckBoxes();
    for (int i = 0; i < count; ++i)
        decodeRow(i + 1, m_station.image.records[static_cast<std::size_t>(i)]);
    m_table.setHeader(ChannelTable::headerTexts());
    addLine(Key::SpecialChannel, specialChannelText());
    m_complete = true;
}

void StationReply::decodeRow(int row, const RadioImage::Record &r)
{
    using C = ChannelTable::Column;
    using Byte = ChannelRecord::Byte;
    ChannelTable &t = m_table;
    const StationProfile &p = StationProfiles::get(m_station.stationKind);
    const std::uint8_t flags = r[Byte::Flags];

    t.setCell(C::Number, row, decimal(r[Byte::Number]));
    t.setCell(C::Rx, row, FieldCoding::frequencyText(word(r, Byte::RxWord), FrequencyWord::Side::Receive, p));
    t.setCell(C::Tx, row, FieldCoding::frequencyText(word(r, Byte::TxWord), FrequencyWord::Side::Transmit, p));

    if (flags & Flag::CtcssMode) {
        t.setCell(C::CtcRx, row, ctcssOrUnknown(r[Byte::RxCode]));
        t.setCell(C::CtcTx, row, ctcssOrUnknown(r[Byte::TxCode]));
        t.setCell(C::DcsRx, row, FieldCoding::noneText());
        t.setCell(C::DcsTx, row, FieldCoding::noneText());
    } else {
        const auto mode = FieldCoding::dcsModeFromHeader(m_station.image.at(Name::DcsMode));
        t.setCell(C::CtcRx, row, FieldCoding::noneText());
        t.setCell(C::CtcTx, row, FieldCoding::noneText());
        t.setCell(C::DcsRx, row, dcsOrUnknown(r[Byte::RxCode], mode));
        t.setCell(C::DcsTx, row, dcsOrUnknown(r[Byte::TxCode], mode));
    }

    t.setCell(C::ToneRx, row, FieldCoding::toneNumberText(r[Byte::RxTone]));
    t.setCell(C::ToneTx, row, FieldCoding::toneNumberText(r[Byte::TxTone]));
    t.setCell(C::Sh, row, decimal(r[Byte::Sh]));
    t.setCell(C::PMax, row, decimal(r[Byte::PMax]));
    t.setCell(C::PMin, row, decimal(r[Byte::PMin]));
    t.setChecked(C::Scan, row, flags & Flag::Scan);
    t.setCell(C::Sw, row, (flags & Flag::Narrow) ? QStringLiteral("12,5") : QStringLiteral("25"));
    t.setChecked(C::IdTone, row, !(flags & Flag::IdToneOff));
    t.setCell(C::TxOff, row, FieldCoding::txOffText(r[Byte::Inverted]));
    t.setCell(C::Time, row, FieldCoding::timeText(r[Byte::Time]));
    t.setChecked(C::Active, row, flags & Flag::Active);
}

QString StationReply::specialChannelText() const
{
    const int position = m_station.image.at(Name::SpecialChannel);
    if (position >= channelCount())
        return unknown(position);
    return decimal(m_station.image.records[static_cast<std::size_t>(position)][ChannelRecord::Number]);
}

RadioImage StationReply::placedOver(RadioImage image) const
{
    image.placeReplyBytes(0, reinterpret_cast<const std::uint8_t *>(m_received.constData()), int(m_decoded));
    // Until block 3 replaces them, header bytes 8 and 9 hold the Id bytes,
    // as they always have after a read cut short there.
    if (m_decoded >= kTonesAt && m_decoded < kHeaderEnd) {
        image.at(Name::Fv) = at(m_received, kIdAt);
        image.at(Name::MinVolume) = at(m_received, kIdAt + 1);
    }
    return image;
}

ChannelPlan StationReply::plan() const
{
    ChannelPlan plan;
    plan.stationKind = m_station.stationKind;
    plan.bandCode = m_station.bandCode;
    plan.setModuleCode(m_station.moduleCode);
    plan.settingsLines = m_settingsLines;
    plan.table = m_table;
    return plan;
}
