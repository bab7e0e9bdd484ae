#pragma once

#include <QByteArray>
#include <QList>
#include <cstdint>
#include <optional>

struct StationLineOptions;

// When each byte of a station's line gets where it goes, as a pure function
// of the times it was sent: the same schedule drives the simulator's
// pseudo-terminal, which keeps real time, and the line in memory of the
// tests, which counts its own. Times are microseconds from the line's start.
//
// The program's bytes reach the station after a character time on a paced
// line. The station's answer leaves after its delay, paced and spaced as the
// options say, and then passes a USB serial adapter, which hands received
// bytes to the computer in bursts, when its latency timer runs out (every
// latency, each burst up to the jitter late), and may lose one byte. A
// station that powers up sends stray bytes of its own meanwhile and takes
// nothing in until it is ready.
//
// The jitter and the stray bytes come from a seeded generator, so that a
// run can be repeated byte for byte and time for time.
class LineSchedule
{
public:
    using Us = std::int64_t;

    struct Delivery
    {
        Us at; // when the program can take it
        std::uint8_t byte;
    };

    explicit LineSchedule(const StationLineOptions &options);

    // A byte the program sent at `sentUs` is at the station then.
    Us arrival(Us sentUs);
    // The station takes in (and answers) a byte that arrives at `us`.
    bool ready(Us us) const;
    // The bytes the station sends as it powers up, from the line's start.
    QList<Delivery> strayBytes();
    // `bytes` the station sends from `readyUs` on, in order, each with the
    // time the program can take it; a lost byte is left out.
    QList<Delivery> send(Us readyUs, const QByteArray &bytes);

    // The first burst of the adapter strictly after `onLineUs`: a byte that
    // has come in waits for the next expiry of the timer, however close.
    Us burstAfter(Us onLineUs) const;

    static constexpr Us CharacterUs = 1'000'000LL * 10 / 1200; // 10 bits at 1200 baud

private:
    std::optional<Delivery> sendOne(Us readyUs, std::uint8_t byte);

    bool m_lineTime;
    Us m_answerGapUs;
    Us m_latencyUs;
    Us m_jitterUs;
    int m_loseByte;
    int m_strayBytes;
    Us m_strayGapUs;
    std::uint32_t m_seed;

    Us m_receiveLineFree = 0;
    Us m_sendLineFree = 0;
    std::optional<Us> m_lastSent;
    int m_sentCount = 0;
};
