#include "simulatedstation.h"

namespace {

void append(QByteArray &out, std::uint8_t byte)
{
    out.append(static_cast<char>(byte));
}

template <std::size_t N>
void appendAll(QByteArray &out, const std::array<std::uint8_t, N> &bytes, std::size_t from = 0, std::size_t to = N)
{
    for (std::size_t i = from; i < to; ++i)
        append(out, bytes[i]);
}

std::uint8_t at(const QByteArray &bytes, qsizetype i)
{
    return static_cast<std::uint8_t>(bytes.at(i));
}

} // namespace

QByteArray StationMemory::readReply() const
{
    QByteArray out;
    appendAll(out, serial);
    appendAll(out, settings, 0, 5);
    append(out, static_cast<std::uint8_t>(idCode >> 8));
    append(out, static_cast<std::uint8_t>(idCode & 0xFF));
    appendAll(out, tones);
    appendAll(out, settings, 5, 9);
    append(out, moduleCode);
    append(out, bandCode);
    appendAll(out, trailer);
    out.append(records.left(qsizetype(channelCount()) * RecordSize));
    return out;
}

qsizetype SimulatedStation::expectedWriteSize() const
{
    // The channel count is the third byte of the write; until it has come
    // the prefix is all that is known.
    if (m_incoming.size() < 3)
        return WritePrefixSize;
    return WritePrefixSize + qsizetype(at(m_incoming, 2)) * StationMemory::RecordSize;
}

QByteArray SimulatedStation::onByte(std::uint8_t byte, qint64 nowMs)
{
    if (m_writing && nowMs - m_lastByteMs > WriteGapResetMs) {
        m_writing = false;
        m_incoming.clear();
    }
    m_lastByteMs = nowMs;

    QByteArray answer;
    if (m_writing) {
        append(answer, byte);
        append(m_incoming, byte);
        if (m_incoming.size() >= expectedWriteSize())
            finishWrite();
        return answer;
    }
    switch (byte) {
    case WriteCommand:
        m_writing = true;
        m_incoming.clear();
        append(answer, byte);
        break;
    case ReadCommand:
        answer = m_memory.readReply();
        break;
    case ProbeByte:
        append(answer, byte);
        break;
    default:
        break;
    }
    return answer;
}

void SimulatedStation::finishWrite()
{
    const QByteArray &w = m_incoming;
    StationMemory &m = m_memory;
    for (std::size_t i = 0; i < 5; ++i)
        m.settings[i] = at(w, qsizetype(i));
    for (std::size_t i = 0; i < m.tones.size(); ++i)
        m.tones[i] = at(w, 5 + qsizetype(i));
    m.idCode = static_cast<std::uint16_t>(at(w, 15) << 8 | at(w, 16));
    for (std::size_t i = 0; i < 4; ++i)
        m.settings[5 + i] = at(w, 17 + qsizetype(i));
    m.moduleCode = at(w, 21);
    m.bandCode = at(w, 22);
    m.records = w.mid(WritePrefixSize);
    m_writing = false;
    m_incoming.clear();
    ++m_completedWrites;
}
