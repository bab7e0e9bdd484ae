// The "USB" search on lines in memory, whose time the lines count: which
// ports it opens, what each receives, the first that answers, and ports
// that are absent or held by another transfer.

#include "link/portsearch.h"
#include "simulatedstation.h"
#include "support/linkfixtures.h"

#include <QTest>

using namespace LinkFixtures;

namespace {

QByteArray silent(std::uint8_t)
{
    return {};
}

QByteArray echo(std::uint8_t byte)
{
    return QByteArray(1, char(byte));
}

const QByteArray kProbeAndClose = bytes({175, 5});

} // namespace

class TestPortSearch : public QObject
{
    Q_OBJECT

private slots:
    void search_data()
    {
        // Ports COM1.. by letter: S silent, A a station, E echoes anything,
        // N named to no device, B held by another transfer, 0 and 9 answer
        // the probe with that byte.
        QTest::addColumn<QString>("ports");
        QTest::addColumn<int>("found");
        QTest::addColumn<QString>("probed"); // the ports that got the probe and the closing byte
        QTest::newRow("a station on COM3") << "SSAE" << 3 << "SSA";
        QTest::newRow("nothing answers") << "SNSNNNS" << 0 << "SSS";
        QTest::newRow("an answer of 0 counts") << "0" << 1 << "0";
        QTest::newRow("an answer of 9 counts") << "S9" << 2 << "S9";
        QTest::newRow("a port in use is skipped") << "NBA" << 3 << "A";
    }
    void search()
    {
        QFETCH(QString, ports);
        QFETCH(int, found);
        QFETCH(QString, probed);
        SimulatedStation station;
        std::vector<std::unique_ptr<TestLine>> lines;
        QMap<int, QString> devices;
        MemoryLink holder;
        for (qsizetype i = 0; i < ports.size(); ++i) {
            const QChar kind = ports.at(i);
            TestLine::Responder responder = silent;
            if (kind == u'A')
                responder = [&station](std::uint8_t b) { return station.onByte(b, 0); };
            else if (kind == u'E' || kind == u'B')
                responder = echo;
            else if (kind.isDigit())
                responder = [kind](std::uint8_t b) { return b == 175 ? bytes({kind.digitValue()}) : QByteArray(); };
            lines.push_back(std::make_unique<TestLine>(responder));
            if (kind != u'N')
                devices.insert(int(i) + 1, lines.back()->devicePath());
            if (kind == u'B')
                holder.open(lines.back()->devicePath());
        }
        OptionsFile file;
        file.writePorts(devices);
        auto opened = std::make_shared<QStringList>();

        QCOMPARE(int(PortSearch::run(file.path(), loggingFactory(opened))), found);

        QStringList probedPorts;
        for (qsizetype i = 0; i < ports.size(); ++i) {
            const QByteArray received = lines.at(std::size_t(i))->received();
            if (received == kProbeAndClose)
                probedPorts.append(ports.at(i));
            else
                QCOMPARE(received, QByteArray());
        }
        QCOMPARE(probedPorts.join(QString()), probed);
        // Ports are opened in their order up to the one that answers, and
        // none after it.
        QCOMPARE(opened->size(), found == 0 ? devices.size() : devices.keys().indexOf(found) + 1);
    }

    void waitsAreTheLines()
    {
        // The search reads from 100 ms after its probe for 101 ms: a station
        // that answers within them is found, one that answers later is not.
        // The line counts the waits (the settle's second among them): no
        // real time passes.
        for (const auto &[delayMs, found] : {std::pair{0, 1}, {100, 1}, {102, 0}}) {
            StationLineOptions options;
            options.answerDelayMs = delayMs + 100; // the search reads 100 ms after its probe
            TestLine com1(echo, options);
            OptionsFile file;
            file.writePorts({{1, com1.devicePath()}});
            QCOMPARE(int(PortSearch::run(file.path(), testLinkFactory())), found);
        }
    }
};

QTEST_GUILESS_MAIN(TestPortSearch)
#include "tst_portsearch.moc"
