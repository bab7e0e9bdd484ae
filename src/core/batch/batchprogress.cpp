#include "batch/batchprogress.h"

#include <algorithm>

void BatchProgress::begin(SequenceStep)
{
    m_percent = 0;
}

int BatchProgress::stepPercent(const TransferProgress &progress)
{
    m_percent = std::max(m_percent, progress.percent());
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
