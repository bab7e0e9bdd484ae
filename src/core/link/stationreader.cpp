#include "link/stationreader.h"

#include "common/numbers.h"
#include "image/imagedecoder.h"
#include "link/linktexts.h"
#include "link/readobserver.h"
#include "link/transferlink.h"
#include "state/appstate.h"

#include <algorithm>
#include <array>
#include <optional>

namespace {

constexpr int kToneCount = 10;
constexpr int kFullGauge = 100;

using Outcome = StationReader::Outcome;

// A decoding step that changes the table, told to the view before and after.
class TableChange
{
public:
    explicit TableChange(ReadObserver &view) : m_view(view) { m_view.tableChanging(); }
    ~TableChange() { m_view.tableChanged(); }
    TableChange(const TableChange &) = delete;
    TableChange &operator=(const TableChange &) = delete;

private:
    ReadObserver &m_view;
};

// One read, from the request to the ending. The dialog's status, gauge and
// buttons go to the link's observer, the rebuilt data to the read observer.
class ReadSession
{
public:
    ReadSession(AppState &state, TransferLink &link, ReadObserver &view)
        : m_state(state), m_link(link), m_dialog(link.observer()), m_view(view), m_decoder(state)
    {
    }

    Outcome run();

private:
    // Everything after the port is open.
    Outcome exchange();
    // The next `N` bytes, each allowed `polls` empty polls; nothing when a gap
    // ran out. A block cut short keeps none of its bytes.
    template <std::size_t N>
    std::optional<std::array<std::uint8_t, N>> receive(int polls)
    {
        std::array<std::uint8_t, N> block{};
        for (std::uint8_t &byte : block) {
            const auto received = receiveByte(polls);
            if (!received)
                return std::nullopt;
            byte = *received;
        }
        return block;
    }
    // The next byte of the reply, counted.
    std::optional<std::uint8_t> receiveByte(int polls)
    {
        const auto received = m_link.receiveByte(polls);
        if (received)
            m_link.noticeStop(m_requestMs, ++m_received, m_expected, false);
        return received;
    }

    int headerPolls() const { return m_link.timings().headerPolls; }
    bool receiveSettings();
    bool receiveRecords();
    Outcome timedOut();
    Outcome refused(const Refusal &refusal);
    void purgeAndClose();
    Outcome complete();

    AppState &m_state;
    TransferLink &m_link;
    TransferObserver &m_dialog;
    ReadObserver &m_view;
    ImageDecoder m_decoder;
    MaybeRefusal m_refusal;
    qint64 m_requestMs = 0;                            // the request's time on the line's clock
    qsizetype m_received = 0;                          // bytes of the reply so far
    qsizetype m_expected = RadioImage::ReadPrefixSize; // by its channel count, once known
};

Outcome ReadSession::run()
{
    m_dialog.setStatus(LinkTexts::reading());
    m_link.CreatePort();
    m_link.OpenPort(m_state.portNumber);
    return m_link.guardTransfer([this] { return exchange(); });
}

Outcome ReadSession::exchange()
{
    m_link.PurgeReceive();
    m_link.PurgeSend();
    // A station still sending the reply of an interrupted read would have its
    // tail taken for the start of this one.
    if (!m_link.waitForQuietLine())
        return timedOut();
    // The station answers the request with its whole memory; nothing of the
    // reply is acknowledged.
    m_requestMs = m_link.clockMs();
    m_link.SendByte(StationReader::RequestByte);
    // The reply overwrites the radio image in place: until it is complete the
    // image mixes old and new bytes, which must not pass for checked data.
    m_state.dataValid = false;

    m_dialog.setProgress(kFullGauge);
    m_dialog.setTransferButtonsEnabled(false);
    m_decoder.start();
    m_view.settingsChanged();

    if (!receiveSettings())
        return m_refusal ? refused(*m_refusal) : timedOut();
    if (!receiveRecords())
        return timedOut();
    return complete();
}

bool ReadSession::receiveSettings()
{
    const auto block1 = receive<ImageDecoder::Block1Size>(headerPolls());
    if (!block1)
        return false;
    m_refusal = m_decoder.afterBlock1(*block1);
    if (m_refusal)
        return false;
    m_expected += qsizetype(m_decoder.recordCount()) * RadioImage::RecordSize;
    m_view.settingsChanged();

    for (int n = 1; n <= kToneCount; ++n) {
        const auto tone = receiveByte(headerPolls());
        if (!tone)
            return false;
        m_decoder.afterToneByte(n, *tone);
        m_view.settingsChanged();
    }

    const auto block3 = receive<ImageDecoder::Block3Size>(headerPolls());
    if (!block3)
        return false;
    m_decoder.afterBlock3(*block3);

    const auto block4 = receive<ImageDecoder::Block4Size>(headerPolls());
    if (!block4)
        return false;
    std::optional<StationKind> selected;
    {
        const TableChange change(m_view);
        selected = m_decoder.afterBlock4(*block4);
    }
    m_view.settingsChanged();
    m_view.stationSelected(selected);
    return true;
}

bool ReadSession::receiveRecords()
{
    // The decoder's count never exceeds the records the image holds.
    const int count = m_decoder.recordCount();
    const int step = count > 0 ? StationReader::progressStep(count) : 0;
    int progress = kFullGauge;
    for (int i = 0; i < count; ++i) {
        const auto record = receive<RadioImage::RecordSize>(m_link.timings().recordPolls);
        if (!record)
            return false;
        m_decoder.afterRecord(i, *record);
        progress = StationReader::lowered(progress, step);
        m_dialog.setProgress(progress);
    }
    {
        const TableChange change(m_view);
        m_decoder.afterLastRecord();
    }
    m_view.settingsChanged();
    return true;
}

Outcome ReadSession::timedOut()
{
    m_link.abandon();
    return Outcome::NoAnswer;
}

Outcome ReadSession::refused(const Refusal &refusal)
{
    // The rest of the reply is still coming: drop it with the port. The
    // status says the read did not complete, as after a time-out, and the
    // message comes last so that no modal box holds the port open.
    purgeAndClose();
    m_dialog.setStatus(LinkTexts::noAnswer());
    m_dialog.setTransferButtonsEnabled(true);
    m_view.refused(refusal);
    return Outcome::Refused;
}

void ReadSession::purgeAndClose()
{
    // Whatever the station sent beyond the reply goes here.
    m_link.PurgeReceive();
    m_link.PurgeSend();
    if (m_link.IsOpen())
        m_link.ClosePort();
}

Outcome ReadSession::complete()
{
    purgeAndClose();
    m_dialog.setProgress(0);
    m_dialog.setStatus(LinkTexts::idle());
    m_dialog.setButtonEnabled(TransferButton::Write, true);
    m_dialog.setButtonEnabled(TransferButton::Read, true);

    {
        const TableChange change(m_view);
        m_decoder.finish();
    }
    m_view.tableShown();
    m_dialog.setButtonEnabled(TransferButton::Exit, true);
    m_dialog.setButtonEnabled(TransferButton::Write, true);
    m_view.moduleMarked();
    return Outcome::Complete;
}

} // namespace

StationReader::Outcome StationReader::read(AppState &state, TransferLink &link, ReadObserver &view)
{
    struct Ending
    {
        ReadObserver &view;
        ~Ending() { view.readEnded(); }
    };
    view.readStarting();
    const Ending ending{view};
    // A complete read leaves the flag as it was; exchange() clears it once
    // the request is out.
    const bool checked = state.dataValid;
    const Outcome outcome = ReadSession(state, link, view).run();
    if (outcome == Outcome::Complete)
        state.dataValid = checked;
    return outcome;
}

int StationReader::progressStep(int records)
{
    if (records <= 0)
        return 0;
    return static_cast<std::uint8_t>(Numbers::roundHalfEven(double(kFullGauge) / records));
}

int StationReader::lowered(int progress, int step)
{
    return std::max(progress - step, 0);
}
