#pragma once

#include <QObject>

// Holds the user's input off the windows for one transfer. The transfer runs
// on the user-interface thread and lets the windows repaint while it waits
// for the line; clicks and keys that arrive meanwhile are dropped, never kept
// for afterwards, where they would press buttons the transfer had disabled.
// Input to a modal dialog the transfer opens itself (the port prompt, a
// message) passes. Made at the start of the transfer; its end drops what
// is still waiting, then lets input through again.
class TransferInputBlock : public QObject
{
    Q_OBJECT
public:
    explicit TransferInputBlock(bool &running);
    ~TransferInputBlock() override;

    // Whether the event is the user's input, which a transfer drops.
    static bool isUserInput(const QEvent &event);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool &m_running;
};
