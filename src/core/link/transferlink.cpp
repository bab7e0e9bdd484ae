#include "link/transferlink.h"

#include "common/platformerror.h"
#include "link/linktexts.h"
#include "link/systemports.h"
#include "link/transferstop.h"

#include <QFileInfo>
#include <QHash>
#include <algorithm>

TransferLink::TransferLink(TransferObserver &observer, QString optionsFile, SerialLinkFactory factory)
    : m_observer(observer), m_optionsFile(std::move(optionsFile)), m_factory(std::move(factory))
{
}

SerialLink &TransferLink::port() const
{
    if (!m_port)
        throw PlatformError(SerialErrors::notOpen());
    return *m_port;
}

void TransferLink::checkAbort() const
{
    if (m_stop && m_stop->abortRequested())
        throw PlatformError(SerialErrors::aborted());
}

void TransferLink::CreatePort()
{
    m_port = m_factory();
    m_abandoned = false;
    m_stopNoticed = false;
}

void TransferLink::OpenPort(std::uint8_t portNumber)
{
    if (!m_port)
        CreatePort();
    m_port->close();
    // A device given by its path needs neither the map nor the prompt.
    QString device = m_device;
    if (device.isEmpty() && portNumber == 0) {
        // The choice holds for this transfer only; the port number stays 0.
        const auto chosen = m_observer.choosePort(openablePorts());
        if (!chosen)
            throw PlatformError(SerialErrors::noPortChosen());
        device = chosen->device;
    } else if (device.isEmpty()) {
        device = PortMap::fromOptionsFile(m_optionsFile).deviceFor(portNumber);
        if (device.isEmpty())
            throw PlatformError(SerialErrors::noDevice(PortMap::portName(portNumber)));
    }
    m_port->open(device);
}

void TransferLink::SendByte(std::uint8_t byte)
{
    checkAbort();
    port().sendByte(byte);
}

bool TransferLink::ByteReady()
{
    return port().byteReady();
}

std::uint8_t TransferLink::TakeByte()
{
    return port().takeByte();
}

void TransferLink::PurgeReceive()
{
    port().purgeReceive();
}

void TransferLink::PurgeSend()
{
    port().purgeSend();
}

bool TransferLink::IsOpen() const
{
    return m_port && m_port->isOpen();
}

void TransferLink::ClosePort()
{
    if (m_port)
        m_port->close();
}

std::optional<std::uint8_t> TransferLink::receiveByte(int counterStart)
{
    int counter = counterStart;
    for (;;) {
        checkAbort();
        if (ByteReady())
            return TakeByte();
        // The poll's pause waits on the port, so a byte that arrives is seen
        // by the next poll at once.
        port().waitForByte(1);
        m_observer.keepAlive();
        if (--counter < 0)
            return std::nullopt;
    }
}

bool TransferLink::WaitAck()
{
    m_acknowledged = receiveByte(m_timings.ackPolls).has_value();
    if (!m_acknowledged)
        abandon();
    return m_acknowledged;
}

bool TransferLink::waitForQuietLine()
{
    // Short slices keep the window painted while the line is watched.
    constexpr int sliceMs = 10;
    SerialLink &line = port();
    const qint64 start = line.clockMs();
    qint64 quietSince = start;
    for (;;) {
        checkAbort();
        if (ByteReady()) {
            PurgeReceive();
            quietSince = line.clockMs();
        }
        const qint64 now = line.clockMs();
        const qint64 quietFor = now - quietSince;
        m_lineStayedBusy = quietFor < m_timings.quietLineMs;
        if (!m_lineStayedBusy)
            return true;
        if (now - start >= m_timings.quietLineBoundMs)
            return false;
        line.waitForByte(int(std::min<qint64>(sliceMs, m_timings.quietLineMs - quietFor)));
        m_observer.keepAlive();
    }
}

void TransferLink::noticeStop(qint64 startMs, qsizetype done, qsizetype total, bool writing)
{
    if (m_stopNoticed || !m_stop || !m_stop->stopRequested() || done <= 0)
        return;
    m_stopNoticed = true;
    const qint64 spent = std::max<qint64>(clockMs() - startMs, 0);
    m_observer.stopDeferred(writing, spent * std::max<qint64>(total - done, 0) / done);
}

void TransferLink::abandon()
{
    m_abandoned = true;
    m_observer.setStatus(LinkTexts::noAnswer());
    m_observer.setTransferButtonsEnabled(true);
    if (IsOpen())
        ClosePort();
}

void TransferLink::pause(int ms)
{
    // On the line's clock, in short slices that keep the window painted.
    constexpr qint64 sliceMs = 5;
    SerialLink &line = port();
    const qint64 end = line.clockMs() + ms;
    for (qint64 left = ms; left > 0; left = end - line.clockMs()) {
        line.idle(int(std::min(left, sliceMs)));
        m_observer.keepAlive();
    }
    checkAbort();
}

QList<PortEntry> TransferLink::openablePorts(const QString &optionsFile)
{
    // The system's list and the devices the options file names that exist,
    // not a trial opening: opening raises DTR and RTS, which resets some
    // devices, and may wait on a slow driver.
    QHash<QString, SystemPort> present; // by device key
    for (const SystemPort &port : SystemPorts::list())
        present.insert(SystemPorts::deviceKey(port.device), port);
    const PortMap map = PortMap::fromOptionsFile(optionsFile);
    QList<PortEntry> ports;
    for (int n = 1; n <= LastPromptPort; ++n) {
        PortEntry entry = map.entry(n);
        if (entry.device.isEmpty())
            continue;
        const auto listed = present.constFind(SystemPorts::deviceKey(entry.device));
        if (listed != present.constEnd()) {
            entry.description = listed->description;
            entry.adapter = listed->adapter;
            ports.append(entry);
        } else if (map.isNamed(n) && QFileInfo::exists(entry.device)) {
            ports.append(entry);
        }
    }
    return ports;
}
