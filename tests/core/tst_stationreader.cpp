// "Чтение данных " on a line in memory, whose time the line counts: the
// request, the reply as it arrives and where a read shows it, the gauge the
// dialog derives from it, gaps the reply may and may not leave, replies cut
// short, refused or buried in noise, a line still busy with an earlier
// reply, and a station that goes away in the middle.

#include "image/stationreply.h"
#include "link/stationlink.h"
#include "link/stationreader.h"
#include "support/linkfixtures.h"
#include "support/replyfixtures.h"

#include <QTest>

using namespace LinkFixtures;
using namespace ReplyFixtures;
using Kind = ReadOutcome::Kind;

namespace {

// A station that answers the request byte with a fixed sequence, and
// nothing else.
struct Answer
{
    QByteArray bytes;
    QByteArray operator()(std::uint8_t byte) const { return byte == StationReply::RequestByte ? bytes : QByteArray(); }
};

// A station on a line in memory, and the program's end of it, open.
class Line
{
public:
    explicit Line(TestLine::Responder responder, StationLineOptions options = {}, LinkTimings timings = testTimings())
        : station(std::move(responder), options), link(port, timings)
    {
        port.open(station.devicePath());
    }

    ReadOutcome read() { return StationReader::read(link, events); }

    TestLine station;
    MemoryLink port;
    StationLink link;
    RecordingEvents events;
};

QList<int> gauge(std::initializer_list<int> values)
{
    return QList<int>(values);
}

} // namespace

class TestStationReader : public QObject
{
    Q_OBJECT

private slots:
    void wholeReplyAtOnce()
    {
        const QByteArray reply = Reply{.module = 4, .band = 3}.bytes();
        Line line(Answer{reply});

        const ReadOutcome outcome = line.read();

        QCOMPARE(outcome.kind, Kind::Complete);
        QCOMPARE(outcome.reply, reply);
        QVERIFY(outcome.requested);
        QCOMPARE(line.station.received(), bytes({30}));
        // Shown once the request is out, after block 1, after each tone,
        // after the fixed part and after each record.
        QStringList shown{"received 0", "received 10"};
        for (int tone = 1; tone <= 10; ++tone)
            shown.append(QStringLiteral("received %1").arg(10 + tone));
        shown += QStringList{"received 28", "received 46", "received 64"};
        QCOMPARE(line.events.events, shown);
        QCOMPARE(line.events.replies.last(), reply);
    }

    void progress_data()
    {
        // The gauge after each change and the dialog's 0 at the end.
        QTest::addColumn<int>("channels");
        QTest::addColumn<QList<int>>("values");
        QTest::newRow("0") << 0 << gauge({100, 0});
        QTest::newRow("1") << 1 << gauge({100, 0});
        QTest::newRow("2") << 2 << gauge({100, 50, 0});
        QTest::newRow("3") << 3 << gauge({100, 67, 34, 1, 0});
        QTest::newRow("8: step 12,5 rounds to 12") << 8 << gauge({100, 88, 76, 64, 52, 40, 28, 16, 4, 0});
        // 100 / 60 rounds to 2: the gauge reaches 0 at the 50th record and stays.
        QList<int> sixty{100};
        for (int j = 1; j <= 50; ++j)
            sixty.append(100 - 2 * j);
        QTest::newRow("60: stops at 0") << 60 << sixty;
    }
    void progress()
    {
        QFETCH(int, channels);
        QFETCH(QList<int>, values);
        Line line(Answer{Reply::withRecords(channels).bytes()});

        QCOMPARE(line.read().kind, Kind::Complete);

        QList<int> shown = line.events.gauge;
        if (shown.last() != TransferGauge::completed(SequenceStep::BackUp))
            shown.append(TransferGauge::completed(SequenceStep::BackUp));
        QCOMPARE(shown, values);
    }

    void gaps_data()
    {
        // Each gap the station leaves is counted on the line's clock: up to
        // 201 ms in the fixed part and 101 ms in the records is a station
        // still sending, however long the reply takes in all.
        QTest::addColumn<int>("delayMs"); // before the reply
        QTest::addColumn<int>("gapMs");   // between any two bytes
        QTest::addColumn<int>("channels");
        QTest::addColumn<int>("received"); // bytes when the read ended
        QTest::newRow("answers after 150 ms") << 150 << 0 << 2 << 64;
        QTest::newRow("answers after 200 ms") << 200 << 0 << 2 << 64;
        QTest::newRow("answers after 202 ms: no answer") << 202 << 0 << 2 << 0;
        QTest::newRow("90 ms between all bytes") << 0 << 90 << 8 << 28 + 8 * 18;
        QTest::newRow("150 ms between bytes: the records break off") << 0 << 150 << 2 << 28;
        QTest::newRow("150 ms with no records") << 0 << 150 << 0 << 28;
    }
    void gaps()
    {
        QFETCH(int, delayMs);
        QFETCH(int, gapMs);
        QFETCH(int, channels);
        QFETCH(int, received);
        const QByteArray reply = Reply::withRecords(channels).bytes();
        StationLineOptions options;
        options.answerDelayMs = delayMs;
        options.answerGapMs = gapMs;
        Line line(Answer{reply}, options);

        const ReadOutcome outcome = line.read();

        QCOMPARE(outcome.kind, received == reply.size() ? Kind::Complete : Kind::NoAnswer);
        QCOMPARE(outcome.reply, reply.left(received));
    }

    void stopsShort_data()
    {
        // The station sends the first `sent` bytes of a two-channel reply and
        // falls silent (no answer), or goes away (the port fails, as when an
        // adapter is pulled out); the read keeps every byte that came, and
        // shows only whole blocks.
        QTest::addColumn<int>("sent");
        QTest::addColumn<bool>("goesAway");
        QTest::addColumn<QString>("lastShown");
        QTest::addColumn<int>("lines");
        QTest::newRow("no answer at all") << 0 << false << "received 0" << 1;
        QTest::newRow("gone before it answers") << 0 << true << "received 0" << 1;
        QTest::newRow("inside block 1") << 7 << false << "received 0" << 1;
        QTest::newRow("after the third tone") << 13 << false << "received 13" << 6;
        QTest::newRow("gone in the tones") << 14 << true << "received 14" << 7;
        QTest::newRow("inside block 3") << 22 << false << "received 20" << 13;
        QTest::newRow("inside block 4") << 27 << false << "received 20" << 13;
        QTest::newRow("before the first record") << 28 << false << "received 28" << 26;
        QTest::newRow("gone half way through a record") << 37 << true << "received 28" << 26;
        QTest::newRow("after the first record") << 46 << false << "received 46" << 26;
        QTest::newRow("gone one byte short") << 63 << true << "received 46" << 26;
    }
    void stopsShort()
    {
        QFETCH(int, sent);
        QFETCH(bool, goesAway);
        QFETCH(QString, lastShown);
        QFETCH(int, lines);
        const QByteArray reply = Reply{.module = 3, .band = 1}.bytes();
        StationLineOptions options;
        if (goesAway && sent == 0)
            options.hangUpAfter = 1; // the request itself goes unanswered
        else if (goesAway)
            options.hangUpAfterSent = sent;
        Line line(Answer{goesAway ? reply : reply.left(sent)}, options);

        const ReadOutcome outcome = line.read();

        QCOMPARE(outcome.kind, goesAway ? Kind::PortFailure : Kind::NoAnswer);
        QCOMPARE(outcome.failure.startsWith(SerialErrors::cannotReceive(line.station.devicePath(), QString())),
                 goesAway);
        QVERIFY(outcome.requested);
        QVERIFY(!outcome.lineBusy);
        QCOMPARE(outcome.reply, reply.left(sent));
        QCOMPARE(line.events.events.last(), lastShown);
        QCOMPARE(StationReply::decode(line.events.replies.last()).settingsLines().size(), lines);
    }

    void refused_data()
    {
        // More channels than a station holds: refused as soon as block 1 is
        // in, and the rest of the reply, still coming, is dropped.
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<int>("count");
        Reply hundred;
        hundred.records = QList<QByteArray>(100, kRow1);
        QTest::newRow("100") << hundred.bytes() << 100;
        Reply all;
        all.count = 255;
        all.records = QList<QByteArray>(255, kRow1);
        QTest::newRow("255") << all.bytes() << 255;
        QTest::newRow("noise of 200 channels") << noise(28 + 18 * 99 + 300, 200) << 200;
    }
    void refused()
    {
        QFETCH(QByteArray, reply);
        QFETCH(int, count);
        Line line(Answer{reply});

        const ReadOutcome outcome = line.read();

        QCOMPARE(outcome.kind, Kind::Refused);
        QCOMPARE(outcome.refusal, MaybeRefusal(StationReply::tooManyChannels(count)));
        QCOMPARE(outcome.reply, reply.left(10));
        QCOMPARE(line.events.events, QStringList{"received 0"});
        QVERIFY(!line.port.byteReady()); // the rest went with the purge
    }

    void surplusIsPurged_data()
    {
        // Whatever the station sends beyond its reply is dropped, so that a
        // second read on the same line comes out whole.
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QByteArray>("surplus");
        QTest::newRow("forty bytes") << Reply{}.bytes() << QByteArray(40, char(0x7E));
        QTest::newRow("noise of 5 channels") << noise(28 + 18 * 5, 5) << noise(300, 0);
        QTest::newRow("noise of 99 channels") << noise(28 + 18 * 99, 99) << noise(300, 0);
    }
    void surplusIsPurged()
    {
        QFETCH(QByteArray, reply);
        QFETCH(QByteArray, surplus);
        Line line(Answer{reply + surplus});

        for (int read = 1; read <= 2; ++read) {
            const ReadOutcome outcome = line.read();
            QCOMPARE(outcome.kind, Kind::Complete);
            QCOMPARE(outcome.reply, reply);
        }
        QCOMPARE(line.station.received(), bytes({30, 30}));
    }

    void portLostRightAfterOpening()
    {
        // The watch for a quiet line before the request fails on a port whose
        // station went away: a port failure with the serial layer's message,
        // and no request out.
        Line line(Answer{Reply{}.bytes()});
        line.station.hangUp();

        const ReadOutcome outcome = line.read();

        QCOMPARE(outcome.kind, Kind::PortFailure);
        QVERIFY(!outcome.requested);
        QVERIFY2(outcome.failure.startsWith(SerialErrors::cannotReceive(line.station.devicePath(), QString())),
                 qPrintable(outcome.failure));
    }
};

QTEST_GUILESS_MAIN(TestStationReader)
#include "tst_stationreader.moc"
