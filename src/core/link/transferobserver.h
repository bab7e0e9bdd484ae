#pragma once

#include "link/portmap.h"

#include <QList>
#include <QString>
#include <optional>

// The buttons a transfer disables while it runs.
enum class TransferButton { Exit, Write, Read }; // BitBtn1, BitBtn2, BitBtn3

// What the transfer dialog shows of a running transfer or port search. The
// core calls it on the thread that runs the transfer.
class TransferObserver
{
public:
    virtual ~TransferObserver() = default;

    virtual void setStatus(const QString &text) = 0;
    // 0..100; the gauge must show a new value at once.
    virtual void setProgress(int value) = 0;
    virtual void setButtonEnabled(TransferButton button, bool enabled) = 0;
    // Caption of the search button.
    virtual void setSearchCaption(const QString &text) = 0;
    // Unchecks both port radio buttons.
    virtual void clearPortButtons() = 0;

    // Called over and over while a transfer waits for the line: the window
    // may repaint here but must not take user input.
    virtual void keepAlive() = 0;

    // A stop was asked while a transfer runs that is let run to its end (a
    // write cut off would leave the station half written, and a read is
    // kept whole): about `remainingMs` of it are left. Told once, at once.
    virtual void stopDeferred(bool writing, qint64 remainingMs)
    {
        (void)writing;
        (void)remainingMs;
    }

    // The port prompt: the ports that can be opened now, in order. Returns the
    // chosen one ("OK"), or nothing ("Cancel").
    virtual std::optional<PortEntry> choosePort(const QList<PortEntry> &openable) = 0;

    // Exit, write and read buttons together, in this order.
    void setTransferButtonsEnabled(bool enabled)
    {
        setButtonEnabled(TransferButton::Exit, enabled);
        setButtonEnabled(TransferButton::Write, enabled);
        setButtonEnabled(TransferButton::Read, enabled);
    }
};

// Sleeps the calling thread for `ms` milliseconds in short slices, letting the
// window repaint between them.
void pauseKeepingAlive(TransferObserver &observer, int ms);
