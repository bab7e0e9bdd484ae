#include "image/imagedecoder.h"
#include "common/numbers.h"
#include "image/channelrecord.h"
#include "image/fieldcoding.h"
#include "image/frequencyword.h"
#include "state/appstate.h"
#include "station/codelists.h"
#include "table/settingstext.h"

#include <algorithm>

namespace {

using Key = SettingsText::Key;
using StationLayout::Store;
namespace Flag = ChannelRecord::Flag;
namespace Option = FieldCoding::OptionFlag;

QString decimal(int value)
{
    return QString::number(value);
}

QString plusMinus(bool plus)
{
    return plus ? QStringLiteral("+") : QStringLiteral("-");
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

// The station keeps brightness as 5·L − 4. Other bytes stay as they came, so
// that the data check refuses what no level gives.
QString brightnessText(std::uint8_t byte)
{
    if (byte >= 1 && byte <= 21 && (byte - 1) % 5 == 0)
        return decimal((byte + 4) / 5);
    return decimal(byte);
}

QString ctcssOrUnknown(std::uint8_t byte)
{
    return FieldCoding::ctcssText(byte).value_or(unknown(byte));
}

QString dcsOrUnknown(std::uint8_t byte, FieldCoding::DcsMode mode)
{
    return FieldCoding::dcsText(byte, mode).value_or(unknown(byte));
}

// Hands out a reply block by block, the way the reader receives it.
class ReplyCursor
{
public:
    ReplyCursor(const QByteArray &reply, int &used) : m_reply(reply), m_used(used) {}

    // The next N bytes, or nothing when the reply ends first.
    template <std::size_t N>
    std::optional<std::span<const std::uint8_t, N>> take()
    {
        if (m_reply.size() - m_used < qsizetype(N))
            return std::nullopt;
        const auto *at = reinterpret_cast<const std::uint8_t *>(m_reply.constData()) + m_used;
        m_used += int(N);
        return std::span<const std::uint8_t, N>(at, N);
    }

private:
    const QByteArray &m_reply;
    int &m_used;
};

} // namespace

ImageDecoder::ImageDecoder(AppState &state) : m_state(state) {}

Refusal ImageDecoder::tooManyChannels(int count)
{
    return Refusal{QStringLiteral("Радиостанция передала число каналов %1, а принять можно не более %2. "
                                  "Чтение прекращено.")
                       .arg(count)
                       .arg(RadioImage::MaxChannels),
                   Sound::Error};
}

void ImageDecoder::start()
{
    m_stage = Stage::Started;
    m_refused = false;
    m_state.settingsLines = {SettingsText::sectionLine()};
}

RadioImage::ReadExtras ImageDecoder::place(int offset, std::span<const std::uint8_t> bytes)
{
    return m_state.image.placeReplyBytes(offset, bytes.data(), int(bytes.size()));
}

void ImageDecoder::addLine(Key key, const QString &value)
{
    m_state.settingsLines.append(SettingsText::line(key, value));
}

MaybeRefusal ImageDecoder::afterBlock1(std::span<const std::uint8_t, Block1Size> block)
{
    if (!at(Stage::Started))
        return std::nullopt;
    // Checked before anything is stored, so that no over-long count ever
    // reaches the image a later write would send.
    if (block[RadioImage::ChannelCount] > RadioImage::MaxChannels) {
        m_refused = true;
        return tooManyChannels(block[RadioImage::ChannelCount]);
    }
    place(0, block);
    // Until block 3 replaces them, header bytes 8 and 9 hold the Id bytes, as
    // they always have after a read cut short there.
    const auto idAt = static_cast<std::size_t>(StationLayout::field(Store::IdHigh).readAt);
    m_state.image.header[RadioImage::FvCode] = block[idAt];
    m_state.image.header[RadioImage::MinVolume] = block[idAt + 1];
    addLine(Key::Serial, FieldCoding::serialText(block[0], block[1], block[2]));
    // The Id as the station holds it; the Id code kept for writing stays.
    addLine(Key::Id, FieldCoding::hexByte(block[idAt]) + FieldCoding::hexByte(block[idAt + 1]));
    m_stage = Stage::Block1;
    return std::nullopt;
}

void ImageDecoder::afterToneByte(int n, std::uint8_t byte)
{
    if (!at(Stage::Block1) || n < 1 || n > 10)
        return;
    place(StationLayout::field(Store::Tone).readAt + n - 1, std::span<const std::uint8_t, 1>(&byte, 1));
    addLine(SettingsText::tone(n), decimal(byte * 10));
}

int ImageDecoder::recordCount() const
{
    // The refusal keeps larger counts out; the clamp keeps the record store
    // safe even so.
    if (m_refused || m_stage < Stage::Block1)
        return 0;
    return std::min(m_state.image.channelCount(), RadioImage::MaxChannels);
}

void ImageDecoder::afterBlock3(std::span<const std::uint8_t, Block3Size> block)
{
    if (!at(Stage::Block1))
        return;
    place(StationLayout::field(Store::Header, RadioImage::FvCode).readAt, block);
    m_stage = Stage::Block3;
}

std::optional<StationKind> ImageDecoder::afterBlock4(std::span<const std::uint8_t, Block4Size> block)
{
    if (!at(Stage::Block3))
        return std::nullopt;
    // The menu mark follows only once the whole read is done.
    const RadioImage::ReadExtras codes = place(StationLayout::field(Store::Module).readAt, block);
    m_state.moduleCode = codes.moduleCode.value_or(0);
    m_state.bandCode = codes.bandCode.value_or(0);
    addHeaderLines();
    m_state.table.setRowCount(recordCount() + 1);
    m_stage = Stage::Block4;
    // The records are decoded with the constants of the type chosen here.
    return m_state.selectStationByBandCode(m_state.bandCode);
}

void ImageDecoder::addHeaderLines()
{
    const auto &h = m_state.image.header;
    // The station keeps no power levels: the template's stand in.
    for (const Key key : {Key::P1, Key::P2, Key::P3, Key::P4})
        addLine(key, *SettingsText::spec(key).templateValue);
    addLine(Key::Brightness, brightnessText(h[RadioImage::Brightness]));
    addLine(Key::Volume, decimal(h[RadioImage::Volume]));
    addLine(Key::MinVolume, decimal(h[RadioImage::MinVolume]));
    addLine(Key::KeyBeep, FieldCoding::plusMinusText(h[RadioImage::KeyBeep]));
    addLine(Key::Fv, FieldCoding::fvText(h[RadioImage::FvCode]));
    addLine(Key::DcsMode, FieldCoding::plusMinusText(h[RadioImage::DcsMode]));
    const std::uint8_t options = h[RadioImage::OptionFlags];
    addLine(Key::ScanOption, plusMinus(options & Option::Scan));
    addLine(Key::VOption, plusMinus(options & Option::V));
    addLine(Key::Vu, plusMinus(options & Option::Vu));
}

bool ImageDecoder::afterRecord(int index, std::span<const std::uint8_t, RadioImage::RecordSize> record)
{
    if (!at(Stage::Block4) || index < 0 || index >= recordCount())
        return false;
    place(RadioImage::ReadPrefixSize + index * RadioImage::RecordSize, record);
    return true;
}

void ImageDecoder::afterLastRecord()
{
    if (!at(Stage::Block4))
        return;
    ChannelTable &table = m_state.table;
    // Rows come from the image, so the table is sized from the same count.
    table.setRowCount(recordCount() + 1);
    table.addCheckBoxes();
    for (int i = 0; i < recordCount(); ++i)
        decodeRow(i + 1, m_state.image.records[static_cast<std::size_t>(i)]);
    addLine(Key::SpecialChannel, specialChannelText());
    m_stage = Stage::Records;
}

void ImageDecoder::decodeRow(int row, const RadioImage::Record &r)
{
    using C = ChannelTable::Column;
    ChannelTable &t = m_state.table;
    const StationProfile &p = m_state.profile();
    const std::uint8_t flags = r[0];

    t.setCell(C::Number, row, decimal(r[1]));
    t.setCell(C::Rx, row, FieldCoding::frequencyText({r[2], r[3], r[4]}, FrequencyWord::Side::Receive, p));
    t.setCell(C::Tx, row, FieldCoding::frequencyText({r[5], r[6], r[7]}, FrequencyWord::Side::Transmit, p));

    if (flags & Flag::CtcssMode) {
        t.setCell(C::CtcRx, row, ctcssOrUnknown(r[8]));
        t.setCell(C::CtcTx, row, ctcssOrUnknown(r[9]));
        t.setCell(C::DcsRx, row, FieldCoding::noneText());
        t.setCell(C::DcsTx, row, FieldCoding::noneText());
    } else {
        const auto mode = FieldCoding::dcsModeFromHeader(m_state.image.header[RadioImage::DcsMode]);
        t.setCell(C::CtcRx, row, FieldCoding::noneText());
        t.setCell(C::CtcTx, row, FieldCoding::noneText());
        t.setCell(C::DcsRx, row, dcsOrUnknown(r[8], mode));
        t.setCell(C::DcsTx, row, dcsOrUnknown(r[9], mode));
    }

    t.setCell(C::ToneRx, row, FieldCoding::toneNumberText(r[10]));
    t.setCell(C::ToneTx, row, FieldCoding::toneNumberText(r[11]));
    t.setCell(C::Sh, row, decimal(r[12]));
    t.setCell(C::PMax, row, decimal(r[14]));
    t.setCell(C::PMin, row, decimal(r[13]));
    t.setChecked(C::Scan, row, flags & Flag::Scan);
    t.setCell(C::Sw, row, (flags & Flag::Narrow) ? QStringLiteral("12,5") : QStringLiteral("25"));
    t.setChecked(C::IdTone, row, !(flags & Flag::IdToneOff));
    t.setCell(C::TxOff, row, FieldCoding::txOffText(r[15]));
    t.setCell(C::Time, row, FieldCoding::timeText(r[16]));
    t.setChecked(C::Active, row, flags & Flag::Active);
}

QString ImageDecoder::specialChannelText() const
{
    const int position = m_state.image.header[RadioImage::SpecialChannel];
    if (position >= recordCount())
        return unknown(position);
    return decimal(m_state.image.records[static_cast<std::size_t>(position)][1]);
}

void ImageDecoder::finish()
{
    if (!at(Stage::Block4) && !at(Stage::Records))
        return;
    afterLastRecord();
    m_state.table.setHeader(ChannelTable::headerTexts());
    m_state.setModuleCode(m_state.moduleCode);
    m_stage = Stage::Finished;
}

ReplyDecoding decodeWholeReply(AppState &state, const QByteArray &reply)
{
    ReplyDecoding result;
    ImageDecoder decoder(state);
    ReplyCursor cursor(reply, result.bytesUsed);

    decoder.start();
    const auto block1 = cursor.take<ImageDecoder::Block1Size>();
    if (!block1)
        return result;
    result.refusal = decoder.afterBlock1(*block1);
    if (result.refusal)
        return result;
    for (int n = 1; n <= 10; ++n) {
        const auto tone = cursor.take<1>();
        if (!tone)
            return result;
        decoder.afterToneByte(n, (*tone)[0]);
    }
    const auto block3 = cursor.take<ImageDecoder::Block3Size>();
    if (!block3)
        return result;
    decoder.afterBlock3(*block3);
    const auto block4 = cursor.take<ImageDecoder::Block4Size>();
    if (!block4)
        return result;
    result.selected = decoder.afterBlock4(*block4);
    for (int i = 0; i < decoder.recordCount(); ++i) {
        const auto record = cursor.take<RadioImage::RecordSize>();
        if (!record)
            return result;
        decoder.afterRecord(i, *record);
    }
    decoder.afterLastRecord();
    decoder.finish();
    result.complete = true;
    return result;
}
