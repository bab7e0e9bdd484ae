#pragma once

#include "transfer/linksetup.h"

#include <QObject>
#include <cstdint>

class QRadioButton;
class UiServices;

// The port the next transfer uses: one for the whole program, chosen in the
// transfer dialog or in the comparison window, or found by the "USB"
// search. Every window with a port choice shows it when it opens and
// whenever it changes, whichever window changed it. Beside it, whether a
// transfer holds a line now: no window closes under it, and no other
// transfer starts.
class PortChoice : public QObject
{
    Q_OBJECT
public:
    explicit PortChoice(QObject *parent = nullptr);

    std::uint8_t port() const { return m_port; }
    // Chosen with " COM1" or " COM2" (0: none chosen).
    void choose(std::uint8_t port);
    // Found by the search (0: none answered). No connector button stands
    // for it, so both show unchecked.
    void found(std::uint8_t port);
    // A window with a port choice opens: while no port is chosen, the
    // options file chooses COM1 or COM2.
    void chooseFromOptionsFile(const QString &optionsFile);

    // Shows the choice on a window's " COM1" and " COM2".
    void show(QRadioButton &com1, QRadioButton &com2) const;
    // A window's COM1 and COM2 buttons choose the port and show every change
    // of it, from whichever window, for as long as `window` lives.
    void bind(QRadioButton &com1, QRadioButton &com2, QObject *window);

    bool transferRunning() const { return m_running; }
    void setTransferRunning(bool running) { m_running = running; }

signals:
    void changed();

private:
    void set(std::uint8_t port, bool found);

    std::uint8_t m_port = 0;
    bool m_found = false;
    bool m_running = false;
};

// The link of a window's next transfer: the program's port, or, while none
// is chosen, the one the port prompt gives for this transfer only, asked on
// the window's thread before anything starts. Throws PlatformError when the
// prompt is cancelled.
LinkSetup nextTransferLink(UiServices &ui, const PortChoice &ports, const QString &optionsFile,
                           const SerialLinkFactory &factory, const LinkTimings &timings);
