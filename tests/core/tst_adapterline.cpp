// A write and a read through the line a technician's USB serial adapter
// makes: the station's bytes handed on in bursts when the adapter's latency
// timer runs out, late answers, the stray bytes of a station powering up, a
// byte lost on the way. Each transfer either completes, only slower, or ends
// as the station's silence ends it ("AK"), never half-way in another state.
// On the line in memory, whose time is counted, not slept.

#include "image/imagedecoder.h"
#include "link/linktexts.h"
#include "link/stationreader.h"
#include "link/stationwriter.h"
#include "link/transferlink.h"
#include "state/appstate.h"
#include "support/linkfixtures.h"
#include "support/memoryline.h"
#include "support/readfixtures.h"
#include "support/replyfixtures.h"

#include <QStandardPaths>
#include <QTest>

using namespace LinkFixtures;
using namespace ReadFixtures;

namespace {

// A station with the reply of two channels, echoing every byte of a write.
const QByteArray kReply = ReplyFixtures::Reply{}.bytes();
QByteArray station(std::uint8_t byte)
{
    return byte == StationReader::RequestByte ? kReply : QByteArray(1, static_cast<char>(byte));
}

// Checked data of two channels.
AppState checkedState()
{
    AppState state;
    state.dataValid = true;
    state.image.header[RadioImage::ChannelCount] = 2;
    for (std::size_t r = 0; r < RadioImage::MaxChannels; ++r)
        state.image.records[r].fill(static_cast<std::uint8_t>(r + 7));
    return state;
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
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

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
            row("stray bytes past the quiet line's bound") << reading << paced({.strayBytes = 40}) << Ending::LineBusy;
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
        OptionsFile file;
        file.writePorts({{2, memoryLine.devicePath()}});
        AppState state = reading ? AppState() : checkedState();
        state.portNumber = 2;
        ReadRecorder view(state);
        TransferLink link(view, file.path(), memoryLinkFactory());
        link.setTimings(testTimings());

        Ending ended = Ending::Completed;
        if (reading) {
            const StationReader::Outcome outcome = StationReader::read(state, link, view);
            if (outcome == StationReader::Outcome::Refused)
                ended = Ending::Refused;
            else if (outcome != StationReader::Outcome::Complete)
                ended = Ending::NoAnswer;
        } else {
            const WriteOutcome::Kind kind = StationWriter::write(state, link).kind;
            if (kind == WriteOutcome::Kind::NotStarted)
                ended = Ending::NotStarted;
            else if (kind != WriteOutcome::Kind::Completed)
                ended = Ending::NoAnswer;
        }
        if (link.lineStayedBusy())
            ended = Ending::LineBusy;
        QCOMPARE(ended, ending);

        QVERIFY(!link.IsOpen());
        QVERIFY(view.allEnabled());
        const QString running = reading ? LinkTexts::reading() : LinkTexts::writing();
        QStringList statuses{running};
        if (ending != Ending::Completed)
            statuses.append(LinkTexts::noAnswer());
        // A write whose start byte went unanswered sent nothing else, and says so.
        if (ending == Ending::Completed || ending == Ending::NotStarted)
            statuses.append(LinkTexts::idle());
        QCOMPARE(view.statuses, statuses);
        if (ending == Ending::LineBusy)
            QCOMPARE(memoryLine.received(), QByteArray());
        if (ending != Ending::Completed)
            return;
        if (reading) {
            AppState whole;
            decodeWholeReply(whole, kReply);
            QCOMPARE(state.settingsLines, whole.settingsLines);
            compareTables(state.table, whole.table);
        } else {
            QCOMPARE(memoryLine.received(), QByteArray(1, char(StationWriter::StartByte))
                                                + state.image.writeOrder(state.moduleCode, state.bandCode));
        }
    }
};

QTEST_GUILESS_MAIN(TestAdapterLine)
#include "tst_adapterline.moc"
