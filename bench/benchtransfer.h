#pragma once

// The benchmarks that run the core's transfers in their own process: checked
// data to write, and a write or a read as `vetral-cli write` and `read` run
// them, as a station's sequence of one step on the device.

#include "transfer/stationsequence.h"

// Checked data of `channels` channels.
inline StationData checkedData(int channels)
{
    StationData data;
    data.image.header = {0, 0, 0, 11, 8, static_cast<std::uint8_t>(channels), 200, 0, 0x45, 2, 200, 2};
    for (std::size_t i = 0; i < data.image.tones.size(); ++i)
        data.image.tones[i] = static_cast<std::uint8_t>(100 + i);
    for (std::size_t r = 0; r < RadioImage::MaxChannels; ++r)
        for (std::size_t b = 0; b < RadioImage::RecordSize; ++b)
            data.image.records[r][b] = static_cast<std::uint8_t>(r + b);
    return data;
}

// A write of `data` to the station on `device`, or with none a read of it.
inline SequenceOutcome transferOn(const QString &device, const std::optional<StationData> &data,
                                  const LinkTimings &timings = LinkTimings())
{
    StationPlan plan;
    plan.link.device = device;
    plan.link.timings = timings;
    plan.backUp = !data;
    plan.write = data.has_value();
    plan.verify = false;
    if (data)
        plan.data = *data;
    TransferEvents quiet;
    return StationSequence::run(plan, quiet);
}
