#pragma once

#include "transfer/transferevents.h"

#include <QString>

struct SequenceOutcome;

// What the transfer dialog would show of a command's transfers, on standard
// error: the status and the gauge as a bar redrawn in place on a terminal,
// or as one line per new value ("ПР 33%") when standard error goes to a
// file or a pipe.
class ConsoleProgress final
{
public:
    explicit ConsoleProgress(bool terminal);
    ~ConsoleProgress() { finish(); }
    ConsoleProgress(const ConsoleProgress &) = delete;
    ConsoleProgress &operator=(const ConsoleProgress &) = delete;

    // A step begins: its bar on a line of its own.
    void stepStarted(SequenceStep step);
    void progress(const TransferProgress &progress);
    // The transfer has ended: the gauge and the status as the dialog leaves them.
    void ended(const SequenceOutcome &outcome);
    // Ends the bar's line.
    void finish();

private:
    void setStatus(const QString &text);
    void setValue(int value);
    void draw();

    bool m_terminal;
    SequenceStep m_step = SequenceStep::Write;
    QString m_status;
    int m_value = -1;
    bool m_barOpen = false;
};
