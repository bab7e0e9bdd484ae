#pragma once

#include <QObject>

class PortChoice;

// Holds the user's input off the windows while a transfer holds the line.
// The transfer runs on its own thread and the windows go on painting; clicks
// and keys that arrive meanwhile are dropped, never kept for afterwards,
// where they would press buttons the transfer had disabled. Input to a
// modal dialog (a message) passes. Made when the transfer starts, it marks
// the line held; gone when it has ended, it lets input through again.
class TransferInputBlock : public QObject
{
    Q_OBJECT
public:
    explicit TransferInputBlock(PortChoice &ports);
    ~TransferInputBlock() override;

    // Whether the event is the user's input, which a transfer drops.
    static bool isUserInput(const QEvent &event);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    PortChoice &m_ports;
};
