#pragma once

#include "common/refusal.h"
#include "link/stationreader.h"

#include <QByteArray>
#include <QString>

struct AppState;
struct PortArgument;

// One "Чтение данных " without a window: the progress on standard error, the
// reply decoded into the state as the window decodes it.
struct StationRead
{
    StationReader::Outcome outcome = StationReader::Outcome::NoAnswer;
    MaybeRefusal refusal;   // when the reply was refused
    QByteArray reply;       // every byte taken from the line, in order

    // Serial errors are thrown as PlatformError.
    static StationRead run(AppState &state, const PortArgument &port);
};

namespace StationTexts {

// A wait for the station ran out ("AK" in the transfer dialog).
QString noAnswer();

} // namespace StationTexts
