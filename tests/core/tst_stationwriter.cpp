#include "link/linktexts.h"
#include "link/stationwriter.h"
#include "link/transferlink.h"
#include "simulatedstation.h"
#include "state/appstate.h"
#include "stationline.h"
#include "support/linkfixtures.h"

#include <QElapsedTimer>
#include <QStandardPaths>
#include <QTest>

using namespace LinkFixtures;

namespace {

// Checked data with n channels; every byte differs from its neighbours so
// that a byte out of place shows.
AppState checkedState(int channels)
{
    AppState state;
    state.dataValid = true;
    state.portNumber = 2;
    state.moduleCode = 4;
    state.bandCode = 3;
    RadioImage &image = state.image;
    for (std::size_t i = 0; i < image.header.size(); ++i)
        image.header[i] = static_cast<std::uint8_t>(0xA0 + i);
    image.header[RadioImage::ChannelCount] = static_cast<std::uint8_t>(channels);
    for (std::size_t i = 0; i < image.tones.size(); ++i)
        image.tones[i] = static_cast<std::uint8_t>(70 + 3 * i);
    image.idCode = 0x12AB;
    for (std::size_t r = 0; r < RadioImage::MaxChannels; ++r)
        for (std::size_t b = 0; b < RadioImage::RecordSize; ++b)
            image.records[r][b] = static_cast<std::uint8_t>(r * 18 + b + 1);
    return state;
}

// What the station must receive, put together field by field.
QByteArray expectedWire(const AppState &state)
{
    const RadioImage &image = state.image;
    QByteArray wire;
    auto put = [&wire](int b) { wire.append(static_cast<char>(b)); };
    put(20);
    for (int i = 3; i <= 7; ++i)
        put(image.header[std::size_t(i)]);
    for (std::uint8_t t : image.tones)
        put(t);
    put(image.idCode >> 8);
    put(image.idCode & 0xFF);
    for (int i = 8; i <= 11; ++i)
        put(image.header[std::size_t(i)]);
    put(state.moduleCode);
    put(state.bandCode);
    put(state.bandCode);
    put(state.bandCode);
    for (int r = 0; r < image.channelCount(); ++r)
        for (std::uint8_t b : image.records[std::size_t(r)])
            put(b);
    return wire;
}

// A station answering with a scripted list of answer counts, then once each.
struct Script
{
    QList<int> answers; // answers for received byte i (index), default 1
    int seen = 0;
    QByteArray operator()(std::uint8_t byte)
    {
        const int i = seen++;
        const int count = i < answers.size() ? answers.at(i) : 1;
        return QByteArray(count, static_cast<char>(byte));
    }
};

class Fixture
{
public:
    explicit Fixture(TestLine::Responder responder, StationLineOptions options = {})
        : station(std::move(responder), options), link(view, file.path(), testLinkFactory())
    {
        file.writePorts({{2, station.devicePath()}});
        link.setTimings(testTimings());
        station.start();
    }

    OptionsFile file;
    TestLine station;
    RecordingObserver view;
    TransferLink link;
};

} // namespace

class TestStationWriter : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void refusedWhenNotChecked()
    {
        AppState state = checkedState(3);
        state.dataValid = false;
        auto opened = std::make_shared<QStringList>();
        RecordingObserver view;
        OptionsFile file;
        file.writePorts({{2, QStringLiteral("/nonexistent/ttyW")}});
        TransferLink link(view, file.path(), loggingFactory(opened));
        const WriteOutcome outcome = StationWriter::write(state, link);
        QCOMPARE(outcome.kind, WriteOutcome::Kind::NotChecked);
        const MaybeRefusal refusal = outcome.refusal;
        QVERIFY(refusal.has_value());
        QCOMPARE(refusal->text, QStringLiteral("Введенные данные не будут переданы, так как они не проверены."));
        QCOMPARE(refusal->sound, Sound::None);
        QVERIFY(opened->isEmpty());
        QVERIFY(view.events.isEmpty());
    }

    void fullWrite_data()
    {
        QTest::addColumn<int>("channels");
        QTest::addColumn<QList<int>>("recordProgress");
        QTest::newRow("1") << 1 << QList<int>{100};
        QTest::newRow("3") << 3 << QList<int>{33, 67, 100};
        QTest::newRow("6") << 6 << QList<int>{17, 33, 50, 67, 83, 100};
        QTest::newRow("8") << 8 << QList<int>{12, 25, 38, 50, 62, 75, 88, 100};
        QList<int> ninetyNine;
        for (int j = 1; j <= 99; ++j) // 100/99 = 1.0101..: no halves, plain rounding
            ninetyNine.append(int(j * 100.0 / 99 + 0.5));
        QTest::newRow("99") << 99 << ninetyNine;
    }
    void fullWrite()
    {
        QFETCH(int, channels);
        QFETCH(QList<int>, recordProgress);
        const AppState state = checkedState(channels);
        SimulatedStation memory;
        Fixture f([&memory](std::uint8_t b) { return memory.onByte(b, 0); });

        const WriteOutcome outcome = StationWriter::write(state, f.link);
        QCOMPARE(outcome.kind, WriteOutcome::Kind::Completed);

        const QByteArray wire = expectedWire(state);
        QCOMPARE(outcome.sent, wire.size());
        QCOMPARE(wire.size(), 26 + 18 * channels);
        QVERIFY(f.station.waitForReceived(wire.size(), 5000));
        QCOMPARE(f.station.received(), wire);

        QList<int> progress{0, 33, 66, 100, 0};
        progress += recordProgress;
        progress.append(100);
        QCOMPARE(f.view.progress, progress);
        QCOMPARE(f.view.statuses, (QStringList{QStringLiteral("ПР"), QStringLiteral("- -")}));
        QCOMPARE(f.view.events.mid(0, 4), (QStringList{QStringLiteral("Exit off"), QStringLiteral("Write off"),
                                                       QStringLiteral("Read off"), QStringLiteral("status ПР")}));
        QVERIFY(f.view.allEnabled());
        QVERIFY(!f.link.IsOpen());

        f.station.stop();
        QCOMPARE(memory.completedWrites(), 1);
        QCOMPARE(memory.memory().channelCount(), channels);
        QCOMPARE(memory.memory().idCode, std::uint16_t(0x12AB));
        QCOMPARE(memory.memory().records, wire.mid(26));
    }

    void unansweredStartByteEndsQuietly()
    {
        const AppState state = checkedState(2);
        StationLineOptions silent;
        silent.silentAfter = 0;
        Fixture f(Script(), silent);

        QCOMPARE(StationWriter::write(state, f.link), (WriteOutcome{WriteOutcome::Kind::NotStarted, 1, {}, {}}));

        QCOMPARE(f.station.received(), bytes({20}));
        QCOMPARE(f.view.statuses, (QStringList{QStringLiteral("ПР"), QStringLiteral("AK"), QStringLiteral("- -")}));
        QCOMPARE(f.view.progress, QList<int>{0});
        QVERIFY(f.view.allEnabled());
        QVERIFY(!f.link.IsOpen());
    }

    void stationSilentInToneTable()
    {
        const AppState state = checkedState(2);
        StationLineOptions options;
        options.silentAfter = 1 + 5 + 3; // start byte, header, three tones
        Fixture f(Script(), options);

        const WriteOutcome outcome = StationWriter::write(state, f.link);

        QCOMPARE(outcome.kind, WriteOutcome::Kind::BrokenOff);
        QCOMPARE(outcome.failure, SerialErrors::notOpen());
        QCOMPARE(outcome.sent, qsizetype(1 + 5 + 4));
        // The fourth tone went out unanswered; nothing after it.
        QCOMPARE(f.station.received(), expectedWire(state).left(1 + 5 + 4));
        QCOMPARE(f.view.progress, (QList<int>{0, 33}));
        QCOMPARE(f.view.statuses.last(), QStringLiteral("AK"));
        QVERIFY(f.view.allEnabled());
        QVERIFY(!f.link.IsOpen());
    }

    void stationSilentOnLastByteFailsAtThePurge()
    {
        const AppState state = checkedState(1);
        const QByteArray wire = expectedWire(state);
        StationLineOptions options;
        options.silentAfter = int(wire.size()) - 1;
        Fixture f(Script(), options);

        const WriteOutcome outcome = StationWriter::write(state, f.link);
        QCOMPARE(outcome.kind, WriteOutcome::Kind::BrokenOff);
        QCOMPARE(outcome.failure, SerialErrors::notOpen());
        QCOMPARE(outcome.sent, wire.size());
        QCOMPARE(f.station.received(), wire);
        QCOMPARE(f.view.progress.last(), 100); // the record's progress, then the purge failed
        QCOMPARE(f.view.statuses.last(), QStringLiteral("AK"));
    }

    void spareAnswerCoversTheNextByte()
    {
        // Two answers to the third byte, none to the fourth: the write runs
        // through without a failed wait.
        const AppState state = checkedState(1);
        Script script;
        script.answers = {1, 1, 2, 0};
        Fixture f(script);

        QCOMPARE(StationWriter::write(state, f.link).kind, WriteOutcome::Kind::Completed);
        QCOMPARE(f.station.received(), expectedWire(state));
        QVERIFY(!f.view.statuses.contains(QStringLiteral("AK")));
        QCOMPARE(f.view.statuses.last(), QStringLiteral("- -"));
    }

    void portThatCannotBeOpened()
    {
        AppState state = checkedState(1);
        OptionsFile file;
        file.writePorts({{2, QStringLiteral("/nonexistent/ttyW2")}});
        RecordingObserver view;
        TransferLink link(view, file.path());
        const WriteOutcome outcome = StationWriter::write(state, link);
        QCOMPARE(outcome.kind, WriteOutcome::Kind::PortFailure);
        QCOMPARE(outcome.sent, qsizetype(0));
        QVERIFY(outcome.failure.contains(QLatin1String("/nonexistent/ttyW2")));
        QVERIFY(view.events.isEmpty()); // buttons never disabled
    }

    void noPortChosen()
    {
        AppState state = checkedState(1);
        state.portNumber = 0;
        SimulatedStation memory;
        Fixture f([&memory](std::uint8_t b) { return memory.onByte(b, 0); });

        // Cancelled prompt: the no-port error, nothing else changed.
        QCOMPARE(StationWriter::write(state, f.link),
                 (WriteOutcome{WriteOutcome::Kind::PortFailure, 0, {}, SerialErrors::noPortChosen()}));
        QCOMPARE(f.view.events, QStringList{QStringLiteral("prompt")});
        QCOMPARE(state.portNumber, std::uint8_t(0));

        // "OK" on COM2: the write goes there, for this transfer only.
        f.view.promptAnswer = PortEntry{QStringLiteral("COM2"), f.station.devicePath()};
        QCOMPARE(StationWriter::write(state, f.link).kind, WriteOutcome::Kind::Completed);
        QCOMPARE(f.station.received(), expectedWire(state));
        QCOMPARE(state.portNumber, std::uint8_t(0));
    }
};

QTEST_GUILESS_MAIN(TestStationWriter)
#include "tst_stationwriter.moc"
