#pragma once

#include "common/refusal.h"
#include "image/fieldcoding.h"
#include "image/frequencyword.h"
#include "image/radioimage.h"

class ChannelTable;
struct StationProfile;

// The data check's steps for one channel row: checks its cells in their fixed
// order and codes them into the row's channel record as it goes, so that a
// refused row leaves the record built up to the failing step.
class ChannelRowCoder
{
public:
    ChannelRowCoder(const ChannelTable &table, const StationProfile &station, FieldCoding::DcsMode dcsMode);

    // Codes table row `row` (1..N) into `record`. Throws the conversion error
    // of a cell that must be a number and is not.
    MaybeRefusal code(int row, RadioImage::Record &record) const;

private:
    MaybeRefusal codeFlags(int row, RadioImage::Record &record) const;
    MaybeRefusal codeCodes(int row, RadioImage::Record &record) const;
    void codeTones(int row, RadioImage::Record &record) const;
    MaybeRefusal codeNumber(int row, RadioImage::Record &record) const;
    MaybeRefusal codeFrequency(int row, FrequencyWord::Side side, RadioImage::Record &record) const;
    MaybeRefusal codePowers(int row, RadioImage::Record &record) const;
    void codeTxOffAndTime(int row, RadioImage::Record &record) const;

    const QString &cell(int column, int row) const;

    const ChannelTable &m_table;
    const StationProfile &m_station;
    FieldCoding::DcsMode m_dcsMode;
};
