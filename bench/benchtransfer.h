#pragma once

// The benchmarks that run the core's writer and reader in their own
// process: an observer that shows nothing, and checked data to write.

#include "link/readobserver.h"
#include "link/transferobserver.h"
#include "state/appstate.h"

#include <optional>

class QuietObserver final : public TransferObserver, public ReadObserver
{
public:
    void setStatus(const QString &) override {}
    void setProgress(int) override {}
    void setButtonEnabled(TransferButton, bool) override {}
    void setSearchCaption(const QString &) override {}
    void clearPortButtons() override {}
    void keepAlive() override {}
    std::optional<PortEntry> choosePort(const QList<PortEntry> &) override { return std::nullopt; }
    void settingsChanged() override {}
    void stationSelected(std::optional<StationKind>) override {}
    void tableShown() override {}
    void moduleMarked() override {}
    void refused(const Refusal &) override {}
};

// Checked data of `channels` channels for COM2.
inline AppState checkedState(int channels)
{
    AppState state;
    state.dataValid = true;
    state.portNumber = 2;
    state.image.header = {0, 0, 0, 11, 8, static_cast<std::uint8_t>(channels), 200, 0, 0x45, 2, 200, 2};
    for (std::size_t i = 0; i < state.image.tones.size(); ++i)
        state.image.tones[i] = static_cast<std::uint8_t>(100 + i);
    for (std::size_t r = 0; r < RadioImage::MaxChannels; ++r)
        for (std::size_t b = 0; b < RadioImage::RecordSize; ++b)
            state.image.records[r][b] = static_cast<std::uint8_t>(r + b);
    return state;
}
