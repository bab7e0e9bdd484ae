#pragma once

#include "image/radioimage.h"
#include "station/stationprofile.h"

#include <QByteArray>
#include <QString>
#include <cstdint>

// What a station holds, or is to be given: the bytes of its memory, the
// module and band codes written beside them, and the station type whose
// constants code its frequencies.
struct StationData
{
    RadioImage image;
    std::uint8_t moduleCode = 0;
    std::uint8_t bandCode = 0;
    StationKind stationKind = StationKind::Band144_174;

    // The bytes a write sends after its start byte.
    QByteArray writeOrder() const { return image.writeOrder(moduleCode, bandCode); }
    // Header bytes 0..2 as the station shows its serial number.
    QString serial() const;
    // The bytes the station sends for it in reply to a read.
    QByteArray reply() const;
};
