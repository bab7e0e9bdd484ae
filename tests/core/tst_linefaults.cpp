// Faults of the line during a transfer, on a real pseudo-terminal: the
// station goes away in the middle, answers with garbage, or its port is gone
// before the transfer starts. Every transfer must end with the dialog's own
// status, the buttons usable, the port closed and a message, never a crash.

#include "link/linktexts.h"
#include "link/stationwriter.h"
#include "link/transferlink.h"
#include "simulatedstation.h"
#include "state/appstate.h"
#include "stationline.h"
#include "support/linkfixtures.h"

#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <QTest>
#include <memory>

using namespace LinkFixtures;

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

QByteArray echo(std::uint8_t byte)
{
    return QByteArray(1, static_cast<char>(byte));
}

// A station line on COM2, with the link of one transfer dialog.
class Line
{
public:
    explicit Line(StationLine::Responder responder, StationLineOptions options = {})
        : station(std::make_unique<StationLine>(std::move(responder), options)), link(view, file.path())
    {
        file.writePorts({{2, station->devicePath()}});
        station->start();
    }

    OptionsFile file;
    std::unique_ptr<StationLine> station;
    RecordingObserver view;
    TransferLink link;
};

// A port whose station's end goes away as soon as the port is open.
class HangUpAfterOpen final : public SerialLink
{
public:
    explicit HangUpAfterOpen(StationLine *station) : m_station(station) {}
    void open(const QString &device) override
    {
        m_link.open(device);
        m_station->hangUp();
    }
    bool isOpen() const override { return m_link.isOpen(); }
    void close() override { m_link.close(); }
    void sendByte(std::uint8_t byte) override { m_link.sendByte(byte); }
    bool byteReady() override { return m_link.byteReady(); }
    std::uint8_t takeByte() override { return m_link.takeByte(); }
    bool waitForByte(int ms) override { return m_link.waitForByte(ms); }
    void purgeReceive() override { m_link.purgeReceive(); }
    void purgeSend() override { m_link.purgeSend(); }

private:
    StationLine *m_station;
    QtSerialLink m_link;
};

// The write of n channels is 26 + 18·n bytes: start byte, 25 prefix bytes, records.
constexpr int kPrefix = 26;

} // namespace

class TestLineFaults : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // The station goes away while the write runs: the dialog shows "AK", the
    // buttons work again, the port is closed and the serial layer's error is
    // the message. Nothing more goes out after the hang-up.
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

        const QString error = platformError([&] { StationWriter::write(state, line.link); });

        QVERIFY2(!error.isEmpty(), "the write must end with a message");
        qDebug() << error << line.view.statuses << line.view.progress;
        QCOMPARE(line.view.statuses.first(), LinkTexts::writing());
        QCOMPARE(line.view.statuses.last(), LinkTexts::noAnswer());
        QVERIFY(line.view.allEnabled());
        QVERIFY(!line.link.IsOpen());
        QCOMPARE(line.view.progress, progress);
        QCOMPARE(line.station->received().size(), hangUpAfter);
    }

    // The port goes away the moment after it was opened, before the start
    // byte (an adapter pulled out): the send itself fails.
    void portGoneRightAfterOpening()
    {
        Line line(echo);
        StationLine *station = line.station.get();
        TransferLink link(line.view, line.file.path(), [station] {
            return std::make_unique<HangUpAfterOpen>(station);
        });
        const AppState state = checkedState(1);

        const QString error = platformError([&] { StationWriter::write(state, link); });

        qDebug() << error << line.view.statuses << line.view.progress << line.view.events;
        QVERIFY2(!error.isEmpty(), "the write must end with a message");
        QVERIFY(line.view.allEnabled());
        QVERIFY(!link.IsOpen());
    }
};

QTEST_GUILESS_MAIN(TestLineFaults)
#include "tst_linefaults.moc"
