#pragma once

#include <QByteArray>
#include <array>
#include <cstdint>

// What a station keeps of a write, and gives back to a read.
struct StationMemory
{
    static constexpr int RecordSize = 18;

    std::array<std::uint8_t, 3> serial{};
    std::array<std::uint8_t, 9> settings{}; // image header bytes 3 to 11
    std::array<std::uint8_t, 10> tones{};
    std::uint16_t idCode = 0;
    std::uint8_t moduleCode = 0;
    std::uint8_t bandCode = 0;
    std::array<std::uint8_t, 2> trailer{}; // the two bytes after the band code in a reply
    QByteArray records;                    // channelCount() records of 18 bytes

    int channelCount() const { return settings[2]; }
    // The reply to the read command: serial number, header 3..7, Id high and
    // low, tones, header 8..11, module, band, the two trailer bytes, records.
    QByteArray readReply() const;
};

// The station's side of the protocol, byte by byte, without any I/O:
// - 20 starts a write; it and every byte of the write (header 3..7, tones,
//   Id high and low, header 8..11, module, band three times, the records) is
//   answered with a copy of itself, and a complete write replaces the memory;
// - 30 is answered with the memory in read order;
// - the probe 175 is answered with a copy of itself;
// - any other byte outside a write (the search's closing byte 5 among them)
//   gets no answer.
// A write interrupted for longer than WriteGapResetMs is dropped.
class SimulatedStation
{
public:
    static constexpr std::uint8_t WriteCommand = 20;
    static constexpr std::uint8_t ReadCommand = 30;
    static constexpr std::uint8_t ProbeByte = 175;
    static constexpr int WritePrefixSize = 25;
    static constexpr qint64 WriteGapResetMs = 2000;

    SimulatedStation() = default;
    explicit SimulatedStation(const StationMemory &memory) : m_memory(memory) {}

    // The answer to one received byte at the time nowMs (any steady clock).
    QByteArray onByte(std::uint8_t byte, qint64 nowMs);

    const StationMemory &memory() const { return m_memory; }
    int completedWrites() const { return m_completedWrites; }
    bool writing() const { return m_writing; }

private:
    void finishWrite();
    qsizetype expectedWriteSize() const;

    StationMemory m_memory;
    bool m_writing = false;
    QByteArray m_incoming; // bytes of the running write after the start byte
    qint64 m_lastByteMs = 0;
    int m_completedWrites = 0;
};
