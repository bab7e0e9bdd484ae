// A write and a read through the line a technician's USB serial adapter
// makes: the station's bytes handed on in bursts when the adapter's latency
// timer runs out, late answers, the stray bytes of a station powering up, a
// byte lost on the way. Each transfer either completes, only slower, or ends
// as the station's silence ends it, never half-way in another state.
// On the line in memory, whose time is counted, not slept.

#include "image/stationdata.h"
#include "image/stationreply.h"
#include "link/stationlink.h"
#include "link/stationreader.h"
#include "link/stationwriter.h"
#include "support/linkfixtures.h"
#include "support/replyfixtures.h"

#include <QTest>

using namespace LinkFixtures;

namespace {

// A station with the reply of two channels, echoing every byte of a write.
const QByteArray kReply = ReplyFixtures::Reply{}.bytes();
QByteArray station(std::uint8_t byte)
{
    return byte == StationReply::RequestByte ? kReply : QByteArray(1, static_cast<char>(byte));
}

// Checked data of two channels.
StationData checkedData()
{
    StationData data;
    data.image.at(StationLayout::Name::ChannelCount) = 2;
    for (std::size_t r = 0; r < RadioImage::MaxChannels; ++r)
        data.image.records[r].fill(static_cast<std::uint8_t>(r + 7));
    return data;
}

// Every real line is paced like a 1200-baud one.
StationLineOptions paced(StationLineOptions options)
{
    options.lineTime = true;
    options.seed = 7;
    return options;
}

// How a transfer ended.
enum class Ending { Completed, NotStarted, NoAnswer, LineBusy, Refused };

// A write of two channels is 1 + 25 + 36 bytes.
constexpr int kWriteSize = 62;

} // namespace

Q_DECLARE_METATYPE(StationLineOptions)
Q_DECLARE_METATYPE(Ending)

class TestAdapterLine : public QObject
{
    Q_OBJECT

private slots:
    void transfer_data()
    {
        QTest::addColumn<bool>("reading");
        QTest::addColumn<StationLineOptions>("line");
        QTest::addColumn<Ending>("ending");
        for (const bool reading : {false, true}) {
            const char *what = reading ? "read: " : "write: ";
            const auto row = [what](const char *name) -> QTestData & {
                return QTest::newRow(qPrintable(what + QString(name)));
            };
            row("bursts every 1 ms") << reading << paced({.adapterLatencyMs = 1}) << Ending::Completed;
            row("bursts every 4 ms, 2 ms jitter")
                << reading << paced({.adapterLatencyMs = 4, .adapterJitterMs = 2}) << Ending::Completed;
            row("bursts every 16 ms, 16 ms jitter")
                << reading << paced({.adapterLatencyMs = 16, .adapterJitterMs = 16}) << Ending::Completed;
            row("answers 150 ms late") << reading << paced({.answerDelayMs = 150}) << Ending::Completed;
            // The longest wait for an answer: 200 polls.
            row("answers 150 ms late in 16 ms bursts")
                << reading << paced({.answerDelayMs = 150, .adapterLatencyMs = 16, .adapterJitterMs = 16})
                << Ending::Completed;
            row("answers 210 ms late") << reading << paced({.answerDelayMs = 210})
                                       << (reading ? Ending::NoAnswer : Ending::NotStarted);
            // Dropped by the wait for a quiet line, which then goes on.
            row("stray bytes for 200 ms while powering up")
                << reading << paced({.strayBytes = 10}) << Ending::Completed;
            // A station still sending the tail of a reply cut off, and taking in
            // nothing meanwhile, pausing as long as the reader allows within a
            // reply: no byte of the transfer may go out into the tail.
            row("a slow station's cut reply, 200 ms between bytes")
                << reading << paced({.strayBytes = 4, .strayGapMs = 200}) << Ending::Completed;
            // 160 stray bytes, 20 ms apart, keep the line busy past the 3 s bound.
            row("stray bytes past the quiet line's bound") << reading << paced({.strayBytes = 160}) << Ending::LineBusy;
        }
        const auto losing = [](int byte) {
            return paced({.adapterLatencyMs = 16, .adapterJitterMs = 4, .loseByte = byte});
        };
        QTest::newRow("write: the start byte's answer lost") << false << losing(1) << Ending::NotStarted;
        QTest::newRow("write: an answer in the tones lost") << false << losing(10) << Ending::NoAnswer;
        QTest::newRow("write: the last answer lost") << false << losing(kWriteSize) << Ending::NoAnswer;
        QTest::newRow("read: a byte of the tones lost") << true << losing(14) << Ending::NoAnswer;
        // The next byte (the key beep, 200) is taken for the count: more than a
        // station holds. A smaller one would pass: the reply has no check.
        QTest::newRow("read: the channel count lost") << true << losing(6) << Ending::Refused;
        QTest::newRow("read: a byte of a record lost") << true << losing(40) << Ending::NoAnswer;
        QTest::newRow("read: the last byte lost") << true << losing(int(kReply.size())) << Ending::NoAnswer;
    }
    void transfer()
    {
        QFETCH(bool, reading);
        QFETCH(StationLineOptions, line);
        QFETCH(Ending, ending);
        MemoryLine memoryLine(station, line);
        MemoryLink port;
        port.open(memoryLine.devicePath());
        StationLink link(port, testTimings());
        RecordingEvents events;
        const StationData data = checkedData();

        Ending ended = Ending::Completed;
        bool lineBusy = false;
        QByteArray reply;
        if (reading) {
            const ReadOutcome outcome = StationReader::read(link, events);
            lineBusy = outcome.lineBusy;
            reply = outcome.reply;
            if (outcome.kind == ReadOutcome::Kind::Refused)
                ended = Ending::Refused;
            else if (outcome.kind != ReadOutcome::Kind::Complete)
                ended = Ending::NoAnswer;
        } else {
            const WriteOutcome outcome = StationWriter::write(link, data, events);
            lineBusy = outcome.lineBusy;
            if (outcome.kind == WriteOutcome::Kind::NotStarted)
                ended = Ending::NotStarted;
            else if (outcome.kind != WriteOutcome::Kind::Completed)
                ended = Ending::NoAnswer;
        }
        if (lineBusy)
            ended = Ending::LineBusy;
        QCOMPARE(ended, ending);

        if (ending == Ending::LineBusy)
            QCOMPARE(memoryLine.received(), QByteArray());
        if (ending != Ending::Completed)
            return;
        if (reading) {
            QCOMPARE(reply, kReply);
            QCOMPARE(StationReply::decode(reply).settingsLines(), StationReply::decode(kReply).settingsLines());
        } else {
            QCOMPARE(memoryLine.received(), QByteArray(1, char(StationWriter::StartByte)) + data.writeOrder());
        }
    }
};

QTEST_GUILESS_MAIN(TestAdapterLine)
#include "tst_adapterline.moc"
