#include "stationread.h"

#include "portargument.h"
#include "link/systemseriallink.h"
#include "link/readobserver.h"
#include "link/transferlink.h"
#include "state/appstate.h"

#include <memory>

namespace {

// The serial port of the program, keeping a copy of every byte the transfer
// takes from the line, so that a read's reply can be compared byte for byte.
class RecordingSerialLink final : public SerialLink
{
public:
    explicit RecordingSerialLink(std::shared_ptr<QByteArray> taken) : m_taken(std::move(taken)) {}

    static SerialLinkFactory factory(const std::shared_ptr<QByteArray> &taken)
    {
        return [taken] { return std::make_unique<RecordingSerialLink>(taken); };
    }

    void open(const QString &device) override { m_link->open(device); }
    bool isOpen() const override { return m_link->isOpen(); }
    void close() override { m_link->close(); }
    void sendByte(std::uint8_t byte) override { m_link->sendByte(byte); }
    bool byteReady() override { return m_link->byteReady(); }
    std::uint8_t takeByte() override
    {
        const std::uint8_t byte = m_link->takeByte();
        m_taken->append(static_cast<char>(byte));
        return byte;
    }
    bool waitForByte(int ms) override { return m_link->waitForByte(ms); }
    void purgeReceive() override { m_link->purgeReceive(); }
    void purgeSend() override { m_link->purgeSend(); }

private:
    std::shared_ptr<QByteArray> m_taken;
    std::unique_ptr<SerialLink> m_link = makeSystemSerialLink();
};

// Nothing to show while the reply arrives; a refusal of the reply is kept
// for the command to report.
class QuietReadView final : public ReadObserver
{
public:
    void settingsChanged() override {}
    void stationSelected(std::optional<StationKind>) override {}
    void tableShown() override {}
    void moduleMarked() override {}
    void refused(const Refusal &refusal) override { m_refusal = refusal; }

    const MaybeRefusal &refusal() const { return m_refusal; }

private:
    MaybeRefusal m_refusal;
};

} // namespace

StationRead StationRead::run(AppState &state, const PortArgument &port, TransferObserver &progress,
                             const QString &optionsFile)
{
    StationRead result;
    auto taken = std::make_shared<QByteArray>();
    TransferLink link(progress, optionsFile, RecordingSerialLink::factory(taken));
    state.portNumber = port.applyTo(link);
    QuietReadView view;
    result.outcome = StationReader::read(state, link, view);
    result.refusal = view.refusal();
    result.reply = *taken;
    return result;
}
