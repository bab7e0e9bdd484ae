#pragma once

// A station's reply to the read request, field by field, shared by the tests
// of the decoder, the reader and the line faults, and the two worked records
// it carries.

#include <QByteArray>
#include <QList>
#include <initializer_list>
#include <utility>

namespace ReplyFixtures {

// The two worked records: 144000/144000 with CTCSS "67,0", and
// 145500/144900 with "71,9" on transmit, tone 3, RSSI and time 5.
inline const QByteArray kRow1 = QByteArray::fromHex("BE 01 11 D8 81 11 68 01 01 C8 00 00 01 01 04 FF 00 00");
inline const QByteArray kRow2 = QByteArray::fromHex("6E 02 11 DC 41 11 6A 41 C8 02 03 00 02 02 03 F6 05 00");
// A DCS row: channel 3, 144000/144000, DCS code byte 1 on receive, none on transmit.
inline const QByteArray kDcsRow = QByteArray::fromHex("B6 03 11 D8 81 11 68 01 01 C8 00 00 01 01 04 FF 00 00");

// The record with the bytes at the given positions replaced.
inline QByteArray patched(QByteArray record, std::initializer_list<std::pair<int, int>> patches)
{
    for (auto [at, value] : patches)
        record[at] = char(value);
    return record;
}

// Noise: bytes of no pattern, with the channel count byte (5) set.
inline QByteArray noise(int length, int channelCount)
{
    QByteArray bytes;
    quint32 x = 2463534242u;
    for (int i = 0; i < length; ++i) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        bytes.append(static_cast<char>(x >> 24));
    }
    bytes[5] = static_cast<char>(channelCount);
    return bytes;
}

inline QByteArray patched(QByteArray record, int at, int value)
{
    return patched(std::move(record), {{at, value}});
}

// A station's reply in read order. The default one, two channels on
// 144-174 MHz, passes the data check.
struct Reply
{
    QByteArray serial = QByteArray::fromHex("0123AB");
    int brightness = 6, volume = 8, count = -1, beep = 200, special = 0;
    int id = 0x12AB;
    QByteArray tones = QByteArray::fromHex("46 4B 64 78 8C 9B AA C7 D2 F0");
    int fv = 0x00, minVolume = 0, dcsMode = 200, options = 0x06;
    int module = 0, band = 0;
    QList<QByteArray> records{kRow1, kRow2};
    // The two bytes after the band code, which the program ignores.
    QByteArray spare = QByteArray::fromHex("5A A5");

    // n records of alternately the two worked rows, numbered 1..n.
    static Reply withRecords(int n)
    {
        Reply r;
        r.records.clear();
        for (int i = 0; i < n; ++i)
            r.records.append(patched(i % 2 ? kRow2 : kRow1, 1, i + 1));
        return r;
    }

    QByteArray bytes() const
    {
        QByteArray b = serial;
        for (int v : {brightness, volume, count < 0 ? int(records.size()) : count, beep, special, id >> 8, id & 0xFF})
            b.append(char(v));
        b += tones;
        for (int v : {fv, minVolume, dcsMode, options, module, band})
            b.append(char(v));
        b += spare;
        for (const QByteArray &r : records)
            b += r;
        return b;
    }
};

} // namespace ReplyFixtures
