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
    // `station` names the station in the notice of a stop ("на COM3").
    explicit ConsoleProgress(bool terminal, QString station = QString());
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
    // The notice of a stop, on a line of its own.
    void stopDeferred(bool writing, qint64 remainingMs);

private:
    void setStatus(const QString &text);
    void setValue(int value);
    void draw();

    bool m_terminal;
    SequenceStep m_step = SequenceStep::Write;
    QString m_station;
    QString m_status;
    int m_value = -1;
    bool m_barOpen = false;
};

// What the first stop request says at once of a transfer that runs on to
// its end: "Остановка: запись станции на COM3 будет закончена (ещё 12 с); ...".
QString stopNotice(const QString &station, bool writing, qint64 remainingMs);
