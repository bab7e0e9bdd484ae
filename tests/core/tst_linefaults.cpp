// Faults of the line during a transfer, on a real pseudo-terminal: the
// station goes away in the middle of a write or a read (its end of the line
// is closed), answers with noise, or its port is gone before the transfer
// starts. Every transfer must end with the dialog's own status, the buttons
// usable, the port closed and, for a failure of the port, the serial layer's
// message; the data keep what the reply brought up to the fault.

#include "check/datacheck.h"
#include "common/platformerror.h"
#include "image/imagedecoder.h"
#include "link/linktexts.h"
#include "link/stationreader.h"
#include "link/heldport.h"
#include "link/qtseriallink.h"
#include "link/stationwriter.h"
#include "link/transferlink.h"
#include "simulatedstation.h"
#include "state/appstate.h"
#include "stationline.h"
#include "support/linkfixtures.h"
#include "support/readfixtures.h"
#include "support/replyfixtures.h"

#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace LinkFixtures;
using namespace ReadFixtures;
using namespace ReplyFixtures;
using C = ChannelTable::Column;
using Outcome = StationReader::Outcome;

namespace {

// Checked data of n channels, ready to be written.
AppState checkedState(int channels)
{
    AppState state;
    state.dataValid = true;
    state.portNumber = 2;
    state.image.header[RadioImage::ChannelCount] = static_cast<std::uint8_t>(channels);
    for (std::size_t r = 0; r < RadioImage::MaxChannels; ++r)
        state.image.records[r].fill(static_cast<std::uint8_t>(r + 1));
    return state;
}

// State before a read: earlier work that a read replaces only as far as the
// reply goes.
AppState earlierState()
{
    AppState state;
    state.portNumber = 2;
    state.setModuleCode(2);
    state.settingsLines = {QStringLiteral("[Общие установки]"), QStringLiteral("Громкость=3")};
    for (int row = 0; row < state.table.rowCount(); ++row)
        state.table.setCell(C::Number, row, QStringLiteral("old"));
    return state;
}

QByteArray echo(std::uint8_t byte)
{
    return QByteArray(1, static_cast<char>(byte));
}

// A station that answers the read request with `reply` and nothing else.
StationLine::Responder answering(const QByteArray &reply)
{
    return [reply](std::uint8_t byte) { return byte == StationReader::RequestByte ? reply : QByteArray(); };
}

// The reply of a station with two channels on 30-60 MHz, module 3.
QByteArray twoChannelReply()
{
    return Reply{.module = 3, .band = 1}.bytes();
}

// Noise: bytes of no pattern, with the channel count byte set.
QByteArray noise(int length, int channelCount)
{
    QByteArray bytes;
    quint32 x = 2463534242u;
    for (int i = 0; i < length; ++i) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        bytes.append(static_cast<char>(x >> 24));
    }
    bytes[RadioImage::ChannelCount] = static_cast<char>(channelCount);
    return bytes;
}

// A station line on COM2 and the dialog of one transfer, which also records
// what a read rebuilds.
class Line
{
public:
    explicit Line(StationLine::Responder responder, StationLineOptions options = {}, AppState initial = earlierState())
        : state(std::move(initial)), station(std::make_unique<StationLine>(std::move(responder), options)), view(state),
          link(view, file.path())
    {
        file.writePorts({{2, station->devicePath()}});
        link.setTimings(testTimings());
        station->start();
    }

    // The link of a transfer whose port is lost right after opening.
    std::unique_ptr<TransferLink> linkLosingItsPort()
    {
        auto losing = std::make_unique<TransferLink>(view, file.path(), hangUpAfterOpenFactory(*station));
        losing->setTimings(testTimings());
        return losing;
    }

    AppState state;
    OptionsFile file;
    std::unique_ptr<StationLine> station;
    ReadRecorder view;
    TransferLink link;
};

// The platform's text that ended a read (thrown) or a write (its outcome's).
QString transferFailure(bool reading, AppState &state, TransferLink &link, ReadRecorder &view)
{
    if (reading)
        return platformError([&] { StationReader::read(state, link, view); });
    const WriteOutcome outcome = StationWriter::write(state, link);
    return outcome.kind == WriteOutcome::Kind::PortFailure ? outcome.failure : QString();
}

// The write of n channels is 26 + 18·n bytes: start byte, 25 prefix bytes, records.
constexpr int kPrefix = 26;

} // namespace

class TestLineFaults : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // The station goes away while the write runs: the wait for its answer
    // fails, the dialog shows "AK", the buttons work again, the port is
    // closed, and the write stops at its next port operation with the closed
    // port's error. Nothing goes out after the hang-up.
    void stationGoneDuringWrite_data()
    {
        QTest::addColumn<int>("hangUpAfter");
        QTest::addColumn<QList<int>>("progress");
        QTest::newRow("in the header") << 3 << QList<int>{0};
        QTest::newRow("in the tone table") << 1 + 5 + 4 << QList<int>{0, 33};
        // The last band byte goes unanswered; the write stops at its next send.
        QTest::newRow("after the settings") << kPrefix << QList<int>{0, 33, 66, 100, 0};
        QTest::newRow("half way through a record") << kPrefix + 18 + 9 << QList<int>{0, 33, 66, 100, 0, 50};
        // Every byte went out; the write stops at the purge.
        QTest::newRow("on the last byte") << kPrefix + 36 << QList<int>{0, 33, 66, 100, 0, 50, 100, 100};
    }
    void stationGoneDuringWrite()
    {
        QFETCH(int, hangUpAfter);
        QFETCH(QList<int>, progress);
        StationLineOptions options;
        options.hangUpAfter = hangUpAfter;
        Line line(echo, options);
        const AppState state = checkedState(2);

        const WriteOutcome outcome = StationWriter::write(state, line.link);
        QCOMPARE(outcome.kind, WriteOutcome::Kind::BrokenOff);
        QCOMPARE(outcome.failure, SerialErrors::notOpen());
        QCOMPARE(outcome.sent, qsizetype(hangUpAfter));

        QCOMPARE(line.view.statuses, (QStringList{LinkTexts::writing(), LinkTexts::noAnswer()}));
        QVERIFY(line.view.allEnabled());
        QVERIFY(!line.link.IsOpen());
        QCOMPARE(line.view.progress, progress);
        QCOMPARE(line.station->received().size(), hangUpAfter);
    }

    // The station goes away while it sends its reply: the read ends as after
    // a time-out ("AK", buttons enabled, port closed, no message), and keeps
    // what the reply brought up to the last whole block: no record is
    // decoded half, no row filled from a record that did not arrive whole.
    void stationGoneDuringRead_data()
    {
        QTest::addColumn<int>("sent");
        QTest::addColumn<int>("lines");
        QTest::addColumn<bool>("tableSized");
        QTest::newRow("before it answers") << 0 << 1 << false;
        QTest::newRow("inside block 1") << 7 << 1 << false;
        QTest::newRow("in the tones") << 14 << 7 << false;
        QTest::newRow("inside block 4") << 26 << 13 << false;
        QTest::newRow("before the records") << 28 << 26 << true;
        QTest::newRow("half way through a record") << 28 + 9 << 26 << true;
        QTest::newRow("one byte short") << 28 + 35 << 26 << true;
    }
    void stationGoneDuringRead()
    {
        QFETCH(int, sent);
        QFETCH(int, lines);
        QFETCH(bool, tableSized);
        StationLineOptions options;
        if (sent == 0)
            options.hangUpAfter = 1; // the request itself goes unanswered
        else
            options.hangUpAfterSent = sent;
        Line line(answering(twoChannelReply()), options);

        Outcome outcome = Outcome::Complete;
        QCOMPARE(platformError([&] { outcome = StationReader::read(line.state, line.link, line.view); }), QString());

        QCOMPARE(outcome, Outcome::NoAnswer);
        QCOMPARE(line.view.statuses, (QStringList{LinkTexts::reading(), LinkTexts::noAnswer()}));
        QVERIFY(line.view.allEnabled());
        QVERIFY(!line.link.IsOpen());
        AppState whole = earlierState();
        decodeWholeReply(whole, twoChannelReply());
        QCOMPARE(line.state.settingsLines, whole.settingsLines.mid(0, lines));
        QCOMPARE(line.state.table.rowCount(), tableSized ? 3 : 11);
        QCOMPARE(line.state.stationKind, tableSized ? StationKind::Band30_60 : StationKind::Band144_174);
        for (int row = 0; row < line.state.table.rowCount(); ++row)
            QCOMPARE(line.state.table.cell(C::Number, row), QStringLiteral("old"));
        QCOMPARE(line.state.chosenModule, 2);
    }

    // The port goes away the moment after it was opened: the first send
    // fails. The transfer ends with "AK", the buttons enabled, the port closed
    // and the serial layer's message naming the device; the read has changed
    // nothing of the data.
    void portLostRightAfterOpening_data()
    {
        QTest::addColumn<bool>("reading");
        QTest::newRow("write") << false;
        QTest::newRow("read") << true;
    }
    void portLostRightAfterOpening()
    {
        QFETCH(bool, reading);
        Line line(echo, {}, reading ? earlierState() : checkedState(1));
        const AppState before = line.state;
        const QString device = line.station->devicePath();
        const auto link = line.linkLosingItsPort();

        const QString error = transferFailure(reading, line.state, *link, line.view);

        QVERIFY2(error.startsWith(SerialErrors::cannotSend(device, QString())), qPrintable(error));
        const QString running = reading ? LinkTexts::reading() : LinkTexts::writing();
        QCOMPARE(line.view.statuses, (QStringList{running, LinkTexts::noAnswer()}));
        QVERIFY(line.view.allEnabled());
        QVERIFY(!link->IsOpen());
        compareStates(line.state, before);
    }

    // The port is gone before the transfer starts (the station's line was
    // closed and its device removed): opening fails with the device named,
    // the buttons were never disabled, and nothing changed.
    void portGoneBeforeTransfer_data()
    {
        QTest::addColumn<bool>("reading");
        QTest::addColumn<QStringList>("events");
        QTest::newRow("write") << false << QStringList();
        QTest::newRow("read") << true << QStringList{QStringLiteral("status ПП")};
    }
    void portGoneBeforeTransfer()
    {
        QFETCH(bool, reading);
        QFETCH(QStringList, events);
        StationLineOptions options;
        options.throughLink = true; // the name opened below can belong to no other line
        Line line(echo, options, reading ? earlierState() : checkedState(1));
        const QString device = line.station->devicePath();
        line.station->hangUp();
        QVERIFY(!QFile::exists(device));
        const AppState before = line.state;

        const QString error = transferFailure(reading, line.state, line.link, line.view);

        QVERIFY2(error.startsWith(SerialErrors::cannotOpen(device, QString())), qPrintable(error));
        QCOMPARE(line.view.events, events);
        QVERIFY(!line.link.IsOpen());
        compareStates(line.state, before);
    }

    // Noise instead of answers to a write: any byte acknowledges, and a spare
    // one acknowledges the next byte at once. The write runs through and
    // ends as a complete one; running ahead of the station, its last bytes
    // may still be queued when the closing purge drops them.
    void noiseAnsweringAWrite()
    {
        const auto answer = [](std::uint8_t byte) {
            return QByteArray(1, static_cast<char>(byte ^ 0xA5)) + QByteArray::fromHex("00FF");
        };
        Line line(answer, {}, checkedState(2));

        QCOMPARE(StationWriter::write(line.state, line.link).kind, WriteOutcome::Kind::Completed);

        line.station->stop();
        const QByteArray wire = QByteArray(1, char(StationWriter::StartByte))
                                + line.state.image.writeOrder(line.state.moduleCode, line.state.bandCode);
        QVERIFY(wire.startsWith(line.station->received()));
        QCOMPARE(line.view.statuses, (QStringList{LinkTexts::writing(), LinkTexts::idle()}));
        QCOMPARE(line.view.progress.last(), 100);
        QVERIFY(line.view.allEnabled());
        QVERIFY(!line.link.IsOpen());
    }

    // Noise instead of a reply: whatever channel count it happens to carry,
    // the read ends with its own status (a refusal for more channels than
    // the image holds), the buttons enabled and the port closed; what it
    // decoded is refused by the data check with a message, never coded.
    void noiseInsteadOfAReply_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QString>("status");
        QTest::newRow("5 channels") << 5 << int(Outcome::Complete) << LinkTexts::idle();
        QTest::newRow("99 channels") << 99 << int(Outcome::Complete) << LinkTexts::idle();
        QTest::newRow("200 channels") << 200 << int(Outcome::Refused) << LinkTexts::noAnswer();
    }
    void noiseInsteadOfAReply()
    {
        QFETCH(int, count);
        QFETCH(int, outcome);
        QFETCH(QString, status);
        // More noise than the reply takes: the surplus is purged.
        Line line(answering(noise(28 + 18 * 99 + 300, count)));

        QCOMPARE(int(StationReader::read(line.state, line.link, line.view)), outcome);

        QCOMPARE(line.view.statuses.last(), status);
        QVERIFY(line.view.allEnabled());
        QVERIFY(!line.link.IsOpen());
        if (outcome == int(Outcome::Refused)) {
            QCOMPARE(line.view.refusals.size(), 1);
            QCOMPARE(line.state.table.rowCount(), 11);
            return;
        }
        QCOMPARE(line.state.table.rowCount(), count + 1);
        QTemporaryDir dir;
        AppState checked = line.state;
        QString message;
        try {
            const DataCheckResult result = checked.check(dir.filePath(QStringLiteral("MyTemp.ini")));
            QVERIFY(!result.passed());
            message = result.text();
        } catch (const PlatformError &error) {
            message = error.text();
        }
        QVERIFY(!message.isEmpty());
        QVERIFY(!checked.dataValid);
    }

    // The station is still sending the rest of an interrupted reply when the
    // next transfer starts. The request or start byte goes out only once the
    // line has fallen quiet, so the tail is not taken for the new reply; a
    // line that never falls quiet ends the transfer with "AK", nothing sent.
    void stationStillSending_data()
    {
        QTest::addColumn<bool>("reading");
        QTest::addColumn<int>("tailBytes");
        QTest::addColumn<bool>("quietsDown");
        // At 1200 baud 30 bytes take a quarter of a second, 120 bytes one
        // second, longer than the tests' bound of the wait.
        QTest::newRow("read after a cut read") << true << 30 << true;
        QTest::newRow("read, never quiet") << true << 120 << false;
        QTest::newRow("write, never quiet") << false << 120 << false;
    }
    void stationStillSending()
    {
        QFETCH(bool, reading);
        QFETCH(int, tailBytes);
        QFETCH(bool, quietsDown);
        const QByteArray reply = twoChannelReply();
        StationLineOptions options;
        options.lineTime = true;
        Line line(answering(reply), options, reading ? earlierState() : checkedState(1));
        QByteArray tail;
        while (tail.size() < tailBytes)
            tail += reply.mid(4);
        line.station->sendUnprompted(tail.left(tailBytes));

        if (reading) {
            StationReader::read(line.state, line.link, line.view);
        } else {
            const WriteOutcome outcome = StationWriter::write(line.state, line.link);
            QCOMPARE(outcome.kind, WriteOutcome::Kind::NotStarted);
            QCOMPARE(outcome.sent, qsizetype(0));
        }

        QVERIFY(!line.link.IsOpen());
        QVERIFY(line.view.allEnabled());
        // What the command line tells: a busy line, not a silent station.
        QCOMPARE(line.link.lineStayedBusy(), !quietsDown);
        if (!quietsDown) {
            QCOMPARE(line.view.statuses.last(), LinkTexts::noAnswer());
            QCOMPARE(line.station->received(), QByteArray());
            return;
        }
        QCOMPARE(line.station->received(), bytes({StationReader::RequestByte}));
        QCOMPARE(line.view.statuses.last(), LinkTexts::idle());
        AppState whole = earlierState();
        decodeWholeReply(whole, reply);
        compareStates(line.state, whole);
    }

    // One device reached by two names is one port: while a transfer holds it,
    // another by any name is refused as busy before it sends a byte, and the
    // device is free again once the first lets go.
    void deviceHeldUnderAnotherName_data()
    {
        QTest::addColumn<int>("naming");
        // Held by a station's sequence between two of its steps: the step
        // closed its port, the sequence keeps the device.
        QTest::addColumn<bool>("betweenSteps");
        QTest::newRow("the same path") << 0 << false;
        QTest::newRow("a symbolic link") << 1 << false;
        QTest::newRow("a link to a link") << 2 << false;
        QTest::newRow("a sequence between its steps") << 1 << true;
    }
    void deviceHeldUnderAnotherName()
    {
        QFETCH(int, naming);
        QFETCH(bool, betweenSteps);
        Line line(echo, {}, checkedState(1));
        const QString device = line.station->devicePath();
        QTemporaryDir dir;
        QString other = device;
        for (int i = 0; i < naming; ++i) {
            const QString link = dir.filePath(QStringLiteral("link%1").arg(i));
            QVERIFY(QFile::link(other, link));
            other = link;
        }
        line.file.writePorts({{2, other}});
        auto sequence = std::make_unique<HeldPort>(QtSerialLink::factory());
        std::unique_ptr<SerialLink> holder = betweenSteps ? sequence->factory()() : std::make_unique<QtSerialLink>();
        holder->open(device);
        if (betweenSteps) {
            holder->close();
            QVERIFY(!holder->isOpen());
            QCOMPARE(platformError([&] { holder->sendByte(1); }), SerialErrors::notOpen());
        }

        const WriteOutcome refused = StationWriter::write(line.state, line.link);

        QCOMPARE(refused.kind, WriteOutcome::Kind::PortFailure);
        QCOMPARE(refused.failure, SerialErrors::portBusy(other));
        QVERIFY(!line.station->waitForReceived(1, 100));
        holder.reset();
        sequence.reset();
        QCOMPARE(StationWriter::write(line.state, line.link).kind, WriteOutcome::Kind::Completed);
        QCOMPARE(line.station->received().size(), kPrefix + 18);
    }
};

QTEST_GUILESS_MAIN(TestLineFaults)
#include "tst_linefaults.moc"
