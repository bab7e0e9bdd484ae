#include "link/linktexts.h"
#include "link/portsearch.h"
#include "link/qtseriallink.h"
#include "simulatedstation.h"
#include "stationline.h"
#include "support/linkfixtures.h"

#include <QStandardPaths>
#include <QTest>

using namespace LinkFixtures;

namespace {

QByteArray silent(std::uint8_t)
{
    return {};
}

// Short waits: what is tested here is the order of the bytes, not the clock.
PortSearchTimings quick()
{
    PortSearchTimings t;
    t.settleMs = 10;
    t.answerDelayMs = 10;
    return t;
}

const QByteArray kProbeAndClose = bytes({175, 5});

} // namespace

class TestPortSearch : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void stationOnCom3()
    {
        StationLine com1(silent);
        StationLine com2(silent);
        SimulatedStation station;
        StationLine com3([&station](std::uint8_t b) { return station.onByte(b, 0); });
        StationLine com4([](std::uint8_t b) { return QByteArray(1, char(b)); }); // would answer too
        for (StationLine *line : {&com1, &com2, &com3, &com4})
            line->start();
        OptionsFile file;
        file.writePorts({{1, com1.devicePath()},
                         {2, com2.devicePath()},
                         {3, com3.devicePath()},
                         {4, com4.devicePath()},
                         {5, QStringLiteral("/nonexistent/ttyS5")}});
        auto opened = std::make_shared<QStringList>();
        RecordingObserver view;
        PortSearch search(view, file.path(), loggingFactory(opened), quick());

        std::uint8_t portNumber = 2;
        search.run(portNumber);

        QCOMPARE(portNumber, std::uint8_t(3));
        QCOMPARE(*opened, (QStringList{com1.devicePath(), com2.devicePath(), com3.devicePath()}));
        for (StationLine *line : {&com1, &com2, &com3}) {
            QVERIFY(line->waitForReceived(2, 2000));
            QCOMPARE(line->received(), kProbeAndClose);
        }
        QCOMPARE(com4.received(), QByteArray());
        QCOMPARE(view.events, (QStringList{QStringLiteral("clear ports"), QStringLiteral("caption Идет Поиск..."),
                                           QStringLiteral("caption Подключились")}));
    }

    void anyAnswerCounts_data()
    {
        QTest::addColumn<int>("answer");
        QTest::newRow("0") << 0;
        QTest::newRow("5") << 5;
        QTest::newRow("255") << 255;
    }
    void anyAnswerCounts()
    {
        QFETCH(int, answer);
        StationLine com1([answer](std::uint8_t b) { return b == 175 ? bytes({answer}) : QByteArray(); });
        com1.start();
        OptionsFile file;
        file.writePorts({{1, com1.devicePath()}});
        RecordingObserver view;
        PortSearch search(view, file.path(), QtSerialLink::factory(), quick());
        std::uint8_t portNumber = 2;
        search.run(portNumber);
        QCOMPARE(portNumber, std::uint8_t(1));
        QCOMPARE(view.captions.last(), QStringLiteral("Подключились"));
    }

    void nothingAnswers()
    {
        StationLine com2(silent);
        StationLine com7(silent);
        com2.start();
        com7.start();
        OptionsFile file;
        file.writePorts({{2, com2.devicePath()}, {7, com7.devicePath()}});
        auto opened = std::make_shared<QStringList>();
        RecordingObserver view;
        PortSearch search(view, file.path(), loggingFactory(opened), quick());
        std::uint8_t portNumber = 1;
        search.run(portNumber);
        QCOMPARE(portNumber, std::uint8_t(0));
        QCOMPARE(*opened, (QStringList{com2.devicePath(), com7.devicePath()}));
        for (StationLine *line : {&com2, &com7}) {
            QVERIFY(line->waitForReceived(2, 2000));
            QCOMPARE(line->received(), kProbeAndClose);
        }
        QCOMPARE(view.captions, (QStringList{QStringLiteral("Идет Поиск..."), QStringLiteral("Не Подключились")}));
    }

    void portsInUseAreSkipped()
    {
        StationLine busy([](std::uint8_t b) { return QByteArray(1, char(b)); });
        StationLine com3([](std::uint8_t b) { return QByteArray(1, char(b)); });
        busy.start();
        com3.start();
        QtSerialLink holder;
        holder.open(busy.devicePath());
        OptionsFile file;
        file.writePorts({{1, QStringLiteral("/nonexistent/ttyS1")}, {2, busy.devicePath()}, {3, com3.devicePath()}});
        RecordingObserver view;
        PortSearch search(view, file.path(), QtSerialLink::factory(), quick());
        std::uint8_t portNumber = 0;
        search.run(portNumber);
        QCOMPARE(portNumber, std::uint8_t(3));
        QCOMPARE(busy.received(), QByteArray());
    }
};

QTEST_GUILESS_MAIN(TestPortSearch)
#include "tst_portsearch.moc"
