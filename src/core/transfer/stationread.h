#pragma once

#include "common/refusal.h"
#include "link/stationreader.h"

#include <QByteArray>
#include <QString>

struct AppState;
struct LinkSetup;
class TransferObserver;

// One "Чтение данных " without a window, for the sequences that compare what
// a station holds with what was written: the reply decoded into the state as
// the window decodes it, and kept byte for byte.
struct StationRead
{
    StationReader::Outcome outcome = StationReader::Outcome::NoAnswer;
    MaybeRefusal refusal; // when the reply was refused
    QByteArray reply;     // every byte taken from the line, in order

    // The transfer dialog's status and gauge go to `progress`, on the calling
    // thread, whose own port the read makes and closes. Serial errors are
    // thrown as PlatformError.
    static StationRead run(AppState &state, const LinkSetup &setup, TransferObserver &progress);
};
