#include "link/stationwriter.h"

#include "common/numbers.h"
#include "common/platformerror.h"
#include "link/linktexts.h"
#include "link/seriallink.h"
#include "link/transferlink.h"
#include "state/appstate.h"

#include <algorithm>

namespace {

using Kind = WriteOutcome::Kind;

// The bytes of the write order that precede each progress step.
constexpr int kHeaderBytes = StationLayout::WriteHeaderBytes;
constexpr int kHeaderAndToneBytes = StationLayout::WriteHeaderAndToneBytes;

// One write, from the disabling of the buttons on.
class WriteSession
{
public:
    WriteSession(const AppState &state, TransferLink &link) : m_state(state), m_link(link), m_view(link.observer()) {}

    WriteOutcome run();
    qsizetype sent() const { return m_sent; }

private:
    // Sends bytes [from, to), each followed by the wait for its answer. Only
    // the start byte's answer decides anything; after it the write goes on to
    // its next port operation whatever the wait found, and finds the port
    // closed when a wait ran out. False then, with nothing sent.
    bool sendAcknowledged(const QByteArray &bytes, qsizetype from, qsizetype to);
    bool sendAcknowledged(std::uint8_t byte);
    WriteOutcome brokenOff() const;

    const AppState &m_state;
    TransferLink &m_link;
    TransferObserver &m_view;
    qsizetype m_sent = 0;
    qsizetype m_total = 0; // the start byte and the write order
    qint64 m_startMs = 0;  // the start byte's time on the line's clock
};

bool WriteSession::sendAcknowledged(std::uint8_t byte)
{
    if (!m_link.IsOpen())
        return false;
    m_link.SendByte(byte);
    ++m_sent;
    m_link.WaitAck();
    m_link.noticeStop(m_startMs, m_sent, m_total, true);
    return true;
}

bool WriteSession::sendAcknowledged(const QByteArray &bytes, qsizetype from, qsizetype to)
{
    for (qsizetype i = from; i < to; ++i) {
        if (!sendAcknowledged(static_cast<std::uint8_t>(bytes.at(i))))
            return false;
    }
    return true;
}

WriteOutcome WriteSession::brokenOff() const
{
    return {Kind::BrokenOff, m_sent, std::nullopt, SerialErrors::notOpen()};
}

WriteOutcome WriteSession::run()
{
    m_view.setTransferButtonsEnabled(false);
    m_view.setStatus(LinkTexts::writing());
    m_view.setProgress(0);

    // The station may still be sending the reply of a read that was cut off.
    if (!m_link.waitForQuietLine()) {
        m_link.abandon();
        return {Kind::NotStarted, 0, std::nullopt, QString()};
    }
    const RadioImage &image = m_state.image;
    m_total = 1 + image.writeOrder(m_state.moduleCode, m_state.bandCode).size();
    m_startMs = m_link.clockMs();
    m_link.SendByte(StationWriter::StartByte);
    m_sent = 1;
    if (!m_link.WaitAck()) {
        m_view.setStatus(LinkTexts::idle());
        m_view.setTransferButtonsEnabled(true);
        return {Kind::NotStarted, m_sent, std::nullopt, QString()};
    }

    const QByteArray prefix = image.writePrefix(m_state.moduleCode, m_state.bandCode);
    if (!sendAcknowledged(prefix, 0, kHeaderBytes))
        return brokenOff();
    m_view.setProgress(33);
    if (!sendAcknowledged(prefix, kHeaderBytes, kHeaderAndToneBytes))
        return brokenOff();
    m_view.setProgress(66);
    if (!sendAcknowledged(prefix, kHeaderAndToneBytes, prefix.size()))
        return brokenOff();

    m_view.setProgress(100);
    m_link.pause(m_link.timings().settingsPauseMs);
    m_view.setProgress(0);

    const int n = std::min(image.channelCount(), RadioImage::MaxChannels);
    const double step = n > 0 ? 100.0 / n : 0.0;
    for (int j = 1; j <= n; ++j) {
        const RadioImage::Record &record = image.records[static_cast<std::size_t>(j - 1)];
        for (std::uint8_t byte : record) {
            if (!sendAcknowledged(byte))
                return brokenOff();
        }
        m_view.setProgress(StationWriter::recordProgress(j, step));
    }

    m_view.setProgress(100);
    if (!m_link.IsOpen())
        return brokenOff();
    m_link.PurgeReceive();
    m_link.PurgeSend();
    m_link.ClosePort();
    m_view.setStatus(LinkTexts::idle());
    m_view.setTransferButtonsEnabled(true);
    return {Kind::Completed, m_sent, std::nullopt, QString()};
}

} // namespace

int StationWriter::recordProgress(int j, double step)
{
    return static_cast<int>(Numbers::roundHalfEven(j * step));
}

WriteOutcome StationWriter::write(const AppState &state, TransferLink &link)
{
    if (!state.dataValid)
        return {Kind::NotChecked, 0, Refusal{LinkTexts::dataNotChecked()}, QString()};

    WriteSession session(state, link);
    try {
        link.CreatePort();
        link.OpenPort(state.portNumber);
        return link.guardTransfer([&] { return session.run(); });
    } catch (const PlatformError &error) {
        return {Kind::PortFailure, session.sent(), std::nullopt, error.text()};
    }
}
