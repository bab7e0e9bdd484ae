#pragma once

#include "common/refusal.h"
#include "image/stationdata.h"
#include "station/stationprofile.h"
#include "table/channelplan.h"

#include <QByteArray>
#include <QStringList>
#include <optional>

// A station's reply to the read request, decoded from the bytes received so
// far: what the station holds, and the texts a read shows for it. The reply
// comes in blocks (serial number to Id, the tones one by one, header 8..11,
// module and band, then one record per channel), and only whole blocks are
// decoded, so a reply cut short shows what came before its last block,
// as the technician expects after a time-out.
class StationReply
{
public:
    // The byte that asks the station for its memory.
    static constexpr std::uint8_t RequestByte = 30;

    // Decodes `received`. A band code that names no station type keeps
    // `current`, whose constants then decode the frequencies. Safe for any
    // length and content; bytes beyond the records are not looked at.
    static StationReply decode(const QByteArray &received, StationKind current = StationKind::Band144_174);

    // The length of the whole reply as far as `received` tells it: the
    // fixed part until the channel count has come, then the fixed part and
    // its records.
    static qsizetype expectedLength(const QByteArray &received);
    // Whether a read shows what came once `received` bytes are in: the
    // request went out (0), the first block, each tone, the fixed part, each
    // record.
    static bool isShownAt(qsizetype received);
    // Whether the byte at `position` of a reply belongs to the records,
    // whose gaps are shorter than those of the fixed part.
    static bool isRecordByte(qsizetype position) { return position >= RadioImage::ReadPrefixSize; }
    // A channel count above the 99 records a station holds refuses the
    // read as soon as the first block is in.
    static MaybeRefusal refusalOf(const QByteArray &received);
    static Refusal tooManyChannels(int count);
    // Where a reply that stopped before its end stopped: "станция перестала
    // отвечать на байте N из M", N the first byte that did not come and M the
    // reply's length by its channel count; nothing when no byte came.
    static std::optional<QString> stoppedText(const QByteArray &received);

    // The bytes decoded: whole blocks only.
    qsizetype decodedBytes() const { return m_decoded; }
    // A channel count the program cannot take: nothing was decoded.
    const MaybeRefusal &refusal() const { return m_refusal; }
    // Module, band, station type and the table's size are known.
    bool settingsComplete() const { return m_settingsComplete; }
    // Every block came: the table is decoded.
    bool complete() const { return m_complete; }
    // The records the reply carries; 0 until the first block.
    int channelCount() const;

    // The settings text as far as the reply came: "[Общие установки]", the
    // serial number and the Id the station holds, the tones one by one,
    // the rest of the header, and last the special channel.
    const QStringList &settingsLines() const { return m_settingsLines; }
    // The station type the band code names, when it names one.
    std::optional<StationKind> selectedStation() const { return m_selected; }
    // What the station holds as far as the reply came: its Id in
    // image.idCode, its band code as the station type it names gives it,
    // and the station type its frequencies were decoded with.
    const StationData &station() const { return m_station; }
    // The channel table of a complete reply: the header row and the decoded
    // rows with their boxes.
    const ChannelTable &table() const { return m_table; }
    // What a complete read puts into the window, as a plan: the texts, the
    // station type and the codes, as a channel file keeps them.
    ChannelPlan plan() const;

    // `image` with the bytes of the whole blocks placed where the station
    // keeps them, as a read refills the image a write sends; until block 3
    // comes, header bytes 8 and 9 hold the Id bytes of block 1. The Id code
    // kept for writing stays.
    RadioImage placedOver(RadioImage image) const;

private:
    void decodeFixedPart();
    void decodeRecords();
    void addLine(SettingsText::Key key, const QString &value);
    void addHeaderLines();
    void decodeRow(int row, const RadioImage::Record &record);
    QString specialChannelText() const;

    QByteArray m_received;
    qsizetype m_decoded = 0;
    MaybeRefusal m_refusal;
    bool m_settingsComplete = false;
    bool m_complete = false;
    QStringList m_settingsLines;
    std::optional<StationKind> m_selected;
    StationData m_station;
    ChannelTable m_table;
};
