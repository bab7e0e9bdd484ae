#pragma once

#include "image/stationdata.h"
#include "table/channelplan.h"

#include <QList>
#include <QStringList>
#include <cstdint>
#include <optional>

class StationReply;

// One side of a comparison: the bytes the station holds or would be given,
// and the texts that show them (the table and the settings text).
struct StationSide
{
    StationData station; // with the Id code of this side
    ChannelTable table;
    QStringList settingsLines;
    // False for a read: its texts are the decoder's, not anybody's spelling,
    // and its lines the station does not store are stand-ins.
    bool ownTexts = true;

    // A plan and the bytes the data check coded from it: a file or the
    // window's table.
    static StationSide checked(const ChannelPlan &plan, const StationData &station);
    // What a complete read found.
    static StationSide read(const StationReply &reply);

    int channelCount() const;
    // The value of a settings line, trimmed; none when the text lacks the key.
    std::optional<QString> setting(const QString &key) const;
};

// A byte the station stores that differs between two sides, named by its
// place in the write order. Records are compared as far as both sides have
// them; the serial number and the spare bytes are not compared.
struct StoredByteDifference
{
    int writePosition;
    std::uint8_t a;
    std::uint8_t b;
};
QList<StoredByteDifference> storedByteDifferences(const StationData &a, const StationData &b);
