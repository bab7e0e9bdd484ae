// The serial ports the system knows and their adapters: what Linux's sysfs
// tells of each (a tree the test makes), the listing of `vetral-cli ports`,
// and what the port prompt says of a port, its latency's cost among it.

#include "link/portlisting.h"
#include "link/sysfsports_unix.h"
#include "support/linkfixtures.h"
#include "support/sysfstree.h"

#include <QRegularExpression>
#include <QTemporaryFile>
#include <QTest>

using namespace LinkFixtures;

namespace {

const UsbIds kFtdi{"0403", "6001", "FTDI", "FT232R USB UART", "A50285BI"};
const UsbIds kCh340{"1a86", "7523", "", "USB Serial", ""};
const UsbIds kAcm{"2341", "0043", "Arduino (www.arduino.cc)", "", "75833353035351A0A0B1"};

SerialAdapter adapter(const QString &product, const QString &maker, std::optional<quint16> vid,
                      std::optional<quint16> pid, const QString &serial, const QString &driver,
                      std::optional<int> latencyMs = std::nullopt)
{
    return {product, maker, vid, pid, serial, driver, latencyMs};
}

const SerialAdapter kFtdiAdapter = adapter("FT232R USB UART", "FTDI", 0x0403, 0x6001, "A50285BI", "ftdi_sio", 16);

} // namespace

Q_DECLARE_METATYPE(SerialAdapter)
Q_DECLARE_METATYPE(ListedPort)
Q_DECLARE_METATYPE(PortEntry)

namespace QTest {
template <>
char *toString(const SerialAdapter &a)
{
    return qstrdup(qPrintable(a.details()));
}
template <>
char *toString(const ListedPort &port)
{
    return qstrdup(qPrintable(PortListing::line(port)));
}
} // namespace QTest

class TestSystemPorts : public QObject
{
    Q_OBJECT

private slots:
    // One tree for every row: the file system may be slow to make it.
    void initTestCase()
    {
        m_sysfs.addUsbSerial("ttyUSB0", "ftdi_sio", kFtdi, 16);
        m_sysfs.addUsbSerial("ttyUSB1", "ch341-uart", kCh340);
        m_sysfs.addAcm("ttyACM0", kAcm);
        m_sysfs.addBuiltIn("ttyS0");
        m_sysfs.addBuiltIn("ttyS1");
        m_sysfs.addSerialCorePort("ttyS2");
        m_sysfs.addBuiltIn("ttyS3", 0);
        m_sysfs.addVirtual("tty1");
        m_ftdiLink = m_sysfs.addDeviceLink("ttyUSB0", "usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0");
    }

    void adapterFromSysfs_data()
    {
        QTest::addColumn<QString>("device");
        QTest::addColumn<SerialAdapter>("expected");
        QTest::newRow("FTDI adapter at 16 ms") << "/dev/ttyUSB0" << kFtdiAdapter;
        QTest::newRow("through a link of /dev/serial/by-id") << "{link}" << kFtdiAdapter;
        QTest::newRow("CH340 without maker, serial number or latency")
            << "/dev/ttyUSB1" << adapter("USB Serial", "", 0x1A86, 0x7523, "", "ch341-uart");
        QTest::newRow("CDC-ACM adapter") << "/dev/ttyACM0"
                                         << adapter("", "Arduino (www.arduino.cc)", 0x2341, 0x0043,
                                                    "75833353035351A0A0B1", "cdc_acm");
        QTest::newRow("built-in port") << "/dev/ttyS0" << adapter("", "", {}, {}, "", "serial8250");
        QTest::newRow("built-in port below the serial core's devices")
            << "/dev/ttyS2" << adapter("", "", {}, {}, "", "serial");
        QTest::newRow("not in sysfs") << "/dev/ttyUSB7" << SerialAdapter();
        QTest::newRow("a pseudo-terminal") << "/dev/pts/4" << SerialAdapter();
    }
    void adapterFromSysfs()
    {
        QFETCH(QString, device);
        QFETCH(SerialAdapter, expected);
        device.replace("{link}", m_ftdiLink);
        QCOMPARE(SysfsPorts::adapter(device, m_sysfs.root()), expected);
    }

    // The ports sysfs lists: none of the 8250 driver's names without a UART
    // (ttyS3), no terminal without a device (tty1); nothing opened.
    void portsFromSysfs()
    {
        const QList<SystemPort> ports = SysfsPorts::list(m_sysfs.root());
        QStringList devices;
        for (const SystemPort &port : ports)
            devices.append(port.device);
        QCOMPARE(devices, (QStringList{"/dev/ttyACM0", "/dev/ttyS0", "/dev/ttyS1", "/dev/ttyS2", "/dev/ttyUSB0",
                                       "/dev/ttyUSB1"}));
        QCOMPARE(ports.at(4), (SystemPort{"/dev/ttyUSB0", "FT232R USB UART", kFtdiAdapter}));
    }

    // Each port once, with every name the map gives its device, in the
    // order of the first; the options file's own devices (a pseudo-terminal)
    // when they exist; ports no name reaches at the end.
    void listing_data()
    {
        QTest::addColumn<QList<SystemPort>>("system");
        QTest::addColumn<QStringList>("ports");
        QTest::addColumn<QList<ListedPort>>("expected");
        const SystemPort usb0{"/nonexistent/ttyUSB0", "FT232R USB UART", kFtdiAdapter};
        const SystemPort s4{"/nonexistent/ttyS4", ""};
        const ListedPort listedUsb0{{"COM3"}, usb0.device, usb0.description, kFtdiAdapter};
        QTest::newRow("nothing") << QList<SystemPort>() << QStringList() << QList<ListedPort>();
        QTest::newRow("named and unnamed") << QList{s4, usb0} << QStringList{"COM3=/nonexistent/ttyUSB0"}
                                           << QList{listedUsb0, ListedPort{{}, s4.device, ""}};
        QTest::newRow("two names of one device")
            << QList{usb0} << QStringList{"COM3=/nonexistent/ttyUSB0", "COM12=/nonexistent/ttyUSB0"}
            << QList{ListedPort{{"COM3", "COM12"}, usb0.device, usb0.description, kFtdiAdapter}};
        QTest::newRow("in the order of the names")
            << QList{usb0, s4} << QStringList{"COM7=/nonexistent/ttyUSB0", "COM2=/nonexistent/ttyS4"}
            << QList{ListedPort{{"COM2"}, s4.device, ""},
                     ListedPort{{"COM7"}, usb0.device, usb0.description, kFtdiAdapter}};
        QTest::newRow("a device of the options file that exists")
            << QList{usb0} << QStringList{"COM3=/nonexistent/ttyUSB0", "COM9={file}"}
            << QList{listedUsb0, ListedPort{{"COM9"}, "{file}", ""}};
        QTest::newRow("a device of the options file that does not exist")
            << QList{usb0} << QStringList{"COM3=/nonexistent/ttyUSB0", "COM9=/nonexistent/ttyQ9"} << QList{listedUsb0};
    }
    void listing()
    {
        QFETCH(QList<SystemPort>, system);
        QFETCH(QStringList, ports);
        QFETCH(QList<ListedPort>, expected);
        QTemporaryFile device;
        QVERIFY(device.open());
        ports.replaceInStrings("{file}", device.fileName());
        for (ListedPort &port : expected)
            port.device.replace("{file}", device.fileName());
        // COM1 to COM7 lead nowhere unless the row names them.
        QStringList lines{"[Ports]"};
        for (int n = 1; n <= 7; ++n)
            if (ports.filter(QRegularExpression(QString("^COM%1=").arg(n))).isEmpty())
                lines.append(QString("COM%1=").arg(n));
        OptionsFile options;
        options.write(lines + ports);
        QCOMPARE(PortListing::list(system, PortMap::fromOptionsFile(options.path())), expected);
    }

    void listingLine_data()
    {
        QTest::addColumn<ListedPort>("port");
        QTest::addColumn<QString>("line");
        QTest::newRow("adapter with everything known")
            << ListedPort{{"COM3", "COM12"}, "/dev/ttyUSB0", "FT232R USB UART", kFtdiAdapter}
            << "COM3,COM12\t/dev/ttyUSB0\tFT232R USB UART\tFTDI\t0403:6001\tA50285BI\tftdi_sio\t16 мс";
        QTest::newRow("no name, nothing known")
            << ListedPort{{}, "/dev/ttyS4", ""} << "-\t/dev/ttyS4\t-\t-\t-\t-\t-\t-";
        QTest::newRow("Windows' name when the adapter gives none")
            << ListedPort{{"COM5"}, "COM5", "Communications Port (COM5)", adapter("", "", {}, {}, "", "Serial")}
            << "COM5\tCOM5\tCommunications Port (COM5)\t-\t-\t-\tSerial\t-";
    }
    void listingLine()
    {
        QFETCH(ListedPort, port);
        QFETCH(QString, line);
        QCOMPARE(PortListing::line(port), line);
    }

    // The port prompt's details of the chosen port.
    void promptDetails_data()
    {
        QTest::addColumn<PortEntry>("entry");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("pseudo-terminal") << PortEntry{"COM2", "/dev/pts/4"} << QStringList{"Устройство: /dev/pts/4"};
        QTest::newRow("Windows port, nothing known") << PortEntry{"COM4", "COM4"} << QStringList();
        QTest::newRow("adapter at 1 ms") << PortEntry{"COM3", "/dev/ttyUSB0", "",
                                                      adapter("FT232R USB UART", "FTDI", 0x0403, 0x6001, "", "ftdi_sio",
                                                              1)}
                                         << QStringList{"Устройство: /dev/ttyUSB0",
                                                        "Адаптер: FT232R USB UART, FTDI, 0403:6001, драйвер ftdi_sio, "
                                                        "задержка 1 мс"};
        QTest::newRow("adapter at 16 ms")
            << PortEntry{"COM3", "/dev/ttyUSB0", "FT232R USB UART", kFtdiAdapter}
            << QStringList{"Устройство: /dev/ttyUSB0",
                           "Адаптер: FT232R USB UART, FTDI, 0403:6001, серийный номер A50285BI, драйвер ftdi_sio, "
                           "задержка 16 мс",
                           "", kFtdiAdapter.latencyNote("/dev/ttyUSB0")};
    }
    void promptDetails()
    {
        QFETCH(PortEntry, entry);
        QFETCH(QStringList, lines);
        QCOMPARE(entry.details(), lines.join('\n'));
    }

    // Above 1 ms the latency costs every answered byte of a write: the
    // note says how much for 99 channels and how to set it.
    void latencyNote_data()
    {
        QTest::addColumn<std::optional<int>>("latencyMs");
        QTest::addColumn<QString>("cost");
        QTest::newRow("not known") << std::optional<int>() << QString();
        QTest::newRow("1 ms") << std::optional<int>(1) << QString();
        QTest::newRow("2 ms") << std::optional<int>(2) << "до 2 с дольше";
        QTest::newRow("16 ms, the default of FTDI adapters") << std::optional<int>(16) << "до 27 с дольше";
    }
    void latencyNote()
    {
        QFETCH(std::optional<int>, latencyMs);
        QFETCH(QString, cost);
        SerialAdapter adapter;
        adapter.latencyMs = latencyMs;
        const QString note = adapter.latencyNote(m_ftdiLink);
        if (cost.isEmpty()) {
            QCOMPARE(note, QString());
            return;
        }
        QVERIFY2(note.startsWith(QString("Задержка адаптера %1 мс").arg(*latencyMs)), qPrintable(note));
        QVERIFY2(note.contains(cost), qPrintable(note));
        // The command names the adapter's own device, not the link.
        QVERIFY2(note.contains("echo 1 | sudo tee /sys/bus/usb-serial/devices/ttyUSB0/latency_timer"),
                 qPrintable(note));
    }

private:
    SysfsTree m_sysfs;
    QString m_ftdiLink; // a link of /dev/serial/by-id to its ttyUSB0
};

QTEST_GUILESS_MAIN(TestSystemPorts)
#include "tst_systemports.moc"
