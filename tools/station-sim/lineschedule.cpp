#include "lineschedule.h"

#include "stationline.h"

#include <algorithm>

namespace {

constexpr LineSchedule::Us kUsPerMs = 1000;

// A well-mixed number for (seed, n): the same pair gives the same number on
// every run and every platform.
std::uint32_t mixed(std::uint32_t seed, std::uint64_t n)
{
    std::uint64_t x = (std::uint64_t(seed) << 32) ^ (n + 0x9E3779B97F4A7C15ULL);
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
    return static_cast<std::uint32_t>((x ^ (x >> 31)) >> 16);
}

} // namespace

LineSchedule::LineSchedule(const StationLineOptions &options)
    : m_lineTime(options.lineTime), m_answerGapUs(Us(std::max(0, options.answerGapMs)) * kUsPerMs),
      m_latencyUs(Us(std::max(0, options.adapterLatencyMs)) * kUsPerMs),
      // A burst is never later than the next one is due.
      m_jitterUs(std::clamp(Us(options.adapterJitterMs) * kUsPerMs, Us(0), m_latencyUs)), m_loseByte(options.loseByte),
      m_strayBytes(std::max(0, options.strayBytes)), m_strayGapUs(Us(std::max(1, options.strayGapMs)) * kUsPerMs),
      m_seed(options.seed)
{
}

LineSchedule::Us LineSchedule::arrival(Us sentUs)
{
    if (!m_lineTime)
        return sentUs;
    m_receiveLineFree = std::max(sentUs, m_receiveLineFree) + CharacterUs;
    return m_receiveLineFree;
}

bool LineSchedule::ready(Us us) const
{
    return us >= Us(m_strayBytes) * m_strayGapUs;
}

QList<LineSchedule::Delivery> LineSchedule::strayBytes()
{
    QList<Delivery> out;
    for (int i = 0; i < m_strayBytes; ++i) {
        const auto byte = static_cast<std::uint8_t>(mixed(~m_seed, std::uint64_t(i)));
        if (const auto delivered = sendOne(Us(i) * m_strayGapUs, byte))
            out.append(*delivered);
    }
    return out;
}

QList<LineSchedule::Delivery> LineSchedule::send(Us readyUs, const QByteArray &bytes)
{
    QList<Delivery> out;
    for (char c : bytes)
        if (const auto delivered = sendOne(readyUs, static_cast<std::uint8_t>(c)))
            out.append(*delivered);
    return out;
}

std::optional<LineSchedule::Delivery> LineSchedule::sendOne(Us readyUs, std::uint8_t byte)
{
    Us onLine = readyUs;
    if (m_lineTime) {
        onLine = std::max(readyUs, m_sendLineFree) + CharacterUs;
        m_sendLineFree = onLine;
    }
    if (m_lastSent && m_answerGapUs > 0)
        onLine = std::max(onLine, *m_lastSent + m_answerGapUs);
    m_lastSent = onLine;
    if (++m_sentCount == m_loseByte)
        return std::nullopt;
    return Delivery{burstAfter(onLine), byte};
}

LineSchedule::Us LineSchedule::burstAfter(Us onLineUs) const
{
    if (m_latencyUs <= 0)
        return onLineUs;
    // Burst k falls at k latencies plus its own jitter; bursts never
    // overtake each other, so the first one after the byte is the one.
    Us k = std::max<Us>(0, (onLineUs - m_jitterUs) / m_latencyUs);
    for (;; ++k) {
        const Us jitter = m_jitterUs > 0 ? Us(mixed(m_seed, std::uint64_t(k)) % std::uint32_t(m_jitterUs + 1)) : 0;
        const Us burst = k * m_latencyUs + jitter;
        if (burst > onLineUs)
            return burst;
    }
}
