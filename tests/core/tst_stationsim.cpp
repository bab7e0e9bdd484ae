#include "simulatedstation.h"
#include "support/linkfixtures.h"

#include <QTest>

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

QByteArray feed(SimulatedStation &station, const QByteArray &in, qint64 nowMs = 0)
{
    QByteArray out;
    for (char c : in)
        out += station.onByte(static_cast<std::uint8_t>(c), nowMs);
    return out;
}

} // namespace

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
};

QTEST_GUILESS_MAIN(TestStationSim)
#include "tst_stationsim.moc"
