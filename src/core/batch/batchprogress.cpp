#include "batch/batchprogress.h"

#include "image/radioimage.h"

#include <algorithm>
#include <cmath>

namespace {

// The start byte and the settings, tones, Id and codes before the records.
constexpr int kBytesBeforeRecords = 1 + RadioImage::WritePrefixSize;

} // namespace

BatchProgress::BatchProgress(int channels)
    : m_beforeRecords(100.0 * kBytesBeforeRecords / (kBytesBeforeRecords + RadioImage::RecordSize * channels))
{
}

void BatchProgress::begin(SequenceStep step)
{
    m_step = step;
    m_inRecords = false;
    m_lastGauge = 0;
    m_percent = 0;
}

int BatchProgress::stepPercent(int gaugeValue)
{
    double done = gaugeValue;
    switch (m_step) {
    case SequenceStep::BackUp:
    case SequenceStep::Verify:
        done = 100 - gaugeValue;
        break;
    case SequenceStep::Write:
        // Back to 0 after the bytes before the records: the records begin.
        m_inRecords = m_inRecords || gaugeValue < m_lastGauge;
        m_lastGauge = gaugeValue;
        done = m_inRecords ? m_beforeRecords + gaugeValue * (100.0 - m_beforeRecords) / 100.0
                           : gaugeValue * m_beforeRecords / 100.0;
        break;
    case SequenceStep::Report:
        break;
    }
    m_percent = std::max(m_percent, static_cast<int>(std::lround(std::clamp(done, 0.0, 100.0))));
    return m_percent;
}

int BatchProgress::overall(SequenceStep step, int stepPercent)
{
    int start = 0;
    int span = 0;
    switch (step) {
    case SequenceStep::BackUp:
        span = 25;
        break;
    case SequenceStep::Write:
        start = 25;
        span = 50;
        break;
    case SequenceStep::Verify:
        start = 75;
        span = 25;
        break;
    case SequenceStep::Report:
        start = 100;
        break;
    }
    return start + (std::clamp(stepPercent, 0, 100) * span + 50) / 100;
}
