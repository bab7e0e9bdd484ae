#include "lineschedule.h"
#include "simulatedstation.h"
#include "support/linkfixtures.h"

#include <QSet>
#include <QTest>
#include <cmath>

using namespace LinkFixtures;

namespace {

// A write of n channels after the start byte: header 3..7 (channel count
// third), tones, Id high and low, header 8..11, module, band three times,
// records.
QByteArray writeBody(int channels)
{
    QByteArray w = bytes({6, 16, channels, 200, 1});
    for (int t = 0; t < 10; ++t)
        w.append(static_cast<char>(100 + t));
    w += bytes({0xFE, 0x01, 0x45, 8, 100, 22, 5, 3, 3, 3});
    for (int i = 0; i < 18 * channels; ++i)
        w.append(static_cast<char>(i));
    return w;
}

// Each byte sent alone at its time (ms); when each can be taken (ms).
QList<double> deliveries(LineSchedule &schedule, const QList<double> &sentMs)
{
    QList<double> out;
    for (const double ms : sentMs)
        for (const LineSchedule::Delivery &d : schedule.send(LineSchedule::Us(ms * 1000), bytes({1})))
            out.append(double(d.at) / 1000);
    return out;
}

QByteArray feed(SimulatedStation &station, const QByteArray &in, qint64 nowMs = 0)
{
    QByteArray out;
    for (char c : in)
        out += station.onByte(static_cast<std::uint8_t>(c), nowMs);
    return out;
}

} // namespace

Q_DECLARE_METATYPE(StationLineOptions)

class TestStationSim : public QObject
{
    Q_OBJECT

private slots:
    void writeIsAnsweredAndReadBackInReadOrder_data()
    {
        QTest::addColumn<int>("channels");
        QTest::newRow("0") << 0;
        QTest::newRow("1") << 1;
        QTest::newRow("3") << 3;
    }
    void writeIsAnsweredAndReadBackInReadOrder()
    {
        QFETCH(int, channels);
        StationMemory initial;
        initial.serial = {0x0A, 0x0B, 0x0C};
        SimulatedStation station(initial);
        const QByteArray body = writeBody(channels);
        const QByteArray write = bytes({20}) + body;

        QCOMPARE(feed(station, write), write); // one answer per byte, its copy
        QCOMPARE(station.completedWrites(), 1);
        QVERIFY(!station.writing());

        const QByteArray reply = feed(station, bytes({30}));
        QByteArray expected = bytes({0x0A, 0x0B, 0x0C});
        expected += body.mid(0, 5);      // header 3..7
        expected += bytes({0xFE, 0x01}); // Id high, low
        expected += body.mid(5, 10);     // tones
        expected += body.mid(17, 4);     // header 8..11
        expected += bytes({5, 3, 0, 0}); // module, band, two spare bytes
        expected += body.mid(25);
        QCOMPARE(reply.size(), 28 + 18 * channels);
        QCOMPARE(reply, expected);
    }

    void idleBytes_data()
    {
        QTest::addColumn<int>("byte");
        QTest::addColumn<QByteArray>("answer");
        QTest::newRow("probe") << 175 << bytes({175});
        QTest::newRow("closing byte") << 5 << QByteArray();
        QTest::newRow("stray byte") << 99 << QByteArray();
    }
    void idleBytes()
    {
        QFETCH(int, byte);
        QFETCH(QByteArray, answer);
        SimulatedStation station;
        QCOMPARE(station.onByte(static_cast<std::uint8_t>(byte), 0), answer);
        QVERIFY(!station.writing());
    }

    void bytesOfAWriteAreDataEvenWhenTheyLookLikeCommands()
    {
        SimulatedStation station;
        QByteArray body = writeBody(1);
        body[0] = char(30);  // brightness byte equal to the read command
        body[3] = char(175); // key beep equal to the probe
        QCOMPARE(feed(station, bytes({20}) + body), bytes({20}) + body);
        QCOMPARE(station.completedWrites(), 1);
        QCOMPARE(station.memory().settings[0], std::uint8_t(30));
    }

    void interruptedWriteIsDropped()
    {
        SimulatedStation station;
        const QByteArray body = writeBody(2);
        feed(station, bytes({20}) + body.left(12), 1000);
        QVERIFY(station.writing());
        // A read request long after: the half write is forgotten.
        const QByteArray reply = station.onByte(30, 1000 + SimulatedStation::WriteGapResetMs + 1);
        QCOMPARE(reply.size(), 28);
        QCOMPARE(station.completedWrites(), 0);
        QCOMPARE(station.memory().channelCount(), 0);
    }

    // The station's bytes pass a USB adapter that hands them on when its
    // latency timer runs out: a byte that came in waits for the next expiry.
    void adapterDelivery_data()
    {
        QTest::addColumn<StationLineOptions>("options");
        QTest::addColumn<QList<double>>("sentMs");
        QTest::addColumn<QList<double>>("takenMs");
        using O = StationLineOptions;
        const QList<double> sent{0.5, 3, 17, 32, 33};
        QTest::newRow("no adapter") << O{} << sent << sent;
        QTest::newRow("16 ms") << O{.adapterLatencyMs = 16} << sent << QList<double>{16, 16, 32, 48, 48};
        QTest::newRow("1 ms") << O{.adapterLatencyMs = 1} << sent << QList<double>{1, 4, 18, 33, 34};
        QTest::newRow("the third byte lost")
            << O{.adapterLatencyMs = 16, .loseByte = 3} << sent << QList<double>{16, 16, 48, 48};
        QTest::newRow("90 ms between bytes")
            << O{.answerGapMs = 90} << sent << QList<double>{0.5, 90.5, 180.5, 270.5, 360.5};
        // 8.333 ms a character.
        QTest::newRow("paced, 4 ms") << O{.lineTime = true, .adapterLatencyMs = 4} << QList<double>{0, 0, 0}
                                     << QList<double>{12, 20, 28};
    }
    void adapterDelivery()
    {
        QFETCH(StationLineOptions, options);
        QFETCH(QList<double>, sentMs);
        QFETCH(QList<double>, takenMs);
        LineSchedule schedule(options);
        QCOMPARE(deliveries(schedule, sentMs), takenMs);
    }

    // A jittering adapter hands each burst on up to its jitter late, never
    // before the byte came in, never out of order, the same way every time
    // for one seed.
    void adapterJitter_data()
    {
        QTest::addColumn<int>("latencyMs");
        QTest::addColumn<int>("jitterMs");
        QTest::newRow("16 ms, 4 ms jitter") << 16 << 4;
        QTest::newRow("4 ms, 2 ms jitter") << 4 << 2;
        QTest::newRow("jitter as long as the latency") << 16 << 16;
    }
    void adapterJitter()
    {
        QFETCH(int, latencyMs);
        QFETCH(int, jitterMs);
        QList<double> sent;
        for (int i = 0; i < 400; ++i)
            sent.append(i * 8.3);
        const StationLineOptions options{.adapterLatencyMs = latencyMs, .adapterJitterMs = jitterMs};
        LineSchedule schedule(options), again(options),
            otherSeed(StationLineOptions{.adapterLatencyMs = latencyMs, .adapterJitterMs = jitterMs, .seed = 2});
        const QList<double> taken = deliveries(schedule, sent);
        QCOMPARE(taken.size(), sent.size());
        QSet<int> lateness;
        for (qsizetype i = 0; i < taken.size(); ++i) {
            QVERIFY(taken[i] > sent[i] && (i == 0 || taken[i] >= taken[i - 1]));
            const double late = std::fmod(taken[i], latencyMs);
            QVERIFY2(late <= jitterMs || latencyMs - late < 1e-9, qPrintable(QString::number(taken[i])));
            lateness.insert(int(late * 1000));
        }
        QVERIFY2(lateness.size() > 10, "the bursts do not jitter");
        QCOMPARE(deliveries(again, sent), taken);
        QVERIFY(deliveries(otherSeed, sent) != taken);
    }

    // A station powering up sends stray bytes and takes nothing in until
    // the time of the next one has passed.
    void strayBytesWhilePoweringUp()
    {
        LineSchedule schedule(StationLineOptions{.strayBytes = 3, .strayGapMs = 20});
        QList<double> times;
        for (const LineSchedule::Delivery &d : schedule.strayBytes())
            times.append(double(d.at) / 1000);
        QCOMPARE(times, (QList<double>{0, 20, 40}));
        QVERIFY(!schedule.ready(59'999) && schedule.ready(60'000));
        QVERIFY(LineSchedule(StationLineOptions{}).ready(0));
    }
};

QTEST_GUILESS_MAIN(TestStationSim)
#include "tst_stationsim.moc"
