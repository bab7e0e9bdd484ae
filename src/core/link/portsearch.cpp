#include "link/portsearch.h"

#include "common/platformerror.h"
#include "link/linktexts.h"
#include "link/portmap.h"
#include "link/systemports.h"

#include <QDeadlineTimer>
#include <algorithm>

namespace {
constexpr qint64 kSliceMs = 5;
}

PortSearch::PortSearch(TransferObserver &observer, QString optionsFile, SerialLinkFactory factory,
                       PortSearchTimings timings)
    : m_observer(observer), m_optionsFile(std::move(optionsFile)), m_factory(std::move(factory)), m_timings(timings)
{
}

void PortSearch::run(std::uint8_t &portNumber)
{
    m_observer.clearPortButtons();
    portNumber = 0;
    m_found = PortEntry();
    m_observer.setSearchCaption(LinkTexts::searching());

    const PortMap map = PortMap::fromOptionsFile(m_optionsFile);
    for (const int n : SystemPorts::searchNumbers()) {
        const QString device = map.deviceFor(n);
        if (!device.isEmpty() && probe(device)) {
            portNumber = static_cast<std::uint8_t>(n);
            m_found = PortEntry{PortMap::portName(n), device, SystemPorts::systemName(device)};
            break;
        }
    }
    m_observer.setSearchCaption(portNumber != 0 ? LinkTexts::searchFound() : LinkTexts::searchNotFound());
}

bool PortSearch::probe(const QString &device)
{
    const auto port = m_factory();
    try {
        port->open(device);
    } catch (const PlatformError &) {
        return false; // absent or in use: next port at once
    }

    bool answered = false;
    try {
        pauseKeepingAlive(m_observer, m_timings.settleMs);
        port->sendByte(ProbeByte);
        pauseKeepingAlive(m_observer, m_timings.answerDelayMs);
        if (waitForAnswer(*port, m_timings.readTimeoutMs)) {
            port->takeByte();
            answered = true;
        }
        port->sendByte(ClosingByte);
    } catch (const PlatformError &) {
        // A port that fails a write or a read has simply not answered.
    }
    port->close();
    return answered;
}

bool PortSearch::waitForAnswer(SerialLink &port, int ms)
{
    const QDeadlineTimer deadline(ms, Qt::PreciseTimer);
    for (;;) {
        if (port.byteReady())
            return true;
        if (deadline.hasExpired())
            return false;
        const qint64 left = deadline.remainingTime();
        port.waitForByte(static_cast<int>(std::clamp<qint64>(left, 1, kSliceMs)));
        m_observer.keepAlive();
    }
}
