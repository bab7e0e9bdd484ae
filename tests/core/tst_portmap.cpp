#include "link/options.h"
#include "link/portmap.h"
#include "support/linkfixtures.h"

#include <QStandardPaths>
#include <QTest>

using namespace LinkFixtures;

class TestPortMap : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void devices_data()
    {
        QTest::addColumn<QStringList>("file"); // empty: no file at all
        QTest::addColumn<int>("port");
        QTest::addColumn<QString>("device");

        const QStringList none;
        QTest::newRow("no file, COM1") << none << 1 << QStringLiteral("/dev/ttyS0");
        QTest::newRow("no file, COM2") << none << 2 << QStringLiteral("/dev/ttyS1");
        QTest::newRow("no file, COM3") << none << 3 << QStringLiteral("/dev/ttyUSB0");
        QTest::newRow("no file, COM4") << none << 4 << QStringLiteral("/dev/ttyACM0");
        QTest::newRow("no file, COM5") << none << 5 << QStringLiteral("/dev/ttyUSB1");
        QTest::newRow("no file, COM6") << none << 6 << QStringLiteral("/dev/ttyACM1");
        QTest::newRow("no file, COM7") << none << 7 << QStringLiteral("/dev/ttyUSB2");
        QTest::newRow("no file, COM8") << none << 8 << QString();
        QTest::newRow("no file, COM0") << none << 0 << QString();

        const QStringList ports{
            QStringLiteral("[All]"),          QStringLiteral("Port=1"),
            QStringLiteral("[ports]"),        QStringLiteral("com3 = /dev/ttyUSB7"),
            QStringLiteral("COM2="),          QStringLiteral("COM12=/dev/serial/by-id/usb-FTDI-if00"),
            QStringLiteral("COM3=/dev/ttyS9")};
        QTest::newRow("mapped, any case, blanks trimmed") << ports << 3 << QStringLiteral("/dev/ttyUSB7");
        QTest::newRow("empty entry takes the port away") << ports << 2 << QString();
        QTest::newRow("unnamed port keeps its default") << ports << 1 << QStringLiteral("/dev/ttyS0");
        QTest::newRow("beyond the default map") << ports << 12 << QStringLiteral("/dev/serial/by-id/usb-FTDI-if00");
        QTest::newRow("other sections do not count")
            << QStringList{QStringLiteral("[All]"), QStringLiteral("COM1=/dev/null")} << 1
            << QStringLiteral("/dev/ttyS0");
    }
    void devices()
    {
        QFETCH(QStringList, file);
        QFETCH(int, port);
        QFETCH(QString, device);
        OptionsFile options;
        if (!file.isEmpty())
            options.write(file);
        QCOMPARE(PortMap::fromOptionsFile(options.path()).deviceFor(port), device);
    }

    void portValue_data()
    {
        QTest::addColumn<QStringList>("file");
        QTest::addColumn<int>("portNumber");

        QTest::newRow("no file") << QStringList() << 2;
        QTest::newRow("2") << QStringList{QStringLiteral("[All]"), QStringLiteral("Port=2")} << 2;
        QTest::newRow("1") << QStringList{QStringLiteral("[All]"), QStringLiteral("Port=1")} << 1;
        QTest::newRow("5") << QStringList{QStringLiteral("[All]"), QStringLiteral("Port=5")} << 1;
        QTest::newRow("0") << QStringList{QStringLiteral("[All]"), QStringLiteral("Port=0")} << 1;
        QTest::newRow("-1") << QStringList{QStringLiteral("[All]"), QStringLiteral("Port=-1")} << 1;
        QTest::newRow("low byte 2") << QStringList{QStringLiteral("[All]"), QStringLiteral("Port=258")} << 2;
        QTest::newRow("not a number") << QStringList{QStringLiteral("[All]"), QStringLiteral("Port=COM1")} << 2;
        QTest::newRow("empty value") << QStringList{QStringLiteral("[All]"), QStringLiteral("Port=")} << 2;
        QTest::newRow("no key") << QStringList{QStringLiteral("[All]"), QStringLiteral("Speed=1")} << 2;
        QTest::newRow("other section") << QStringList{QStringLiteral("[Ports]"), QStringLiteral("Port=1")} << 2;
        QTest::newRow("names in any case") << QStringList{QStringLiteral("[ALL]"), QStringLiteral("port = 1")} << 1;
        QTest::newRow("first key wins") << QStringList{QStringLiteral("[All]"), QStringLiteral("Port=1"),
                                                       QStringLiteral("Port=2")}
                                        << 1;
    }
    void portValue()
    {
        QFETCH(QStringList, file);
        QFETCH(int, portNumber);
        OptionsFile options;
        if (!file.isEmpty())
            options.write(file);
        QCOMPARE(int(LinkOptions::portNumberFromOptions(options.path())), portNumber);
    }

    void fileReadOnlyWhileNoPortChosen_data()
    {
        QTest::addColumn<int>("before");
        QTest::addColumn<bool>("read");
        QTest::addColumn<int>("after");
        QTest::newRow("no port yet") << 0 << true << 1;
        QTest::newRow("COM2 picked earlier") << 2 << false << 2;
        QTest::newRow("COM5 found by the search") << 5 << false << 5;
    }
    void fileReadOnlyWhileNoPortChosen()
    {
        QFETCH(int, before);
        QFETCH(bool, read);
        QFETCH(int, after);
        OptionsFile options;
        options.write({QStringLiteral("[All]"), QStringLiteral("Port=1")});
        std::uint8_t portNumber = static_cast<std::uint8_t>(before);
        QCOMPARE(LinkOptions::choosePortOnDialogOpen(portNumber, options.path()), read);
        QCOMPARE(int(portNumber), after);
    }
};

QTEST_GUILESS_MAIN(TestPortMap)
#include "tst_portmap.moc"
