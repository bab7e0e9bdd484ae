// vetral-cli run as a process: every command, every exit status, and a write
// and read through the simulated station on a pseudo-terminal, which the
// child opens either as COM3 (mapped in its own V404Options.ini) or by path.
#include "clihome.h"
#include "simulatedstation.h"
#include "stationline.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>
#include <memory>

namespace {

enum class Station { None, Answering, Silent, FallsSilent, SilentAfterWrite, Altering };

// Where Тон3 lies in the station's reply: serial 3, header 5, Id 2, tones.
constexpr int kReplyTone3 = 12;

QString exactly(const QString &text)
{
    return '^' + QRegularExpression::escape(text) + "\\z";
}

// A private home for the child, the simulated station, and the COM3 map.
class Rig
{
public:
    explicit Rig(Station station)
    {
        if (station != Station::None)
            startStation(station);
        m_home.mapPorts({{3, device()}});
    }
    ~Rig()
    {
        if (m_line)
            m_line->stop();
    }

    QString path(const QString &name) const { return m_home.path(name); }
    QString archiveFolder() const { return m_home.archiveFolder(); }
    QString device() const { return m_line ? m_line->devicePath() : QString(); }

    QString expand(QString text) const { return text.replace("{dir}", m_home.root()).replace("{station}", device()); }
    // The same in a pattern made by exactly().
    QRegularExpression pattern(const QString &text) const
    {
        const auto escape = [](const QString &s) { return QRegularExpression::escape(s); };
        return QRegularExpression(QString(text)
                                      .replace(escape("{dir}"), escape(m_home.root()))
                                      .replace(escape("{station}"), escape(device())));
    }

    // `output` takes the child's standard output instead of the test.
    CliRun run(const QStringList &arguments, const QString &output = QString()) const
    {
        QStringList expanded;
        for (const QString &a : arguments)
            expanded.append(expand(a));
        return m_home.run(expanded, output);
    }

private:
    void startStation(Station station)
    {
        StationLineOptions options;
        if (station == Station::Silent)
            options.silentAfter = 0;
        if (station == Station::FallsSilent)
            options.silentAfter = 1 + 5; // the start byte and header bytes 3..7
        if (station == Station::SilentAfterWrite)
            options.silentAfter = 1 + 25 + 2 * 18; // the whole write of worked.ini
        const bool altering = station == Station::Altering;
        StationMemory memory;
        memory.serial = {0x12, 0x34, 0x56};
        m_station = std::make_unique<SimulatedStation>(memory);
        m_line = std::make_unique<StationLine>(
            [this, altering](std::uint8_t byte) {
                QByteArray answer = m_station->onByte(byte, 0);
                if (altering && answer.size() > kReplyTone3)
                    answer[kReplyTone3] = char(answer.at(kReplyTone3) + 1);
                return answer;
            },
            options);
        m_line->start();
    }

    CliHome m_home;
    std::unique_ptr<SimulatedStation> m_station;
    std::unique_ptr<StationLine> m_line;
};

} // namespace

Q_DECLARE_METATYPE(Station)

class CliTest : public QObject
{
    Q_OBJECT
private slots:
    void commands_data();
    void commands();
    void writeVerifyThenRead();
    void lostOutput_data();
    void lostOutput();
};

void CliTest::commands_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<Station>("station");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");  // pattern for standard output
    QTest::addColumn<QString>("err");  // text standard error must hold
    QTest::addColumn<QString>("made"); // a file the command must have made

    const QString passed = exactly("Все данные введены верно.\n");
    const QString tooLoud = exactly("Уровень громкости изм. 1-16\n");
    const QString noAnswer = exactly("Станция не отвечает (AK).\n");
    const Station none = Station::None;

    QTest::newRow("check passes") << QStringList{"check", "{dir}/worked.ini"} << none << 0 << passed << ""
                                  << "";
    QTest::newRow("check refuses") << QStringList{"check", "{dir}/loud.ini"} << none << 1 << tooLoud << ""
                                   << "";
    QTest::newRow("dump worked rows") << QStringList{"dump", "{dir}/worked.ini"} << none << 0 << exactly(kWorkedDump)
                                      << ""
                                      << "";
    QTest::newRow("dump refuses") << QStringList{"dump", "{dir}/loud.ini"} << none << 1 << tooLoud << ""
                                  << "";
    QTest::newRow("file missing") << QStringList{"check", "{dir}/none.ini"} << none << 2 << exactly("")
                                  << "Файл не найден."
                                  << "";
    QTest::newRow("file without channels") << QStringList{"dump", "{dir}/norows.ini"} << none << 2 << exactly("")
                                           << "Fixed row count must be less than row count"
                                           << "";
    QTest::newRow("help") << QStringList{"write", "--help"} << none << 0
                          << "^Usage: vetral-cli write \\[options\\] FILE\n"
                          << ""
                          << "";
    QTest::newRow("no command") << QStringList{} << none << 2 << exactly("") << "vetral-cli --help"
                                << "";
    QTest::newRow("unknown command") << QStringList{"erase"} << none << 2 << exactly("") << "erase"
                                     << "";
    QTest::newRow("no file") << QStringList{"check"} << none << 2 << exactly("") << "FILE"
                             << "";
    QTest::newRow("two files") << QStringList{"check", "a.ini", "b.ini"} << none << 2 << exactly("") << "b.ini"
                               << "";
    QTest::newRow("unknown option") << QStringList{"check", "--fast", "a.ini"} << none << 2 << exactly("") << "fast"
                                    << "";
    QTest::newRow("no port") << QStringList{"write", "{dir}/worked.ini"} << none << 2 << exactly("") << "--port"
                             << "";
    QTest::newRow("COM0") << QStringList{"write", "{dir}/worked.ini", "--port", "COM0"} << none << 2 << exactly("")
                          << "COM0"
                          << "";
    QTest::newRow("no output") << QStringList{"read", "--port", "COM3"} << none << 2 << exactly("") << "--output"
                               << "";

    QTest::newRow("write") << QStringList{"write", "{dir}/worked.ini", "--port", "COM3"} << Station::Answering << 0
                           << exactly("Данные записаны в станцию.\n") << "ПР 100%"
                           << "";
    QTest::newRow("write and verify") << QStringList{"write", "{dir}/worked.ini", "--port", "{station}", "--verify"}
                                      << Station::Answering << 0
                                      << exactly("Данные записаны в станцию, прочитаны и совпадают с записанными.\n")
                                      << "ПП 0%"
                                      << "";
    QTest::newRow("verify finds a difference")
        << QStringList{"write", "{dir}/worked.ini", "--port", "com3", "--verify"} << Station::Altering << 4
        << exactly("Станция хранит не то, что записано: Тон3: записано 46, прочитано 47\n") << ""
        << "";
    QTest::newRow("write refused") << QStringList{"write", "{dir}/loud.ini", "--port", "COM3"} << Station::Answering
                                   << 1 << tooLoud << ""
                                   << "";
    QTest::newRow("start byte unanswered")
        << QStringList{"write", "{dir}/worked.ini", "--port", "COM3"} << Station::Silent << 3 << noAnswer << ""
        << "";
    QTest::newRow("station falls silent") << QStringList{"write", "{dir}/worked.ini", "--port", "COM3"}
                                          << Station::FallsSilent << 3 << noAnswer << "ПР 33%"
                                          << "";
    QTest::newRow("COM3 not mapped") << QStringList{"write", "{dir}/worked.ini", "--port", "COM3"} << none << 2
                                     << exactly("") << "COM3"
                                     << "";
    QTest::newRow("device missing") << QStringList{"read", "--port", "{dir}/ttyNone", "--output", "{dir}/r.ini"} << none
                                    << 2 << exactly("") << "ttyNone"
                                    << "";
    QTest::newRow("verify read unanswered")
        << QStringList{"write", "{dir}/worked.ini", "--port", "COM3", "--verify"} << Station::SilentAfterWrite << 3
        << exactly("Данные записаны в станцию, но прочитать их для сверки не удалось: станция не отвечает (AK).\n")
        << "ПР 100%"
        << "";
    QTest::newRow("read into a missing folder")
        << QStringList{"read", "--port", "COM3", "--output", "{dir}/нет/r.ini"} << Station::Answering << 2
        << exactly("") << "Файл \"{dir}/нет/r.ini\" не может быть создан: папки \"{dir}/нет\" нет."
        << "";
    QTest::newRow("read onto a folder") << QStringList{"read", "--port", "COM3", "--output", "{dir}"}
                                        << Station::Answering << 2 << exactly("")
                                        << "Файл \"{dir}\" не записан: это папка, а не файл."
                                        << "";
    QTest::newRow("read unanswered") << QStringList{"read", "--port", "COM3", "--output", "{dir}/r.ini"}
                                     << Station::Silent << 3 << noAnswer << ""
                                     << "";

    QTest::newRow("report") << QStringList{"report", "{dir}/worked.ini", "--output", "{dir}/p.docx"} << none << 0
                            << exactly("") << ""
                            << "{dir}/p.docx";
    QTest::newRow("report refused") << QStringList{"report", "{dir}/loud.ini", "--output", "{dir}/p.docx"} << none << 1
                                    << tooLoud << ""
                                    << "";

    QTest::newRow("search finds COM3") << QStringList{"search"} << Station::Answering << 0
                                       << exactly("Подключились: COM3 {station}\n") << "Идет Поиск..."
                                       << "";
    QTest::newRow("search finds none") << QStringList{"search"} << none << 3 << exactly("Не Подключились\n") << ""
                                       << "";
}

void CliTest::commands()
{
    QFETCH(QStringList, arguments);
    QFETCH(Station, station);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QFETCH(QString, made);

    const Rig rig(station);
    const CliRun run = rig.run(arguments);
    QVERIFY2(rig.pattern(out).match(run.out).hasMatch(), qPrintable(run.out));
    QVERIFY2(run.err.contains(rig.expand(err)), qPrintable(run.err));
    QCOMPARE(run.exitCode, exitCode);
    if (!made.isEmpty())
        QVERIFY(QFileInfo(rig.expand(made)).size() > 0);
    // Nothing but a complete read leaves a copy.
    QVERIFY(!QFileInfo::exists(rig.archiveFolder()));
}

// What a write put into the station comes back through a read as a channel
// file that checks and dumps to the very same bytes, and the read leaves the
// same file in the archive, named by the station's serial number.
void CliTest::writeVerifyThenRead()
{
    const Rig rig(Station::Answering);
    QCOMPARE(rig.run({"write", "{dir}/worked.ini", "--port", "COM3", "--verify"}).exitCode, 0);

    const CliRun read = rig.run({"read", "--port", "{station}", "--output", "{dir}/back.ini"});
    QCOMPARE(read.exitCode, 0);
    QCOMPARE(read.out, rig.expand("Данные станции сохранены в файл {dir}/back.ini.\n"));

    const CliRun dump = rig.run({"dump", "{dir}/back.ini"});
    QCOMPARE(dump.exitCode, 0);
    QCOMPARE(dump.out, kWorkedDump);

    const QFileInfoList copies = QDir(rig.archiveFolder()).entryInfoList(QDir::Files);
    QCOMPARE(copies.size(), 1);
    QVERIFY2(copies.at(0).fileName().startsWith("123456 "), qPrintable(copies.at(0).fileName()));
    QVERIFY(read.err.contains(copies.at(0).filePath()));
    QFile copy(copies.at(0).filePath()), back(rig.path("back.ini"));
    QVERIFY(copy.open(QIODevice::ReadOnly) && back.open(QIODevice::ReadOnly));
    QCOMPARE(copy.readAll(), back.readAll());
}

// Output that does not reach its file is no success, whatever the command did.
void CliTest::lostOutput_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("err");
    const QString full = "Стандартный вывод не записан: на устройстве нет места.\n";
    QTest::newRow("dump") << QStringList{"dump", "{dir}/worked.ini"} << "/dev/full" << full;
    QTest::newRow("check") << QStringList{"check", "{dir}/worked.ini"} << "/dev/full" << full;
    QTest::newRow("help") << QStringList{"--help"} << "/dev/full" << full;
    // A reader that went away (| head) is a lost output, not a killed process.
    QTest::newRow("dump into a closed pipe")
        << QStringList{"dump", "{dir}/worked.ini"} << CliHome::kClosedPipe << "Стандартный вывод не записан: ";
}

void CliTest::lostOutput()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, output);
    QFETCH(QString, err);
    const Rig rig(Station::None);
    const CliRun run = rig.run(arguments, output);
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.startsWith(err), qPrintable(run.err));
}

QTEST_GUILESS_MAIN(CliTest)
#include "tst_cli.moc"
