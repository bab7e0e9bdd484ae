#include "transfer/portchoice.h"

#include "common/platformerror.h"
#include "link/options.h"
#include "services/uiservices.h"

#include <QRadioButton>

PortChoice::PortChoice(QObject *parent) : QObject(parent) {}

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
    std::uint8_t port = m_port;
    if (LinkOptions::choosePortOnDialogOpen(port, optionsFile))
        choose(port);
}

void PortChoice::set(std::uint8_t port, bool found)
{
    if (port == m_port && found == m_found)
        return;
    m_port = port;
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

LinkSetup nextTransferLink(UiServices &ui, const PortChoice &ports, const QString &optionsFile,
                           const SerialLinkFactory &factory, const LinkTimings &timings)
{
    LinkSetup link;
    link.optionsFile = optionsFile;
    link.factory = factory;
    link.timings = timings;
    link.portNumber = ports.port();
    if (link.portNumber == 0) {
        // The choice holds for this transfer only; the port stays unchosen.
        const auto chosen = ui.choosePort(LinkSetup::openablePorts(optionsFile));
        if (!chosen)
            throw PlatformError(SerialErrors::noPortChosen());
        link.device = chosen->device;
    }
    return link;
}

void PortChoice::bind(QRadioButton &com1, QRadioButton &com2, QObject *window)
{
    connect(&com1, &QRadioButton::toggled, window, [this](bool on) {
        if (on)
            choose(1);
    });
    connect(&com2, &QRadioButton::toggled, window, [this](bool on) {
        if (on)
            choose(2);
    });
    connect(this, &PortChoice::changed, window, [this, &com1, &com2] { show(com1, com2); });
}
