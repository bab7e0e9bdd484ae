#include "image/frequencyword.h"
#include "station/stationprofile.h"

#include <QtTest>

using FrequencyWord::Side;

namespace {
QByteArray hex(const FrequencyWord::Bytes &bytes)
{
    return QByteArray(reinterpret_cast<const char *>(bytes.data()), 3).toHex(' ').toUpper();
}
} // namespace

class TestFrequencyWord : public QObject
{
    Q_OBJECT

private:
    void examples();

private slots:
    void encodesWorkedExamples_data() { examples(); }
    void encodesWorkedExamples();
    void decodesWorkedExamples_data() { examples(); }
    void decodesWorkedExamples();
    void roundTripsEveryStepOfEveryBand_data();
    void roundTripsEveryStepOfEveryBand();
    void truncatesTextsJustBelowTheGrid();
    void decodingFollowsTheBandConstants();
};

void TestFrequencyWord::examples()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<double>("kHz");
    QTest::addColumn<bool>("receive");
    QTest::addColumn<QByteArray>("bytes");

    const int vhf = int(StationKind::Band144_174);
    const int low = int(StationKind::Band30_60);
    const int uhf = int(StationKind::Band400_486);
    QTest::newRow("144000 rx") << vhf << 144000.0 << true << QByteArray("11 D8 81");
    QTest::newRow("144000 tx") << vhf << 144000.0 << false << QByteArray("11 68 01");
    QTest::newRow("144006,25 rx") << vhf << 144006.25 << true << QByteArray("11 D8 85");
    QTest::newRow("145500 rx") << vhf << 145500.0 << true << QByteArray("11 DC 41");
    QTest::newRow("144900 tx") << vhf << 144900.0 << false << QByteArray("11 6A 41");
    QTest::newRow("173993,75 rx") << vhf << 173993.75 << true << QByteArray("12 23 7D");
    QTest::newRow("30000 rx") << low << 30000.0 << true << QByteArray("11 97 01");
    QTest::newRow("30000 tx") << low << 30000.0 << false << QByteArray("11 2C 01");
    QTest::newRow("59993,75 rx") << low << 59993.75 << true << QByteArray("12 C2 9D");
    QTest::newRow("400000 rx") << uhf << 400000.0 << true << QByteArray("13 77 81");
    QTest::newRow("400000 tx") << uhf << 400000.0 << false << QByteArray("13 E8 01");
    QTest::newRow("433012,5 rx") << uhf << 433012.5 << true << QByteArray("13 CA 09");
}

void TestFrequencyWord::encodesWorkedExamples()
{
    QFETCH(int, kind);
    QFETCH(double, kHz);
    QFETCH(bool, receive);
    QFETCH(QByteArray, bytes);
    const StationProfile &profile = StationProfiles::get(StationKind(kind));
    QCOMPARE(hex(FrequencyWord::encode(kHz, receive ? Side::Receive : Side::Transmit, profile)), bytes);
}

void TestFrequencyWord::decodesWorkedExamples()
{
    QFETCH(int, kind);
    QFETCH(double, kHz);
    QFETCH(bool, receive);
    QFETCH(QByteArray, bytes);
    const QByteArray raw = QByteArray::fromHex(bytes);
    const FrequencyWord::Bytes word{std::uint8_t(raw[0]), std::uint8_t(raw[1]), std::uint8_t(raw[2])};
    const StationProfile &profile = StationProfiles::get(StationKind(kind));
    QCOMPARE(FrequencyWord::decode(word, receive ? Side::Receive : Side::Transmit, profile), kHz);
}

void TestFrequencyWord::roundTripsEveryStepOfEveryBand_data()
{
    QTest::addColumn<int>("kind");
    QTest::newRow("30-60") << int(StationKind::Band30_60);
    QTest::newRow("144-174") << int(StationKind::Band144_174);
    QTest::newRow("400-486") << int(StationKind::Band400_486);
}

void TestFrequencyWord::roundTripsEveryStepOfEveryBand()
{
    QFETCH(int, kind);
    const StationProfile &profile = StationProfiles::get(StationKind(kind));
    const int first = profile.lowKHz * 4 / 25;
    const int last = profile.highKHz * 4 / 25;
    int checked = 0;
    for (int step = first; step <= last; ++step) {
        const double kHz = step * 6.25;
        for (const Side side : {Side::Receive, Side::Transmit}) {
            const FrequencyWord::Bytes word = FrequencyWord::encode(kHz, side, profile);
            // W = 2^20 + 128·Q + 4·A + 1: bit 20 and bit 0 set, bit 1 clear.
            const std::uint32_t w = (std::uint32_t(word[0]) << 16) | (std::uint32_t(word[1]) << 8) | word[2];
            if ((w >> 20) != 1 || (w & 3) != 1)
                QFAIL(qPrintable(QStringLiteral("layout broken at %1 kHz: %2").arg(kHz).arg(w, 6, 16)));
            const double back = FrequencyWord::decode(word, side, profile);
            if (back != kHz)
                QFAIL(qPrintable(QStringLiteral("%1 kHz came back as %2").arg(kHz).arg(back)));
            ++checked;
        }
    }
    QCOMPARE(checked, 2 * (last - first + 1));
}

void TestFrequencyWord::truncatesTextsJustBelowTheGrid()
{
    const StationProfile &profile = StationProfiles::get(StationKind::Band144_174);
    QCOMPARE(hex(FrequencyWord::encode(144006.249, Side::Receive, profile)),
             hex(FrequencyWord::encode(144000.0, Side::Receive, profile)));
    QCOMPARE(hex(FrequencyWord::encode(144006.249, Side::Transmit, profile)),
             hex(FrequencyWord::encode(144000.0, Side::Transmit, profile)));
}

void TestFrequencyWord::decodingFollowsTheBandConstants()
{
    const FrequencyWord::Bytes word{0x11, 0xD8, 0x81};
    QCOMPARE(FrequencyWord::decode(word, Side::Receive, StationProfiles::get(StationKind::Band144_174)), 144000.0);
    // Q = 945, A = 0: 945·8 steps of 6,25 kHz less the 10700 kHz offset.
    QCOMPARE(FrequencyWord::decode(word, Side::Receive, StationProfiles::get(StationKind::Band30_60)), 36550.0);
}

QTEST_APPLESS_MAIN(TestFrequencyWord)
#include "tst_frequencyword.moc"
