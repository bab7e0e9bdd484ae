#pragma once

#include "common/refusal.h"
#include "station/stationprofile.h"

#include <optional>

// What the main window shows of a read while the station's reply arrives.
// The transfer dialog's own status, gauge and buttons go through the
// TransferObserver of the link; these calls are about the data the read
// rebuilds in AppState. All of them come on the thread that runs the read.
class ReadObserver
{
public:
    virtual ~ReadObserver() = default;

    // A read begins, before anything is changed, and has ended: complete,
    // cut short, refused, or stopped by a serial error.
    virtual void readStarting() {}
    virtual void readEnded() {}

    // The decoding is about to change the table's rows, boxes, cells or
    // header, and has changed them. The pairs do not nest.
    virtual void tableChanging() {}
    virtual void tableChanged() {}

    // The general settings text was emptied down to its section line or grew
    // by one or more lines.
    virtual void settingsChanged() = 0;

    // The fixed part of the reply is decoded: the table now has its N + 1
    // rows (not yet filled) and the band code has been applied. With a kind,
    // the window does what a selection from the station type menu does:
    // caption, check mark, start frequency field, and work area, settings
    // text and table hidden. Without one the code named no station type, the
    // current type stays and nothing is hidden.
    virtual void stationSelected(std::optional<StationKind> kind) = 0;

    // The rows are decoded and the header row written: the table is shown.
    virtual void tableShown() = 0;

    // The module menu's check mark follows AppState::chosenModule (a code
    // outside the menu leaves it where it was).
    virtual void moduleMarked() = 0;

    // The station's reply cannot be taken. The read has already ended (port
    // purged and closed, status "AK", buttons enabled); show the message.
    virtual void refused(const Refusal &refusal) = 0;
};
