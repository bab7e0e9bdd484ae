#include "link/options.h"
#include "link/portmap.h"
#include "link/systemports.h"
#include "support/linkfixtures.h"

#include <QStandardPaths>
#include <QTest>

using namespace LinkFixtures;

Q_DECLARE_METATYPE(SystemPort)
Q_DECLARE_METATYPE(PortEntry)

namespace QTest {
template <>
inline char *toString(const SystemPort &port)
{
    return qstrdup(qPrintable(port.device + QStringLiteral(" \"") + port.description + u'"'));
}
} // namespace QTest

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

    void comNumber_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("number"); // 0: not a COM port
        QTest::newRow("COM1") << QStringLiteral("COM1") << 1;
        QTest::newRow("lower case") << QStringLiteral("com12") << 12;
        QTest::newRow("three digits") << QStringLiteral("COM255") << 255;
        QTest::newRow("COM0") << QStringLiteral("COM0") << 0;
        QTest::newRow("leading zero") << QStringLiteral("COM03") << 0;
        QTest::newRow("no number") << QStringLiteral("COM") << 0;
        QTest::newRow("printer port") << QStringLiteral("LPT1") << 0;
        QTest::newRow("trailing letter") << QStringLiteral("COM3a") << 0;
        QTest::newRow("sign") << QStringLiteral("COM+3") << 0;
        QTest::newRow("blank inside") << QStringLiteral("COM 3") << 0;
        QTest::newRow("digit of another script") << QStringLiteral("COM\u0663") << 0;
        QTest::newRow("friendly name") << QStringLiteral("USB-SERIAL CH340 (COM5)") << 0;
    }
    void comNumber()
    {
        QFETCH(QString, name);
        QFETCH(int, number);
        QCOMPARE(SystemPorts::comNumber(name).value_or(0), number);
    }

    void systemPortsInComOrder_data()
    {
        QTest::addColumn<QList<SystemPort>>("listed");
        QTest::addColumn<QList<SystemPort>>("expected");
        const SystemPort com1{QStringLiteral("COM1"), QStringLiteral("Последовательный порт (COM1)")};
        const SystemPort com2{QStringLiteral("COM2"), QString()};
        const SystemPort ch340{QStringLiteral("COM2"), QStringLiteral("USB-SERIAL CH340 (COM2)")};
        const SystemPort com10{QStringLiteral("COM10"), QStringLiteral("Prolific USB-to-Serial Comm Port (COM10)")};
        QTest::newRow("by number, not by text") << QList{com10, com2, com1} << QList{com1, com2, com10};
        QTest::newRow("listed twice, the name kept") << QList{com2, com10, ch340} << QList{ch340, com10};
        QTest::newRow("listed twice, the first name kept") << QList{ch340, com2} << QList{ch340};
        QTest::newRow("nothing") << QList<SystemPort>() << QList<SystemPort>();
    }
    void systemPortsInComOrder()
    {
        QFETCH(QList<SystemPort>, listed);
        QFETCH(QList<SystemPort>, expected);
        QCOMPARE(SystemPorts::inComOrder(listed), expected);
    }

    void promptLabel_data()
    {
        QTest::addColumn<PortEntry>("entry");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("found"); // as the search names it: the port once, then the system's name
        QTest::newRow("Linux device") << PortEntry{QStringLiteral("COM3"), QStringLiteral("/dev/ttyUSB0")}
                                      << QStringLiteral("COM3  (/dev/ttyUSB0)")
                                      << QStringLiteral("COM3 — /dev/ttyUSB0");
        QTest::newRow("Windows port without a name") << PortEntry{QStringLiteral("COM4"), QStringLiteral("COM4")}
                                                     << QStringLiteral("COM4") << QStringLiteral("COM4");
        QTest::newRow("Windows' name") << PortEntry{QStringLiteral("COM5"), QStringLiteral("COM5"),
                                                    QStringLiteral("USB-SERIAL CH340 (COM5)")}
                                       << QStringLiteral("USB-SERIAL CH340 (COM5)")
                                       << QStringLiteral("COM5 — USB-SERIAL CH340");
        QTest::newRow("Windows device path") << PortEntry{QStringLiteral("COM1"), QStringLiteral("\\\\.\\COM1")}
                                             << QStringLiteral("COM1  (\\\\.\\COM1)") << QStringLiteral("COM1");
        QTest::newRow("Linux adapter") << PortEntry{QStringLiteral("COM3"), QStringLiteral("/dev/ttyUSB0"),
                                                    QStringLiteral("FT232R USB UART")}
                                       << QStringLiteral("COM3  (/dev/ttyUSB0)  FT232R USB UART")
                                       << QStringLiteral("COM3 — FT232R USB UART (/dev/ttyUSB0)");
        QTest::newRow("Windows' name of another port")
            << PortEntry{QStringLiteral("COM1"), QStringLiteral("COM1"), QStringLiteral("USB Serial Port (COM10)")}
            << QStringLiteral("COM1  USB Serial Port (COM10)") << QStringLiteral("COM1 — USB Serial Port (COM10)");
        QTest::newRow("Windows' name without the port")
            << PortEntry{QStringLiteral("COM4"), QStringLiteral("COM4"), QStringLiteral("Standard Serial Port")}
            << QStringLiteral("COM4  Standard Serial Port") << QStringLiteral("COM4 — Standard Serial Port");
    }
    void promptLabel()
    {
        QFETCH(PortEntry, entry);
        QFETCH(QString, label);
        QFETCH(QString, found);
        QCOMPARE(entry.label(), label);
        QCOMPARE(entry.withSystemName(), found);
    }
};

QTEST_GUILESS_MAIN(TestPortMap)
#include "tst_portmap.moc"
