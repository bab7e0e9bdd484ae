#include "transfer/portchoice.h"

#include "link/options.h"
#include "state/appstate.h"

#include <QRadioButton>

PortChoice::PortChoice(AppState &state, QObject *parent) : QObject(parent), m_state(state) {}

std::uint8_t PortChoice::port() const
{
    return m_state.portNumber;
}

void PortChoice::choose(std::uint8_t port)
{
    set(port, false);
}

void PortChoice::found(std::uint8_t port)
{
    set(port, true);
}

void PortChoice::chooseFromOptionsFile(const QString &optionsFile)
{
    std::uint8_t port = m_state.portNumber;
    if (LinkOptions::choosePortOnDialogOpen(port, optionsFile))
        choose(port);
}

void PortChoice::set(std::uint8_t port, bool found)
{
    if (port == m_state.portNumber && found == m_found)
        return;
    m_state.portNumber = port;
    m_found = found;
    emit changed();
}

void PortChoice::show(QRadioButton &com1, QRadioButton &com2) const
{
    const bool shown = !m_found && (port() == 1 || port() == 2);
    if (shown) {
        // Checking a button unchecks the other and runs its handler, which
        // chooses the port it already is.
        (port() == 1 ? com1 : com2).setChecked(true);
        return;
    }
    // Unchecking runs no handler; the buttons exclude each other only while
    // one of them is checked.
    for (QRadioButton *b : {&com1, &com2}) {
        b->setAutoExclusive(false);
        b->setChecked(false);
        b->setAutoExclusive(true);
    }
}
