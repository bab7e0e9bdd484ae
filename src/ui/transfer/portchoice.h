#pragma once

#include <QObject>
#include <cstdint>

struct AppState;
class QRadioButton;

// The port the next transfer uses: one for the whole program, chosen in
// the transfer dialog or in the comparison window, or found by the "USB"
// search. Every window with a port choice shows it when it opens and
// whenever it changes, whichever window changed it.
class PortChoice : public QObject
{
    Q_OBJECT
public:
    explicit PortChoice(AppState &state, QObject *parent = nullptr);

    std::uint8_t port() const;
    // Chosen with " COM1" or " COM2".
    void choose(std::uint8_t port);
    // Found by the search (0: none answered). No connector button stands
    // for it, so both show unchecked.
    void found(std::uint8_t port);
    // A window with a port choice opens: while no port is chosen, the
    // options file chooses COM1 or COM2.
    void chooseFromOptionsFile(const QString &optionsFile);

    // Shows the choice on a window's " COM1" and " COM2".
    void show(QRadioButton &com1, QRadioButton &com2) const;

signals:
    void changed();

private:
    void set(std::uint8_t port, bool found);

    AppState &m_state;
    bool m_found = false;
};
