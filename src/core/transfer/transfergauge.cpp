#include "transfer/transfergauge.h"

#include "common/numbers.h"
#include "image/stationreply.h"

#include <algorithm>
#include <cstdint>

namespace TransferGauge {

namespace {

constexpr int kFull = 100;
// The bytes of a write (after its start byte) at each mark of the settings.
constexpr qsizetype kHeaderSent = 1 + StationLayout::WriteTonesAt;
constexpr qsizetype kTonesSent = 1 + StationLayout::WriteTonesEnd;
constexpr qsizetype kSettingsSent = 1 + RadioImage::WritePrefixSize;

int writeValue(const TransferProgress &p)
{
    if (!p.records) {
        if (p.done >= kSettingsSent)
            return kFull;
        if (p.done >= kTonesSent)
            return 66;
        return p.done >= kHeaderSent ? 33 : 0;
    }
    const qsizetype records = (p.total - kSettingsSent) / RadioImage::RecordSize;
    const qsizetype done = (p.done - kSettingsSent) / RadioImage::RecordSize;
    if (records <= 0)
        return 0;
    return static_cast<int>(Numbers::roundHalfEven(double(done) * (double(kFull) / double(records))));
}

int readValue(const TransferProgress &p)
{
    const qsizetype records = (p.total - RadioImage::ReadPrefixSize) / RadioImage::RecordSize;
    const qsizetype done = (p.done - RadioImage::ReadPrefixSize) / RadioImage::RecordSize;
    if (p.total == 0 || records <= 0 || done <= 0)
        return kFull;
    return std::max(kFull - int(done) * readStep(int(records)), 0);
}

} // namespace

int readStep(int records)
{
    if (records <= 0)
        return 0;
    return static_cast<std::uint8_t>(Numbers::roundHalfEven(double(kFull) / records));
}

int value(const TransferProgress &progress)
{
    return progress.isRead() ? readValue(progress) : writeValue(progress);
}

int completed(SequenceStep step)
{
    return step == SequenceStep::Write ? kFull : 0;
}

} // namespace TransferGauge

int TransferProgress::percent() const
{
    return total > 0 ? int(std::clamp<qsizetype>(done * 100 / total, 0, 100)) : 0;
}

TransferProgress TransferProgress::ofReply(SequenceStep step, const QByteArray &reply)
{
    // The length is known once the channel count has come.
    const qsizetype total = reply.size() > StationLayout::readAt(StationLayout::Name::ChannelCount)
                                ? StationReply::expectedLength(reply)
                                : 0;
    return TransferProgress{step, reply.size(), total, false};
}
