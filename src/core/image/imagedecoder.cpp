#include "image/imagedecoder.h"
#include "common/numbers.h"
#include "image/frequencyword.h"
#include "state/appstate.h"
#include "station/codelists.h"
#include "table/settingstext.h"

#include <algorithm>

namespace {

constexpr std::uint8_t kNoCode = 200;
constexpr std::uint8_t kOn = 200;        // "+" of the key beep and the DCS mode
constexpr std::uint8_t kDcsByList = 100; // DCS mode "-": the byte is the list position
constexpr int kMaxCtcss = 55;
constexpr int kMaxDcs = 84;

// Channel flags (record byte 0) and inverted flags (record byte 15).
constexpr std::uint8_t kScan = 0x02;
constexpr std::uint8_t kActive = 0x04;
constexpr std::uint8_t kCtcssMode = 0x08;
constexpr std::uint8_t kNarrow = 0x40;
constexpr std::uint8_t kIdToneOff = 0x80;
constexpr std::uint8_t kRssiClear = 0x01;
constexpr std::uint8_t kOffClear = 0x04;

// Option flags (header byte 11).
constexpr std::uint8_t kScanOption = 0x02;
constexpr std::uint8_t kVOption = 0x04;
constexpr std::uint8_t kVuOption = 0x10;

QString none()
{
    return QStringLiteral("Нет");
}

QString decimal(int value)
{
    return QString::number(value);
}

QString hex(std::uint8_t byte)
{
    static const char digits[] = "0123456789ABCDEF";
    QString text(2, u'0');
    text[0] = QLatin1Char(digits[byte >> 4]);
    text[1] = QLatin1Char(digits[byte & 0x0F]);
    return text;
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

QString ctcssText(std::uint8_t byte)
{
    if (byte == kNoCode)
        return none();
    if (byte > kMaxCtcss)
        return unknown(byte);
    return CodeLists::ctcss().at(byte);
}

QString dcsText(std::uint8_t byte, bool byPairs)
{
    if (byte == kNoCode)
        return none();
    const int position = byPairs ? CodeLists::dcsPartner(byte) : (byte <= kMaxDcs ? int(byte) : -1);
    if (position < 0)
        return unknown(byte);
    return CodeLists::dcs().at(position);
}

QString frequencyText(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2, int prescaler, int offsetKHz)
{
    return Numbers::formatTwoDecimals(FrequencyWord::decode({b0, b1, b2}, prescaler, offsetKHz));
}

QString toneNumberText(std::uint8_t byte)
{
    return byte >= 1 && byte <= 10 ? decimal(byte) : none();
}

QString txOffText(std::uint8_t inverted)
{
    if (!(inverted & kRssiClear))
        return QStringLiteral("RSSI");
    if (!(inverted & kOffClear))
        return QStringLiteral("OFF");
    return QStringLiteral("Норм");
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

void ImageDecoder::addLine(const QString &key, const QString &value)
{
    m_state.settingsLines.append(key + u'=' + value);
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
    std::copy(block.begin(), block.end(), m_state.image.header.begin());
    addLine(QStringLiteral("Серийный номер"), hex(block[0]) + hex(block[1]) + hex(block[2]));
    // The Id as the station holds it; the Id code kept for writing stays.
    addLine(QStringLiteral("Id_номер"), hex(block[8]) + hex(block[9]));
    m_stage = Stage::Block1;
    return std::nullopt;
}

void ImageDecoder::afterToneByte(int n, std::uint8_t byte)
{
    if (!at(Stage::Block1) || n < 1 || n > 10)
        return;
    m_state.image.tones[static_cast<std::size_t>(n - 1)] = byte;
    addLine(QStringLiteral("Тон") + decimal(n), decimal(byte * 10));
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
    std::copy(block.begin(), block.end(), m_state.image.header.begin() + RadioImage::FvCode);
    m_stage = Stage::Block3;
}

std::optional<StationKind> ImageDecoder::afterBlock4(std::span<const std::uint8_t, Block4Size> block)
{
    if (!at(Stage::Block3))
        return std::nullopt;
    // The menu mark follows only once the whole read is done.
    m_state.moduleCode = block[0];
    m_state.bandCode = block[1];
    addHeaderLines();
    m_state.table.setRowCount(recordCount() + 1);
    m_stage = Stage::Block4;
    // The records are decoded with the constants of the type chosen here.
    return m_state.selectStationByBandCode(block[1]);
}

void ImageDecoder::addHeaderLines()
{
    const auto &h = m_state.image.header;
    addLine(QStringLiteral("P_1"), QStringLiteral("5"));
    addLine(QStringLiteral("P_2"), QStringLiteral("10"));
    addLine(QStringLiteral("P_3"), QStringLiteral("25"));
    addLine(QStringLiteral("P_4"), QStringLiteral("40"));
    addLine(QStringLiteral("Яркость диодов"), brightnessText(h[RadioImage::Brightness]));
    addLine(QStringLiteral("Громкость"), decimal(h[RadioImage::Volume]));
    addLine(QStringLiteral("МинГромкость"), decimal(h[RadioImage::MinVolume]));
    addLine(QStringLiteral("Пик_кнопок"), plusMinus(h[RadioImage::KeyBeep] == kOn));
    addLine(QStringLiteral("ФВ"), hex(h[RadioImage::FvCode]));
    addLine(QStringLiteral("Код_DCS"), plusMinus(h[RadioImage::DcsMode] == kOn));
    const std::uint8_t options = h[RadioImage::OptionFlags];
    addLine(QStringLiteral("Ф_Скан"), plusMinus(options & kScanOption));
    addLine(QStringLiteral("Ф_V"), plusMinus(options & kVOption));
    addLine(QStringLiteral("ВУ"), plusMinus(options & kVuOption));
}

bool ImageDecoder::afterRecord(int index, std::span<const std::uint8_t, RadioImage::RecordSize> record)
{
    if (!at(Stage::Block4) || index < 0 || index >= recordCount())
        return false;
    std::copy(record.begin(), record.end(), m_state.image.records[static_cast<std::size_t>(index)].begin());
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
    addLine(QStringLiteral("СК"), specialChannelText());
    m_stage = Stage::Records;
}

void ImageDecoder::decodeRow(int row, const RadioImage::Record &r)
{
    using C = ChannelTable::Column;
    ChannelTable &t = m_state.table;
    const StationProfile &p = m_state.profile;
    const std::uint8_t flags = r[0];

    t.setCell(C::Number, row, decimal(r[1]));
    t.setCell(C::Rx, row, r[2] == 0 ? QStringLiteral("РЕТР_ПП") : frequencyText(r[2], r[3], r[4], p.prescaler, p.rxOffsetKHz));
    t.setCell(C::Tx, row, r[5] == 0 ? QStringLiteral("РЕТР_ПР") : frequencyText(r[5], r[6], r[7], p.prescaler, 0));

    if (flags & kCtcssMode) {
        t.setCell(C::CtcRx, row, ctcssText(r[8]));
        t.setCell(C::CtcTx, row, ctcssText(r[9]));
        t.setCell(C::DcsRx, row, none());
        t.setCell(C::DcsTx, row, none());
    } else {
        const bool byPairs = m_state.image.header[RadioImage::DcsMode] != kDcsByList;
        t.setCell(C::CtcRx, row, none());
        t.setCell(C::CtcTx, row, none());
        t.setCell(C::DcsRx, row, dcsText(r[8], byPairs));
        t.setCell(C::DcsTx, row, dcsText(r[9], byPairs));
    }

    t.setCell(C::ToneRx, row, toneNumberText(r[10]));
    t.setCell(C::ToneTx, row, toneNumberText(r[11]));
    t.setCell(C::Sh, row, decimal(r[12]));
    t.setCell(C::PMax, row, decimal(r[14]));
    t.setCell(C::PMin, row, decimal(r[13]));
    t.setChecked(C::Scan, row, flags & kScan);
    t.setCell(C::Sw, row, (flags & kNarrow) ? QStringLiteral("12,5") : QStringLiteral("25"));
    t.setChecked(C::IdTone, row, !(flags & kIdToneOff));
    t.setCell(C::TxOff, row, txOffText(r[15]));
    t.setCell(C::Time, row, r[16] == 0 ? none() : decimal(r[16]));
    t.setChecked(C::Active, row, flags & kActive);
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
