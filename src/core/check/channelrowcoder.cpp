#include "check/channelrowcoder.h"
#include "common/excerpt.h"
#include "common/numbers.h"
#include "image/channelrecord.h"
#include "station/stationprofile.h"
#include "table/channeltable.h"
#include "table/templatebuilder.h"

namespace {

namespace Flag = ChannelRecord::Flag;
namespace InvertedFlag = ChannelRecord::InvertedFlag;

std::uint8_t &at(RadioImage::Record &record, int byte)
{
    return record[static_cast<std::size_t>(byte)];
}

void set(RadioImage::Record &record, int byte, std::uint8_t bits)
{
    at(record, byte) = static_cast<std::uint8_t>(at(record, byte) | bits);
}

void clear(RadioImage::Record &record, int byte, std::uint8_t bits)
{
    at(record, byte) = static_cast<std::uint8_t>(at(record, byte) & ~bits);
}

// A number cell goes into its byte as the station takes it: the low eight bits.
std::uint8_t numberByte(const QString &text)
{
    return static_cast<std::uint8_t>(Numbers::toInt(text));
}

QString columnTitle(int column)
{
    return ChannelTable::headerTexts().at(static_cast<std::size_t>(column)).trimmed();
}

Refusal unknownCode(int row, int column, const QString &text)
{
    return Refusal{QStringLiteral("В строчке №%1 в столбце \"%2\" неизвестный код \"%3\"")
                       .arg(row)
                       .arg(columnTitle(column), Excerpt::of(text))};
}

} // namespace

ChannelRowCoder::ChannelRowCoder(const ChannelTable &table, const StationProfile &station, FieldCoding::DcsMode dcsMode)
    : m_table(table), m_station(station), m_dcsMode(dcsMode)
{
}

const QString &ChannelRowCoder::cell(int column, int row) const
{
    return m_table.cell(column, row);
}

MaybeRefusal ChannelRowCoder::code(int row, RadioImage::Record &record) const
{
    at(record, ChannelRecord::Flags) = 0;
    at(record, ChannelRecord::Inverted) = InvertedFlag::Start;
    if (auto refusal = codeFlags(row, record))
        return refusal;
    if (auto refusal = codeCodes(row, record))
        return refusal;
    codeTones(row, record);
    if (auto refusal = codeNumber(row, record))
        return refusal;
    if (auto refusal = codeFrequency(row, FrequencyWord::Side::Receive, record))
        return refusal;
    if (auto refusal = codeFrequency(row, FrequencyWord::Side::Transmit, record))
        return refusal;
    at(record, ChannelRecord::Sh) = numberByte(cell(ChannelTable::Sh, row));
    if (auto refusal = codePowers(row, record))
        return refusal;
    codeTxOffAndTime(row, record);
    at(record, ChannelRecord::Reserved) = 0;
    return std::nullopt;
}

MaybeRefusal ChannelRowCoder::codeFlags(int row, RadioImage::Record &record) const
{
    // A row whose boxes were detached by a station type change cannot say
    // whether it scans, is active or sends its Id tone.
    if (!m_table.hasBoxes(row))
        return Refusal{QStringLiteral("В строчке №%1 нет флажков \"%2\", \"%3\" и \"%4\". "
                                      "Создайте шаблон или загрузите файл заново.")
                           .arg(row)
                           .arg(columnTitle(ChannelTable::Scan), columnTitle(ChannelTable::IdTone),
                                columnTitle(ChannelTable::Active))};
    if (m_table.isChecked(ChannelTable::Active, row))
        set(record, ChannelRecord::Flags, Flag::Active);
    if (!m_table.isChecked(ChannelTable::IdTone, row))
        set(record, ChannelRecord::Flags, Flag::IdToneOff);
    if (cell(ChannelTable::Sw, row) == QLatin1String("12,5"))
        set(record, ChannelRecord::Flags, Flag::Narrow);
    if (m_table.isChecked(ChannelTable::Scan, row))
        set(record, ChannelRecord::Flags, Flag::Scan);
    return std::nullopt;
}

MaybeRefusal ChannelRowCoder::codeCodes(int row, RadioImage::Record &record) const
{
    const QString none = FieldCoding::noneText();
    const bool ctcssMode = cell(ChannelTable::DcsRx, row) == none && cell(ChannelTable::DcsTx, row) == none;
    if (ctcssMode)
        set(record, ChannelRecord::Flags, Flag::CtcssMode);
    const int columns[2][2] = {{ChannelTable::CtcRx, ChannelTable::DcsRx}, {ChannelTable::CtcTx, ChannelTable::DcsTx}};
    const int bytes[2] = {ChannelRecord::RxCode, ChannelRecord::TxCode};
    for (int side = 0; side < 2; ++side) {
        const int column = columns[side][ctcssMode ? 0 : 1];
        const QString &text = cell(column, row);
        const auto code = ctcssMode ? FieldCoding::ctcssByte(text) : FieldCoding::dcsByte(text, m_dcsMode);
        if (!code)
            return unknownCode(row, column, text);
        at(record, bytes[side]) = *code;
    }
    return std::nullopt;
}

void ChannelRowCoder::codeTones(int row, RadioImage::Record &record) const
{
    const QString none = FieldCoding::noneText();
    const QString &rx = cell(ChannelTable::ToneRx, row);
    if (rx == none)
        set(record, ChannelRecord::Flags, Flag::NoRxTone);
    else
        at(record, ChannelRecord::RxTone) = numberByte(rx);
    const QString &tx = cell(ChannelTable::ToneTx, row);
    if (tx == none)
        set(record, ChannelRecord::Flags, Flag::NoTxTone);
    else
        at(record, ChannelRecord::TxTone) = numberByte(tx);
}

MaybeRefusal ChannelRowCoder::codeNumber(int row, RadioImage::Record &record) const
{
    const QString &text = cell(ChannelTable::Number, row);
    if (text.isEmpty() || text.size() > 2)
        return Refusal{QStringLiteral("В строчке №") + QString::number(row)
                       + QStringLiteral(" введен неправильный номер канала")};
    at(record, ChannelRecord::Number) = numberByte(text);
    return std::nullopt;
}

MaybeRefusal ChannelRowCoder::codeFrequency(int row, FrequencyWord::Side side, RadioImage::Record &record) const
{
    const bool receive = side == FrequencyWord::Side::Receive;
    const QString &text = cell(receive ? ChannelTable::Rx : ChannelTable::Tx, row);
    const int first = receive ? ChannelRecord::RxWord : ChannelRecord::TxWord;
    if (text.isEmpty())
        return Refusal{QStringLiteral("В канале №") + QString::number(at(record, ChannelRecord::Number))
                       + (receive ? QStringLiteral(" не введена частота приема")
                                  : QStringLiteral(" не введена частота передачи"))};
    if (text == (receive ? FieldCoding::rxRepeaterText() : FieldCoding::txRepeaterText())) {
        for (int i = 0; i < 3; ++i)
            at(record, first + i) = 0;
        clear(record, ChannelRecord::Inverted, receive ? InvertedFlag::RxRepeater : InvertedFlag::TxRepeater);
        return std::nullopt;
    }
    const double kHz = Numbers::toDecimal(text);
    if (kHz < m_station.lowKHz || kHz > m_station.highKHz)
        return Refusal{QStringLiteral("Ошибка в канале №") + QString::number(row)
                       + QStringLiteral(" частотный диапазон ")
                       + TemplateBuilder::bandRange(m_station.lowKHz, m_station.highKHz) + QStringLiteral(" MГц")};
    if (!TemplateBuilder::isMultipleOf6_25(kHz))
        return Refusal{QStringLiteral("Частота должна быть кратна 6,25кГц"), receive ? Sound::None : Sound::Error};
    const FrequencyWord::Bytes word = FrequencyWord::encode(kHz, side, m_station);
    for (int i = 0; i < 3; ++i)
        at(record, first + i) = word[static_cast<std::size_t>(i)];
    return std::nullopt;
}

MaybeRefusal ChannelRowCoder::codePowers(int row, RadioImage::Record &record) const
{
    const QString &pMin = cell(ChannelTable::PMin, row);
    if (pMin == QLatin1String("4"))
        return Refusal{QStringLiteral("Не желательно использовать в минимальной мощности 4 уровень")};
    at(record, ChannelRecord::PMin) = numberByte(pMin);
    const QString &pMax = cell(ChannelTable::PMax, row);
    if (pMax == QLatin1String("1"))
        return Refusal{QStringLiteral("Не желательно использовать в максимальной мощности 1 уровень")};
    at(record, ChannelRecord::PMax) = numberByte(pMax);
    return std::nullopt;
}

void ChannelRowCoder::codeTxOffAndTime(int row, RadioImage::Record &record) const
{
    const QString &txOff = cell(ChannelTable::TxOff, row);
    if (txOff == QLatin1String("RSSI"))
        clear(record, ChannelRecord::Inverted, InvertedFlag::Rssi);
    else if (txOff == QLatin1String("OFF"))
        clear(record, ChannelRecord::Inverted, InvertedFlag::Off);

    const QString &time = cell(ChannelTable::Time, row);
    if (time == FieldCoding::noneText()) {
        at(record, ChannelRecord::Time) = 0;
    } else {
        clear(record, ChannelRecord::Inverted, InvertedFlag::TimeSet);
        at(record, ChannelRecord::Time) = numberByte(time);
    }
}
