#include "transfer/stationread.h"

#include "link/readobserver.h"
#include "image/radioimage.h"
#include "link/transferlink.h"
#include "state/appstate.h"
#include "transfer/linksetup.h"

#include <QLocale>
#include <memory>

namespace {

// The serial port of the setup, keeping a copy of every byte the transfer
// takes from the line, so that a read's reply can be compared byte for byte.
class RecordingSerialLink final : public SerialLink
{
public:
    RecordingSerialLink(std::shared_ptr<QByteArray> taken, std::unique_ptr<SerialLink> link)
        : m_taken(std::move(taken)), m_link(std::move(link))
    {
    }

    static SerialLinkFactory factory(const std::shared_ptr<QByteArray> &taken, SerialLinkFactory inner)
    {
        return [taken, inner] { return std::make_unique<RecordingSerialLink>(taken, inner()); };
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
    qint64 clockMs() const override { return m_link->clockMs(); }
    void idle(int ms) override { m_link->idle(ms); }

private:
    std::shared_ptr<QByteArray> m_taken;
    std::unique_ptr<SerialLink> m_link;
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

StationRead StationRead::run(AppState &state, const LinkSetup &setup, TransferObserver &progress)
{
    StationRead result;
    auto taken = std::make_shared<QByteArray>();
    TransferLink link = setup.link(progress, RecordingSerialLink::factory(taken, setup.factory));
    state.portNumber = setup.portNumber;
    QuietReadView view;
    result.outcome = StationReader::read(state, link, view);
    result.refusal = view.refusal();
    result.reply = *taken;
    result.lineBusy = link.lineStayedBusy();
    return result;
}

std::optional<QString> StationRead::stoppedReply() const
{
    if (outcome != StationReader::Outcome::NoAnswer || reply.isEmpty())
        return std::nullopt;
    const QString stopped = QStringLiteral("станция перестала отвечать на байте %1 из %2").arg(reply.size() + 1);
    // Before its channel count the reply's length is known only at its least.
    if (reply.size() <= RadioImage::ChannelCount)
        return stopped.arg(QStringLiteral("%1 или более").arg(RadioImage::ReadPrefixSize));
    const int channels = static_cast<std::uint8_t>(reply.at(RadioImage::ChannelCount));
    return stopped.arg(RadioImage::ReadPrefixSize + channels * RadioImage::RecordSize);
}

QString busyLineText(int boundMs)
{
    return QStringLiteral(": линия занята - по ней %1 с без перерыва шли данные, в станцию ничего не отправлено")
        .arg(QLocale(QLocale::Russian).toString(boundMs / 1000.0));
}
