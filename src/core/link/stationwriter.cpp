#include "link/stationwriter.h"

#include "common/numbers.h"
#include "link/linktexts.h"
#include "link/transferlink.h"
#include "state/appstate.h"

#include <algorithm>

namespace {

constexpr int kPauseAfterSettingsMs = 200;

// The bytes of the write order that precede each progress step.
constexpr int kHeaderBytes = 5;       // header 3..7
constexpr int kToneBytes = 10;

void sendAcknowledged(TransferLink &link, const QByteArray &bytes, qsizetype from, qsizetype to)
{
    // Only the start byte's answer decides anything; after it the write goes
    // on to its next port operation whatever the wait found.
    for (qsizetype i = from; i < to; ++i) {
        link.SendByte(static_cast<std::uint8_t>(bytes.at(i)));
        link.WaitAck();
    }
}

} // namespace

int StationWriter::recordProgress(int j, double step)
{
    return static_cast<int>(Numbers::roundHalfEven(j * step));
}

MaybeRefusal StationWriter::write(const AppState &state, TransferLink &link)
{
    if (!state.dataValid)
        return Refusal{LinkTexts::dataNotChecked()};

    link.CreatePort();
    link.OpenPort(state.portNumber);
    link.guardTransfer([&] { send(state, link); });
    return std::nullopt;
}

void StationWriter::send(const AppState &state, TransferLink &link)
{
    TransferObserver &view = link.observer();
    view.setTransferButtonsEnabled(false);
    view.setStatus(LinkTexts::writing());
    view.setProgress(0);

    // The station may still be sending the reply of a read that was cut off.
    if (!link.waitForQuietLine()) {
        link.abandon();
        return;
    }
    link.SendByte(StartByte);
    if (!link.WaitAck()) {
        view.setStatus(LinkTexts::idle());
        view.setTransferButtonsEnabled(true);
        return;
    }

    const RadioImage &image = state.image;
    const QByteArray prefix = image.writePrefix(state.moduleCode, state.bandCode);
    sendAcknowledged(link, prefix, 0, kHeaderBytes);
    view.setProgress(33);
    sendAcknowledged(link, prefix, kHeaderBytes, kHeaderBytes + kToneBytes);
    view.setProgress(66);
    sendAcknowledged(link, prefix, kHeaderBytes + kToneBytes, prefix.size());

    view.setProgress(100);
    link.pause(kPauseAfterSettingsMs);
    view.setProgress(0);

    const int n = std::min(image.channelCount(), RadioImage::MaxChannels);
    const double step = n > 0 ? 100.0 / n : 0.0;
    for (int j = 1; j <= n; ++j) {
        const RadioImage::Record &record = image.records[static_cast<std::size_t>(j - 1)];
        for (std::uint8_t byte : record) {
            link.SendByte(byte);
            link.WaitAck();
        }
        view.setProgress(recordProgress(j, step));
    }

    view.setProgress(100);
    link.PurgeReceive();
    link.PurgeSend();
    if (link.IsOpen())
        link.ClosePort();
    view.setStatus(LinkTexts::idle());
    view.setTransferButtonsEnabled(true);
}
