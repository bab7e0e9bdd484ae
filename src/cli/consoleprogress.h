#pragma once

#include "link/transferobserver.h"

// What the transfer dialog would show, on standard error: the status and the
// gauge as a bar redrawn in place on a terminal, or as one line per new value
// ("ПР 33%") when standard error goes to a file or a pipe. The search's
// "Идет Поиск..." is a line of its own.
class ConsoleProgress final : public TransferObserver
{
public:
    // `station` names the station in the notice of a stop ("на COM3").
    explicit ConsoleProgress(bool terminal, QString station = QString());
    ~ConsoleProgress() override { finish(); }

    void setStatus(const QString &text) override;
    void setProgress(int value) override;
    void setButtonEnabled(TransferButton, bool) override {}
    void setSearchCaption(const QString &text) override;
    void clearPortButtons() override {}
    void keepAlive() override {}
    // The notice of a stop, on a line of its own.
    void stopDeferred(bool writing, qint64 remainingMs) override;
    // Every command names its port, so the prompt never comes; should it, it
    // is cancelled.
    std::optional<PortEntry> choosePort(const QList<PortEntry> &) override { return std::nullopt; }

    // Ends the bar's line.
    void finish();
    // Ends the bar's line and starts over for the next transfer.
    void restart();

private:
    void draw();

    bool m_terminal;
    QString m_station;
    QString m_status;
    int m_value = -1;
    bool m_barOpen = false;
};

// What the first stop request says at once of a transfer that runs on to
// its end: "Остановка: запись станции на COM3 будет закончена (ещё 12 с); ...".
QString stopNotice(const QString &station, bool writing, qint64 remainingMs);
