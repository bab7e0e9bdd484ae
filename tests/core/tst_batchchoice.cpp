// The ports and Ids of a batch, refused alike for `fleet` and the batch
// window before any port is opened.
#include "batch/batchchoice.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestBatchChoice : public QObject
{
    Q_OBJECT

private slots:
    void ports_data()
    {
        QTest::addColumn<QStringList>("ports"); // name=device, the device under the test's folder
        QTest::addColumn<QString>("problem");   // empty: taken

        QTest::newRow("two devices") << QStringList{"COM3=ttyA", "COM4=ttyB"} << "";
        QTest::newRow("a port without a device")
            << QStringList{"COM3=ttyA", "COM6="}
            << "Порту COM6 не назначено устройство (раздел [Ports] файла V404Options.ini)";
        QTest::newRow("one device by two names") << QStringList{"COM3=ttyA", "COM4=ttyB", "COM5=ttyA"}
                                                 << "Порты \"COM3\" и \"COM5\" - одно и то же устройство {dir}/ttyA";
        QTest::newRow("one device through a link")
            << QStringList{"{dir}/link=link", "COM3=ttyA"}
            << "Порты \"{dir}/link\" и \"COM3\" - одно и то же устройство {dir}/ttyA";
    }
    void ports()
    {
        QFETCH(QStringList, ports);
        QFETCH(QString, problem);
        QTemporaryDir dir;
        for (const char *name : {"ttyA", "ttyB"}) {
            QFile device(dir.filePath(name));
            QVERIFY(device.open(QIODevice::WriteOnly));
        }
        QVERIFY(QFile::link(dir.filePath("ttyA"), dir.filePath("link")));
        QList<BatchChoice::Port> chosen;
        for (const QString &port : ports) {
            const QString name = port.section(u'=', 0, 0).replace("{dir}", dir.path());
            const QString device = port.section(u'=', 1);
            chosen.append({name, device.isEmpty() ? QString() : dir.filePath(device)});
        }
        const auto found = BatchChoice::checkPorts(chosen);
        QCOMPARE(found ? found->text : QString(), problem.replace("{dir}", dir.path()));
    }

    void ids_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<int>("count");
        QTest::addColumn<QStringList>("ids");
        QTest::addColumn<QString>("problem");

        QTest::newRow("from 0098") << "0098" << 3 << QStringList{"0098", "0099", "0100"} << "";
        QTest::newRow("up to 9999") << "9998" << 2 << QStringList{"9998", "9999"} << "";
        QTest::newRow("beyond 9999") << "9999" << 2 << QStringList{}
                                     << "Id с 9999: для 2 станций Id дойдёт до 10000, больше 9999";
        QTest::newRow("two digits") << "42" << 1 << QStringList{}
                                    << "Id с \"42\": нужны четыре десятичные цифры, например 0001";
        QTest::newRow("a letter") << "12A4" << 1 << QStringList{}
                                  << "Id с \"12A4\": нужны четыре десятичные цифры, например 0001";
    }
    void ids()
    {
        QFETCH(QString, from);
        QFETCH(int, count);
        QFETCH(QStringList, ids);
        QFETCH(QString, problem);
        const BatchChoice::Ids found = BatchChoice::ids(from, count, "Id с");
        QCOMPARE(found.ids, ids);
        QCOMPARE(found.problem ? found.problem->text : QString(), problem);
    }
};

QTEST_GUILESS_MAIN(TestBatchChoice)
#include "tst_batchchoice.moc"
