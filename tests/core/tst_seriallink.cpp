#include "link/linktexts.h"
#include "link/qtseriallink.h"
#include "link/transferlink.h"
#include "stationline.h"
#include "support/linkfixtures.h"

#include <QStandardPaths>
#include <QTest>
#include <QThread>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace LinkFixtures;

namespace {

// Echoes every byte, like the simplest station.
QByteArray echo(std::uint8_t byte)
{
    return QByteArray(1, static_cast<char>(byte));
}

QByteArray silent(std::uint8_t)
{
    return {};
}

// While it lives, the process may not open `device` (when `active`): the
// device's mode lets nobody in, and a process of root runs as the user
// nobody, whom the mode keeps out.
class AccountWithoutDevices
{
public:
    AccountWithoutDevices(bool active, const QString &device) : m_device(QFile::encodeName(device))
    {
        if (!active)
            return;
        struct stat info
        {
        };
        QVERIFY(::stat(m_device.constData(), &info) == 0);
        m_mode = info.st_mode & 07777;
        QVERIFY(::chmod(m_device.constData(), 0) == 0);
        if (::geteuid() == 0)
            QVERIFY(::seteuid(kNobody) == 0);
    }
    ~AccountWithoutDevices()
    {
        if (m_mode < 0)
            return;
        if (::getuid() == 0 && ::seteuid(0) != 0)
            qFatal("cannot become root again");
        ::chmod(m_device.constData(), mode_t(m_mode));
    }
    QString name() const
    {
        const passwd *entry = ::getpwuid(::geteuid());
        return entry ? QString::fromLocal8Bit(entry->pw_name) : QString();
    }

private:
    static constexpr uid_t kNobody = 65534;
    QByteArray m_device;
    int m_mode = -1;
};

} // namespace

class TestSerialLink : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void openFailureNamesDeviceAndReason_data()
    {
        QTest::addColumn<bool>("forbidden");   // a device the account may not open
        QTest::addColumn<QString>("expected"); // text the message must hold, {device} and {account} filled in
        QTest::newRow("missing") << false << "Не удалось открыть последовательный порт {device}: No such file";
        QTest::newRow("no permission")
            << true
            << "Нет доступа к последовательному порту {device}: учётная запись {account} не входит в группу dialout. "
               "Добавьте её в группу командой\n    sudo adduser {account} dialout\nи войдите в систему заново";
    }
    void openFailureNamesDeviceAndReason()
    {
        QFETCH(bool, forbidden);
        QFETCH(QString, expected);
        StationLine line(echo);
        const QString device = forbidden ? line.devicePath() : QStringLiteral("/nonexistent/ttyX");
        QtSerialLink link;
        QString error;
        {
            // Root may open anything: the open then runs as nobody, as a
            // technician outside the group dialout would.
            const AccountWithoutDevices account(forbidden, device);
            error = platformError([&] { link.open(device); });
            expected.replace("{account}", account.name());
        }
        expected.replace("{device}", device);
        QVERIFY2(error.contains(expected), qPrintable(error));
        QVERIFY(!link.isOpen());
    }

    void closedPortOperationsFail_data()
    {
        QTest::addColumn<int>("operation");
        QTest::addColumn<bool>("openedBefore");
        const char *names[] = {"send", "ready", "take", "wait", "purge receive", "purge send"};
        for (int op = 0; op < 6; ++op) {
            QTest::addRow("%s, never opened", names[op]) << op << false;
            QTest::addRow("%s, after close", names[op]) << op << true;
        }
    }
    void closedPortOperationsFail()
    {
        QFETCH(int, operation);
        QFETCH(bool, openedBefore);
        StationLine station(echo);
        QtSerialLink link;
        if (openedBefore) {
            link.open(station.devicePath());
            link.close();
        }
        const QString error = platformError([&] {
            switch (operation) {
            case 0:
                link.sendByte(1);
                break;
            case 1:
                link.byteReady();
                break;
            case 2:
                link.takeByte();
                break;
            case 3:
                link.waitForByte(1);
                break;
            case 4:
                link.purgeReceive();
                break;
            default:
                link.purgeSend();
                break;
            }
        });
        QCOMPARE(error, SerialErrors::notOpen());
    }

    void openIsExclusive()
    {
        StationLine station(echo);
        QtSerialLink first;
        first.open(station.devicePath());
        QtSerialLink second;
        QVERIFY(!platformError([&] { second.open(station.devicePath()); }).isEmpty());
        first.close();
        second.open(station.devicePath()); // free again once the first has let go
        QVERIFY(second.isOpen());
    }

    void everyByteValueGoesOutAndComesBack()
    {
        StationLine station(echo);
        station.start();
        QtSerialLink link;
        link.open(station.devicePath());
        // A pseudo-terminal has no low latency to give, and is used all the same.
        QVERIFY(!link.lowLatency());
        QByteArray expected;
        QByteArray back;
        for (int v = 0; v < 256; ++v) {
            link.sendByte(static_cast<std::uint8_t>(v));
            expected.append(static_cast<char>(v));
            while (!link.waitForByte(1000)) {
            }
            back.append(static_cast<char>(link.takeByte()));
        }
        QCOMPARE(station.received(), expected);
        QCOMPARE(back, expected);
    }

    void bytesArrivingWhileBusyAreKeptInOrder()
    {
        StationLine station(silent);
        station.start();
        QtSerialLink link;
        link.open(station.devicePath());
        QByteArray sent;
        for (int i = 0; i < 3000; ++i)
            sent.append(static_cast<char>(i * 7));
        station.sendUnprompted(sent);
        QThread::msleep(200); // busy elsewhere while the bytes arrive
        QByteArray got;
        while (got.size() < sent.size() && link.waitForByte(1000))
            got.append(static_cast<char>(link.takeByte()));
        QCOMPARE(got, sent);
        QVERIFY(!link.byteReady());
    }

    void purgeReceiveDropsWaitingBytes()
    {
        StationLine station(silent);
        station.start();
        QtSerialLink link;
        link.open(station.devicePath());
        station.sendUnprompted(bytes({1, 2, 3}));
        QVERIFY(link.waitForByte(2000));
        QThread::msleep(50);
        link.purgeReceive();
        QVERIFY(!link.byteReady());
        station.sendUnprompted(bytes({9}));
        QVERIFY(link.waitForByte(2000));
        QCOMPARE(link.takeByte(), std::uint8_t(9));
    }

    // --- the acknowledgement wait ---

    void waitAckTakesOneAnswer_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("delayMs");
        QTest::newRow("at once") << 0x55 << 0;
        QTest::newRow("zero byte") << 0 << 0;
        QTest::newRow("0xFF") << 0xFF << 0;
        QTest::newRow("after 150 ms") << 0x06 << 150;
    }
    void waitAckTakesOneAnswer()
    {
        QFETCH(int, answer);
        QFETCH(int, delayMs);
        StationLineOptions options;
        options.answerDelayMs = delayMs;
        StationLine station([answer](std::uint8_t) { return bytes({answer}); }, options);
        station.start();
        OptionsFile file;
        file.writePorts({{3, station.devicePath()}});
        RecordingObserver view;
        TransferLink link(view, file.path());
        link.CreatePort();
        link.OpenPort(3);
        link.SendByte(20);
        QVERIFY(link.WaitAck());
        QVERIFY(link.acknowledged());
        QVERIFY(link.IsOpen());
        QVERIFY(!link.ByteReady()); // exactly one byte consumed
        QVERIFY(view.events.isEmpty());
        QCOMPARE(station.received(), bytes({20}));
    }

    void silentStationAbandonsAfter201EmptyPolls()
    {
        StationLine station(silent);
        station.start();
        OptionsFile file;
        file.writePorts({{2, station.devicePath()}});
        RecordingObserver view;
        view.setTransferButtonsEnabled(false);
        view.events.clear();
        TransferLink link(view, file.path());
        link.CreatePort();
        link.OpenPort(2);
        link.SendByte(20);
        QVERIFY(!link.WaitAck());
        QVERIFY(!link.acknowledged());
        // One keep-alive per empty poll: 200 allowed, given up at the next.
        QCOMPARE(view.keepAlives, LinkTimings().ackPolls + 1);
        QCOMPARE(view.events, (QStringList{QStringLiteral("status AK"), QStringLiteral("Exit on"),
                                           QStringLiteral("Write on"), QStringLiteral("Read on")}));
        QCOMPARE(LinkTexts::noAnswer(), QStringLiteral("A") + QChar(u'K')); // Latin letters
        QVERIFY(!link.IsOpen());
        QCOMPARE(platformError([&] { link.SendByte(1); }), SerialErrors::notOpen());
    }

    void receiveByteCountsItsOwnStart_data()
    {
        QTest::addColumn<int>("counterStart");
        QTest::newRow("100") << 100;
        QTest::newRow("0") << 0;
    }
    void receiveByteCountsItsOwnStart()
    {
        QFETCH(int, counterStart);
        StationLine station(silent);
        station.start();
        OptionsFile file;
        file.writePorts({{1, station.devicePath()}});
        RecordingObserver view;
        TransferLink link(view, file.path());
        link.CreatePort();
        link.OpenPort(1);
        QVERIFY(!link.receiveByte(counterStart).has_value());
        QCOMPARE(view.keepAlives, counterStart + 1);
        QVERIFY(view.events.isEmpty()); // a bare receive abandons nothing
        QVERIFY(link.IsOpen());
    }

    void byteWaitingBeforeTheWaitCounts()
    {
        StationLine station(silent);
        station.start();
        OptionsFile file;
        file.writePorts({{1, station.devicePath()}});
        RecordingObserver view;
        TransferLink link(view, file.path());
        link.CreatePort();
        link.OpenPort(1);
        station.sendUnprompted(bytes({0x42}));
        QTest::qWait(100);
        QVERIFY(link.WaitAck());
        QCOMPARE(view.keepAlives, 0);
    }

    void twoAnswersAcknowledgeTwoBytes()
    {
        // Two answers to the first byte, none to the second: the spare
        // answer acknowledges the second byte at once.
        int seen = 0;
        StationLine station([&seen](std::uint8_t) { return ++seen == 1 ? bytes({1, 2}) : QByteArray(); });
        station.start();
        OptionsFile file;
        file.writePorts({{1, station.devicePath()}});
        RecordingObserver view;
        TransferLink link(view, file.path());
        link.CreatePort();
        link.OpenPort(1);
        link.SendByte(10);
        QVERIFY(link.WaitAck());
        QTest::qWait(100);
        link.SendByte(11);
        QVERIFY(link.WaitAck());
        link.SendByte(12);
        QVERIFY(!link.WaitAck());
        QVERIFY(station.waitForReceived(3, 2000));
        QCOMPARE(station.received(), bytes({10, 11, 12}));
    }

    // --- choosing the device ---

    void openPortUsesTheMap()
    {
        StationLine com3(echo);
        StationLine com5(echo);
        com3.start();
        com5.start();
        OptionsFile file;
        file.writePorts({{3, com3.devicePath()}, {5, com5.devicePath()}});
        RecordingObserver view;
        TransferLink link(view, file.path());
        link.CreatePort();
        link.OpenPort(5);
        link.SendByte(77);
        QVERIFY(link.WaitAck());
        link.OpenPort(3); // closes COM5 first
        link.SendByte(78);
        QVERIFY(link.WaitAck());
        QCOMPARE(com5.received(), bytes({77}));
        QCOMPARE(com3.received(), bytes({78}));
        QVERIFY(view.prompts.isEmpty());
    }

    void openPortFailures_data()
    {
        QTest::addColumn<int>("portNumber");
        QTest::addColumn<QString>("expectedStart");
        QTest::newRow("no device for the port") << 4 << SerialErrors::noDevice(QStringLiteral("COM4"));
        QTest::newRow("device missing") << 6
                                        << SerialErrors::cannotOpen(QStringLiteral("/nonexistent/ttyQ6"), QString());
    }
    void openPortFailures()
    {
        QFETCH(int, portNumber);
        QFETCH(QString, expectedStart);
        OptionsFile file;
        file.writePorts({{6, QStringLiteral("/nonexistent/ttyQ6")}});
        RecordingObserver view;
        TransferLink link(view, file.path());
        link.CreatePort();
        const QString error = platformError([&] { link.OpenPort(static_cast<std::uint8_t>(portNumber)); });
        QVERIFY2(error.startsWith(expectedStart), qPrintable(error));
        QVERIFY(!link.IsOpen());
        QVERIFY(view.events.isEmpty());
    }

    void promptListsPresentPortsWithoutOpening()
    {
        StationLine com2(echo);
        StationLine com9(echo);
        StationLine busy(echo);
        com2.start();
        com9.start();
        OptionsFile file;
        file.writePorts({{2, com2.devicePath()},
                         {3, QStringLiteral("/nonexistent/ttyQ3")},
                         {5, busy.devicePath()},
                         {9, com9.devicePath()}});
        QtSerialLink holder;
        holder.open(busy.devicePath()); // in use by someone else

        RecordingObserver view;
        TransferLink link(view, file.path());
        link.CreatePort();
        view.promptAnswer = PortEntry{QStringLiteral("COM9"), com9.devicePath()};
        link.OpenPort(0);
        QCOMPARE(view.prompts.size(), 1);
        // Finding out that COM5 is in use would take opening it.
        const QList<PortEntry> expected{{QStringLiteral("COM2"), com2.devicePath()},
                                        {QStringLiteral("COM5"), busy.devicePath()},
                                        {QStringLiteral("COM9"), com9.devicePath()}};
        QCOMPARE(view.prompts.first(), expected);
        link.SendByte(5);
        QVERIFY(link.WaitAck());
        QCOMPARE(com9.received(), bytes({5}));
        QCOMPARE(com2.received(), QByteArray());
    }

    void promptCancelledIsNoPortError()
    {
        StationLine com1(echo);
        OptionsFile file;
        file.writePorts({{1, com1.devicePath()}});
        RecordingObserver view;
        TransferLink link(view, file.path());
        link.CreatePort();
        QCOMPARE(platformError([&] { link.OpenPort(0); }), SerialErrors::noPortChosen());
        QCOMPARE(view.prompts.size(), 1);
        QVERIFY(!link.IsOpen());
    }
};

QTEST_GUILESS_MAIN(TestSerialLink)
#include "tst_seriallink.moc"
