#pragma once

#include "common/refusal.h"
#include "link/stationreader.h"

#include <QByteArray>
#include <QString>
#include <optional>

struct AppState;
struct LinkSetup;
class TransferObserver;

// One "Чтение данных " without a window, for the sequences that compare what
// a station holds with what was written: the reply decoded into the state as
// the window decodes it, and kept byte for byte.
struct StationRead
{
    StationReader::Outcome outcome = StationReader::Outcome::NoAnswer;
    MaybeRefusal refusal;  // when the reply was refused
    QByteArray reply;      // every byte taken from the line, in order
    bool lineBusy = false; // no answer because the line never fell quiet

    // Where a read without an answer stopped when the station had begun
    // its reply: "станция перестала отвечать на байте N из M", N the first
    // byte that did not come and M the reply's length by its channel count.
    // Nothing when no byte came.
    std::optional<QString> stoppedReply() const;

    // The transfer dialog's status and gauge go to `progress`, on the calling
    // thread, whose own port the read makes and closes. Serial errors are
    // thrown as PlatformError.
    static StationRead run(AppState &state, const LinkSetup &setup, TransferObserver &progress);
};

// ": линия занята - ..." for a transfer whose quiet-line wait gave up after
// `boundMs`: the line was not silent but busy with bytes nobody asked for.
QString busyLineText(int boundMs);
