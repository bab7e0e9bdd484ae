// "Запись данных " on a line in memory, whose time the line counts: the bytes
// in their order, each answered before the next, the gauge the dialog
// derives from them, and a station that falls silent, goes away, answers
// with noise or is still sending when the write starts.

#include "image/stationdata.h"
#include "link/stationlink.h"
#include "link/stationwriter.h"
#include "support/linkfixtures.h"

#include <QTest>

using namespace LinkFixtures;
using Kind = WriteOutcome::Kind;

namespace {

// Checked data with n channels; every byte differs from its neighbours so
// that a byte out of place shows.
StationData checkedData(int channels)
{
    StationData data;
    data.moduleCode = 4;
    data.bandCode = 3;
    RadioImage &image = data.image;
    for (std::size_t i = 0; i < image.header.size(); ++i)
        image.header[i] = static_cast<std::uint8_t>(0xA0 + i);
    image.at(StationLayout::Name::ChannelCount) = static_cast<std::uint8_t>(channels);
    for (std::size_t i = 0; i < image.tones.size(); ++i)
        image.tones[i] = static_cast<std::uint8_t>(70 + 3 * i);
    image.idCode = 0x12AB;
    for (std::size_t r = 0; r < RadioImage::MaxChannels; ++r)
        for (std::size_t b = 0; b < RadioImage::RecordSize; ++b)
            image.records[r][b] = static_cast<std::uint8_t>(r * 18 + b + 1);
    return data;
}

// What the station must receive, put together field by field.
QByteArray expectedWire(const StationData &data)
{
    const RadioImage &image = data.image;
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
    put(data.moduleCode);
    for (int copy = 0; copy < 3; ++copy)
        put(data.bandCode);
    for (int r = 0; r < image.channelCount(); ++r)
        for (std::uint8_t b : image.records[std::size_t(r)])
            put(b);
    return wire;
}

QByteArray echo(std::uint8_t byte)
{
    return QByteArray(1, static_cast<char>(byte));
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

// A station on a line in memory, and the program's end of it, open.
class Line
{
public:
    explicit Line(TestLine::Responder responder, StationLineOptions options = {})
        : station(std::move(responder), options), link(port, testTimings())
    {
        port.open(station.devicePath());
    }

    WriteOutcome write(const StationData &data) { return StationWriter::write(link, data, events); }

    TestLine station;
    MemoryLink port;
    StationLink link;
    RecordingEvents events;
};

// The write of n channels is 26 + 18·n bytes: start byte, 25 prefix bytes, records.
constexpr int kPrefix = 26;

} // namespace

class TestStationWriter : public QObject
{
    Q_OBJECT

private slots:
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
        const StationData data = checkedData(channels);
        SimulatedStation memory;
        Line line([&memory](std::uint8_t b) { return memory.onByte(b, 0); });

        const WriteOutcome outcome = line.write(data);

        QCOMPARE(outcome.kind, Kind::Completed);
        const QByteArray wire = expectedWire(data);
        QCOMPARE(wire.size(), 26 + 18 * channels);
        QCOMPARE(outcome.sent, wire.size());
        QCOMPARE(line.station.received(), wire);
        // 33 after the header, 66 after the tones, 100 once the settings are
        // out, 0 after the pause, then the records.
        QCOMPARE(line.events.gauge, QList<int>({0, 33, 66, 100, 0}) + recordProgress);
        QCOMPARE(line.events.events.first(), QStringLiteral("sent 0/%1").arg(wire.size()));
        QCOMPARE(line.events.events.at(line.events.events.indexOf("records") - 1),
                 QStringLiteral("sent %1/%2").arg(kPrefix).arg(wire.size()));
        QCOMPARE(memory.completedWrites(), 1);
        QCOMPARE(memory.memory().channelCount(), channels);
        QCOMPARE(memory.memory().idCode, std::uint16_t(0x12AB));
        QCOMPARE(memory.memory().records, wire.mid(26));
    }

    void settingsPause()
    {
        // The pause between the settings and the records is the line's time:
        // the records' first byte goes out 200 ms after the last answer.
        StationLineOptions paced;
        Line line(echo, paced);
        QCOMPARE(line.write(checkedData(1)).kind, Kind::Completed);
        // The quiet line before the start byte, then the pause.
        QCOMPARE(line.station.nowUs() / 1000, LinkTimings().quietLineMs + 200);
    }

    void stationFallsSilent_data()
    {
        // After the station's silence the write goes no further: the gauge
        // shows where its next byte would have found the port closed. A
        // station gone fails the port at the wait for its answer.
        QTest::addColumn<QString>("how"); // "silent" or "gone": after `after` received bytes
        QTest::addColumn<int>("after");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QList<int>>("gauge");
        const int notStarted = int(Kind::NotStarted), brokenOff = int(Kind::BrokenOff);
        const int failed = int(Kind::PortFailure);
        QTest::newRow("start byte unanswered") << "silent" << 0 << notStarted << QList<int>{0};
        QTest::newRow("gone at the start byte") << "gone" << 1 << failed << QList<int>{0};
        QTest::newRow("gone in the header") << "gone" << 3 << failed << QList<int>{0};
        QTest::newRow("silent in the tone table") << "silent" << 1 + 5 + 3 << brokenOff << QList<int>{0, 33};
        QTest::newRow("gone in the tone table") << "gone" << 1 + 5 + 4 << failed << QList<int>{0, 33};
        QTest::newRow("gone on the last band byte") << "gone" << kPrefix << failed << QList<int>{0, 33, 66};
        QTest::newRow("gone half way through a record")
            << "gone" << kPrefix + 18 + 9 << failed << QList<int>{0, 33, 66, 100, 0, 50};
        QTest::newRow("silent on the last byte")
            << "silent" << kPrefix + 35 << brokenOff << QList<int>{0, 33, 66, 100, 0, 50, 100};
        QTest::newRow("gone on the last byte") << "gone" << kPrefix + 36 << failed << QList<int>{0, 33, 66, 100, 0, 50};
    }
    void stationFallsSilent()
    {
        QFETCH(QString, how);
        QFETCH(int, after);
        QFETCH(int, kind);
        QFETCH(QList<int>, gauge);
        StationLineOptions options;
        if (how == "silent")
            options.silentAfter = after;
        else
            options.hangUpAfter = after;
        Line line(echo, options);
        const StationData data = checkedData(2);

        const WriteOutcome outcome = line.write(data);

        // The unanswered byte is the last one sent.
        const int sent = how == "silent" ? after + 1 : after;
        QCOMPARE(int(outcome.kind), kind);
        QCOMPARE(outcome.sent, qsizetype(sent));
        QCOMPARE(line.station.received(), expectedWire(data).left(sent));
        QCOMPARE(line.events.gauge, gauge);
        // A write broken off goes on to no port operation: it would find the port closed.
        if (how == "silent")
            QCOMPARE(outcome.failure, outcome.kind == Kind::BrokenOff ? SerialErrors::notOpen() : QString());
        else
            QVERIFY2(outcome.failure.startsWith(SerialErrors::cannotReceive(line.station.devicePath(), QString())),
                     qPrintable(outcome.failure));
    }

    void answers_data()
    {
        // Any byte answers, and a spare answer answers the next byte at once.
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<bool>("echoed"); // each answer the byte itself, else noise
        QTest::newRow("two answers, then none") << QList<int>{1, 1, 2, 0} << true;
        QTest::newRow("three of noise each") << QList<int>{} << false;
    }
    void answers()
    {
        QFETCH(QList<int>, answers);
        QFETCH(bool, echoed);
        Script script;
        script.answers = answers;
        const auto noisy = [](std::uint8_t byte) {
            return QByteArray(1, static_cast<char>(byte ^ 0xA5)) + QByteArray::fromHex("00FF");
        };
        Line line(echoed ? TestLine::Responder(script) : TestLine::Responder(noisy));
        const StationData data = checkedData(2);

        QCOMPARE(line.write(data).kind, Kind::Completed);
        QCOMPARE(line.station.received(), expectedWire(data));
        QCOMPARE(line.events.gauge.last(), 100);
    }

    void portLostRightAfterOpening()
    {
        Line line(echo);
        line.station.hangUp();

        const WriteOutcome outcome = line.write(checkedData(1));

        QCOMPARE(outcome.kind, Kind::PortFailure);
        QCOMPARE(outcome.sent, qsizetype(0));
        QVERIFY2(outcome.failure.startsWith(SerialErrors::cannotReceive(line.station.devicePath(), QString())),
                 qPrintable(outcome.failure));
    }
};

QTEST_GUILESS_MAIN(TestStationWriter)
#include "tst_stationwriter.moc"
