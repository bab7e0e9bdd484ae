// The serial link of Linux on a pseudo-terminal: a QSerialPort opened by its
// resolved path and locked, its failures, the bytes both ways, its clock,
// and the ports the prompt offers. The stations here answer at once and the
// waits are far above a loaded machine's stalls.
#include "link/qtseriallink.h"
#include "stationline.h"
#include "support/linkfixtures.h"
#include "transfer/linksetup.h"

#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
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
        QThread::msleep(50); // the other two bytes follow the first on the line
        link.purgeReceive();
        QVERIFY(!link.byteReady());
        station.sendUnprompted(bytes({9}));
        QVERIFY(link.waitForByte(2000));
        QCOMPARE(link.takeByte(), std::uint8_t(9));
    }

    // One device reached by two names is one port: while a link holds it,
    // another by any name is refused as busy, and the device is free again
    // once the first lets go.
    void deviceHeldUnderAnotherName_data()
    {
        QTest::addColumn<int>("naming");
        QTest::newRow("the same path") << 0;
        QTest::newRow("a symbolic link") << 1;
        QTest::newRow("a link to a link") << 2;
    }
    void deviceHeldUnderAnotherName()
    {
        QFETCH(int, naming);
        StationLine station(echo);
        const QString device = station.devicePath();
        QTemporaryDir dir;
        QString other = device;
        for (int i = 0; i < naming; ++i) {
            const QString link = dir.filePath(QStringLiteral("link%1").arg(i));
            QVERIFY(QFile::link(other, link));
            other = link;
        }
        auto holder = std::make_unique<QtSerialLink>();
        holder->open(device);
        QtSerialLink second;
        QCOMPARE(platformError([&] { second.open(other); }), SerialErrors::portBusy(other));
        holder.reset();
        second.open(other);
        QVERIFY(second.isOpen());
    }

    void clock()
    {
        // A real line's time is the system's: a pause sleeps it, and a wait
        // for a byte that does not come lasts its time.
        StationLine station(silent);
        QtSerialLink link;
        link.open(station.devicePath());
        QElapsedTimer timer;
        timer.start();
        const qint64 before = link.clockMs();
        link.idle(30);
        QVERIFY(!link.waitForByte(30));
        QVERIFY(link.clockMs() - before >= 60);
        QVERIFY(timer.elapsed() >= 60);
    }

    void promptListsPresentPortsWithoutOpening()
    {
        // The ports the options file names that exist, a port in use among
        // them: finding out that it is in use would take opening it.
        StationLine com2(echo);
        StationLine com9(echo);
        StationLine busy(echo);
        OptionsFile file;
        file.writePorts({{2, com2.devicePath()},
                         {3, QStringLiteral("/nonexistent/ttyQ3")},
                         {5, busy.devicePath()},
                         {9, com9.devicePath()}});
        QtSerialLink holder;
        holder.open(busy.devicePath());

        const QList<PortEntry> expected{{QStringLiteral("COM2"), com2.devicePath()},
                                        {QStringLiteral("COM5"), busy.devicePath()},
                                        {QStringLiteral("COM9"), com9.devicePath()}};
        QCOMPARE(LinkSetup::openablePorts(file.path()), expected);
        QCOMPARE(com2.received(), QByteArray());
    }
};

QTEST_GUILESS_MAIN(TestSerialLink)
#include "tst_seriallink.moc"
