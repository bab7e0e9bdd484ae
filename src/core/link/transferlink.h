#pragma once

#include "common/paths.h"
#include "link/linktimings.h"
#include "link/portmap.h"
#include "link/seriallink.h"
#include "link/systemseriallink.h"
#include "link/transferobserver.h"

#include <QList>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

// The link port of the transfer dialog and the byte handshake built on it.
// A transfer runs CreatePort, OpenPort, its sends and receives, and ends with
// PurgeReceive, PurgeSend and ClosePort. Serial errors (PlatformError) are
// never caught here: they end the transfer and reach the window's error guard.
class TransferLink
{
public:
    static constexpr int LastPromptPort = 50; // the port prompt offers COM1 to COM50

    explicit TransferLink(TransferObserver &observer, QString optionsFile = Paths::optionsFile(),
                          SerialLinkFactory factory = systemSerialLinkFactory());

    // A port named by its device rather than by a port number, as the command
    // line allows: OpenPort then opens this device whatever the number.
    void setDevice(QString device) { m_device = std::move(device); }
    // The waits of every transfer on this link; the line's own by default.
    void setTimings(const LinkTimings &timings) { m_timings = timings; }
    const LinkTimings &timings() const { return m_timings; }
    // Asked at every poll of the line: true ends the transfer there, as if
    // the port had gone away (see TransferStop).
    void setStop(const class TransferStop *stop) { m_stop = stop; }

    // A new port, closed, replacing the previous one.
    void CreatePort();
    // Opens the port named by the port number; 0 asks the user through the
    // port prompt for this transfer only. Throws PlatformError when the port
    // cannot be opened or the prompt is cancelled.
    void OpenPort(std::uint8_t portNumber);
    void SendByte(std::uint8_t byte);
    bool ByteReady();
    std::uint8_t TakeByte();
    void PurgeReceive();
    void PurgeSend();
    bool IsOpen() const;
    void ClosePort();

    // Waits for the station's one-byte answer: at most ackPolls empty polls,
    // giving up at the next one. The answer is taken whatever its value. On
    // failure the transfer is abandoned (see abandon()).
    bool WaitAck();
    bool acknowledged() const { return m_acknowledged; }

    // The poll loop of every wait: takes the next byte, allowing `counterStart`
    // empty polls (each waits on the port for up to 1 ms) and giving up at the
    // one after. Does not abandon the transfer by itself.
    std::optional<std::uint8_t> receiveByte(int counterStart);
    // Drops whatever the station sends until the line has been quiet for
    // quietLineMs, so that a station still sending the rest of an
    // interrupted reply is not taken to answer the next request. False
    // when the line did not fall quiet within quietLineBoundMs. Sends nothing.
    bool waitForQuietLine();
    // The last waitForQuietLine() gave up: the line was busy, not silent.
    bool lineStayedBusy() const { return m_lineStayedBusy; }
    // A wait ran out: "AK", the three buttons enabled, the port closed.
    void abandon();

    // Milliseconds on the line's clock (SerialLink::clockMs()).
    qint64 clockMs() const { return port().clockMs(); }
    // When a stop has been asked, tells the observer once how long the
    // running transfer still takes: `done` of its `total` bytes went through
    // since `startMs` on the line's clock, and the rest go at that pace.
    void noticeStop(qint64 startMs, qsizetype done, qsizetype total, bool writing);

    // Runs the part of a transfer that follows the disabling of the buttons.
    // An error that ends it there (the port went away: the send or the
    // purge fails) first leaves the dialog as a failed wait leaves it, "AK",
    // the buttons enabled and the port closed, unless a wait already did;
    // then it goes on to the window's error handler. Without this the
    // dialog would keep "ПР" and no button to leave it by.
    template <typename Body>
    decltype(auto) guardTransfer(Body &&body)
    {
        try {
            return body();
        } catch (...) {
            if (!m_abandoned)
                abandon();
            throw;
        }
    }
    // Sleeps, keeping the window painted.
    void pause(int ms);

    // The ports among COM1 to COM50 whose device the system lists as a
    // serial port, or which the options file maps to a device that exists;
    // none is opened to find out, so a port in use is offered as well.
    QList<PortEntry> openablePorts() const { return openablePorts(m_optionsFile); }
    static QList<PortEntry> openablePorts(const QString &optionsFile);

    TransferObserver &observer() const { return m_observer; }

private:
    SerialLink &port() const;
    // Throws when the transfer was told to end at once.
    void checkAbort() const;

    TransferObserver &m_observer;
    QString m_optionsFile;
    QString m_device;
    SerialLinkFactory m_factory;
    std::unique_ptr<SerialLink> m_port;
    LinkTimings m_timings;
    const TransferStop *m_stop = nullptr;
    bool m_acknowledged = false;
    bool m_abandoned = false; // by the running transfer
    bool m_lineStayedBusy = false;
    bool m_stopNoticed = false; // by the running transfer
};
