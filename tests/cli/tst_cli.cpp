// vetral-cli's commands and their exit statuses, run in the test's own
// process on lines in memory, whose time the line counts; what only a
// process shows (its streams, signals, arguments that are not UTF-8, a write
// and read end to end) runs vetral-cli as a process on the simulated
// station's pseudo-terminal, which the child opens either as COM3 (mapped in
// its own V404Options.ini) or by path.
#include "cliline.h"
#include "inprocesscli.h"
#include "simulatedstation.h"
#include "trace/tracestore.h"
#include "tracereplay.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <QThread>
#include <atomic>
#include <csignal>
#include <memory>

#include <fcntl.h>
#include <sys/inotify.h>
#include <unistd.h>

namespace {

enum class Station { None, Answering, Silent, FallsSilent, SilentAfterWrite, Altering };
// The commands in the test's process, or vetral-cli as a process.
enum class Where { InProcess, Process };

// Where Тон3 lies in the station's reply: serial 3, header 5, Id 2, tones.
constexpr int kReplyTone3 = 12;

QString exactly(const QString &text)
{
    return '^' + QRegularExpression::escape(text) + "\\z";
}

// Whether `signal`, sent to the process `pid`, still waits to be taken.
bool signalPending(qint64 pid, int signal)
{
    QFile status(QString("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("ShdPnd:"))
            return (line.mid(7).trimmed().toULongLong(nullptr, 16) >> (signal - 1)) & 1;
    return false;
}

// A private home for the program, the simulated station, and the COM3 map:
// a line in memory for the commands in the test's process, a
// pseudo-terminal for vetral-cli as a process.
class Rig
{
public:
    explicit Rig(Station station, Where where = Where::InProcess) : m_where(where)
    {
        if (station != Station::None)
            startStation(station, where == Where::InProcess ? CliLine::Kind::Memory : CliLine::Kind::PseudoTerminal);
        m_home.mapPorts({{3, device()}});
    }

    QString path(const QString &name) const { return m_home.path(name); }
    QString archiveFolder() const { return m_home.archiveFolder(); }
    QString device() const { return m_line ? m_line->devicePath() : QString(); }
    QByteArray received() const { return m_line ? m_line->received() : QByteArray(); }

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
    // Arguments with a backslash are bytes that no QString carries, which
    // reach only a process (CliHome::run).
    CliRun run(const QStringList &arguments, const QString &output = QString(), int ignoredSignal = 0) const
    {
        QStringList expanded;
        for (const QString &a : arguments)
            expanded.append(expand(a));
        if (m_where == Where::InProcess && !arguments.join(' ').contains('\\'))
            return InProcessCli::run(m_home, expanded);
        return m_home.run(
            expanded, output, [this](qint64 pid) { m_pid = pid; }, ignoredSignal);
    }
    // The station sends the program `signal` when it has received `count`
    // bytes, before it answers the last of them.
    void signalAt(qsizetype count, int signal)
    {
        m_signalAt = count;
        m_signal = signal;
    }

private:
    void startStation(Station station, CliLine::Kind line)
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
        m_line = std::make_unique<CliLine>(
            line, m_home.root(),
            [this, altering](std::uint8_t byte) {
                if (m_line->received().size() == m_signalAt && m_pid > 0) {
                    ::kill(pid_t(qint64(m_pid)), m_signal);
                    m_signalled = true;
                }
                if (m_signalled)
                    awaitSignalTaken();
                QByteArray answer = m_station->onByte(byte, 0);
                if (altering && answer.size() > kReplyTone3)
                    answer[kReplyTone3] = char(answer.at(kReplyTone3) + 1);
                return answer;
            },
            options);
    }

    // The station answers no byte while the program has not taken its
    // signal, for at most a bound below the program's wait for an answer:
    // however late a busy machine runs the program's handler, the transfer
    // is still going on when it does.
    void awaitSignalTaken() const
    {
        QElapsedTimer waited;
        waited.start();
        while (signalPending(m_pid, m_signal) && waited.elapsed() < 150)
            QThread::usleep(200); // nothing tells another process that a signal was taken: /proc is polled
    }

    CliHome m_home;
    Where m_where;
    std::unique_ptr<SimulatedStation> m_station;
    std::unique_ptr<CliLine> m_line;
    mutable std::atomic<qint64> m_pid{0};
    qsizetype m_signalAt = -1;
    int m_signal = 0;
    bool m_signalled = false;
};

} // namespace

Q_DECLARE_METATYPE(Station)

class CliTest : public QObject
{
    Q_OBJECT
private slots:
    void commands_data();
    void commands();
    void traceReplayedAndBundled();
    void writeVerifyThenRead();
    void portsListWithoutOpening();
    void diff_data();
    void diff();
    void csvRoundTrip_data();
    void csvRoundTrip();
    void lostOutput_data();
    void lostOutput();
    void closedStandardStreams_data();
    void closedStandardStreams();
    void stopSignals_data();
    void stopSignals();
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
    QTest::newRow("check warns of a file cut off")
        << QStringList{"check", "{dir}/cut.ini"} << none << 0 << passed
        << "недостаёт данных; проверьте таблицу и общие установки.\n"
           "Значения по умолчанию взяты для ключей:\n[2]: Tx_Off, Время, Активен\n"
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
    // Russian throughout: Qt's parts too (options, help option).
    QTest::newRow("help") << QStringList{"write", "--help"} << none << 0
                          << "^(?!(?:.|\n)*(?:Usage|Options|Arguments|Displays))"
                             "Использование: vetral-cli write \\[параметры\\] FILE\n(?:.|\n)*\nПараметры:\n"
                             "(?:.|\n)*Вывод справки по параметрам командной строки\\."
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
    // An option that takes one value, given twice, is no choice of the program's.
    const QString twice = "указан более одного раза";
    QTest::newRow("write with two ports") << QStringList{"write", "{dir}/worked.ini", "--port", "COM3", "--port=COM3"}
                                          << Station::Answering << 2 << exactly("") << "--port " + twice << "";

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
        << QStringList{"write", "{dir}/worked.ini", "--port", "COM3"} << Station::Silent << 3
        << exactly("Станция не отвечает (AK) при записи: в станцию ничего не записано.\n") << ""
        << "";
    QTest::newRow("station falls silent")
        << QStringList{"write", "{dir}/worked.ini", "--port", "COM3"} << Station::FallsSilent << 3
        << exactly("Станция не отвечает (AK) при записи, на байте 7 из 62: станция "
                   "записана не полностью.\n")
        << "ПР 33%"
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
    // Targets that cannot take the file are found before the station is read.
    QTest::newRow("read: output name too long")
        << QStringList{"read", "--port", "COM3", "--output", "{dir}/" + QString(200, u'д') + ".ini"}
        << Station::Answering << 2 << exactly("") << "Недопустимое имя файла."
        << "";
    QTest::newRow("read: output folder takes no file")
        << QStringList{"read", "--port", "COM3", "--output", "/sys/r.ini"} << Station::Answering << 2 << exactly("")
        << "Файл \"/sys/r.ini\" не может быть записан: папка только для чтения"
        << "";
    // Names whose bytes are not UTF-8 would become other names.
    const QString notUtf8 = "недопустимые в кодировке системы (UTF-8)";
    QTest::newRow("read: output name not UTF-8")
        << QStringList{"read", "--port", "COM3", "--output", "{dir}/st\\0351.ini"} << none << 2
        << exactly("") << notUtf8 << "";
    QTest::newRow("check: file name not UTF-8")
        << QStringList{"check", "{dir}/st\\0350.ini"} << none << 2 << exactly("") << notUtf8 << "";

    QTest::newRow("report") << QStringList{"report", "{dir}/worked.ini", "--output", "{dir}/p.docx"} << none << 0
                            << exactly("") << ""
                            << "{dir}/p.docx";
    QTest::newRow("report refused") << QStringList{"report", "{dir}/loud.ini", "--output", "{dir}/p.docx"} << none << 1
                                    << tooLoud << ""
                                    << "";

    QTest::newRow("report as PDF") << QStringList{"report", "{dir}/worked.ini", "--output", "{dir}/p.pdf"} << none << 0
                                   << exactly("") << ""
                                   << "{dir}/p.pdf";
    QTest::newRow("print") << QStringList{"print", "{dir}/worked.ini", "--output", "{dir}/s.pdf"} << none << 0
                           << exactly("Лист каналов записан в файл {dir}/s.pdf.\n") << ""
                           << "{dir}/s.pdf";
    QTest::newRow("print without channels") << QStringList{"print", "{dir}/norows.ini", "--output", "{dir}/s.pdf"}
                                            << none << 2 << exactly("") << "Fixed row count must be less than row count"
                                            << "";

    QTest::newRow("csv export") << QStringList{"csv", "export", "{dir}/worked.ini", "{dir}/t.csv"} << none << 0
                                << exactly("Таблица каналов записана в файл {dir}/t.csv (каналов: 2).\n") << ""
                                << "{dir}/t.csv";
    QTest::newRow("csv export in Windows-1251")
        << QStringList{"csv", "export", "--encoding", "windows-1251", "{dir}/worked.ini", "{dir}/t.csv"} << none << 0
        << exactly("Таблица каналов записана в файл {dir}/t.csv (каналов: 2).\n") << ""
        << "{dir}/t.csv";
    QTest::newRow("csv export, unknown encoding")
        << QStringList{"csv", "export", "--encoding", "koi8-r", "{dir}/worked.ini", "{dir}/t.csv"} << none << 2
        << exactly("") << "Неизвестная кодировка \"koi8-r\""
        << "";
    QTest::newRow("csv import") << QStringList{"csv", "import", "{dir}/worked.csv", "{dir}/new.ini"} << none << 0
                                << exactly("Файл каналов {dir}/new.ini записан из {dir}/worked.csv (каналов: 2).\n")
                                << ""
                                << "{dir}/new.ini";
    QTest::newRow("csv import refused") << QStringList{"csv", "import", "{dir}/headers.csv", "{dir}/new.ini"} << none
                                        << 1
                                        << exactly("Файл CSV не принят: строка 2: в файле нет ни одной строки "
                                                   "каналов, только заголовки.\n")
                                        << ""
                                        << "";
    QTest::newRow("csv import, settings file missing")
        << QStringList{"csv", "import", "{dir}/worked.csv", "{dir}/new.ini", "--settings", "{dir}/none.ini"} << none
        << 2 << exactly("") << "Файл не найден."
        << "";
    QTest::newRow("csv without action") << QStringList{"csv"} << none << 2 << exactly("") << "export или import"
                                        << "";
    QTest::newRow("csv help") << QStringList{"csv", "--help"} << none << 0
                              << "^Использование: vetral-cli csv export \\[параметры\\] FILE OUT\n(.|\n)*"
                                 "Использование: vetral-cli csv import \\[параметры\\] IN OUT\n"
                              << ""
                              << "";

    QTest::newRow("search finds COM3") << QStringList{"search"} << Station::Answering << 0
                                       << exactly("Подключились: COM3 — {station}\n") << "Идет Поиск..."
                                       << "";
    QTest::newRow("search finds none") << QStringList{"search"} << none << 3 << exactly("Не Подключились\n") << ""
                                       << "";
    QTest::newRow("no trace yet") << QStringList{"trace"} << none << 2 << exactly("")
                                  << "Журналов обмена нет: ни одной передачи со станцией ещё не было"
                                  << "";
    QTest::newRow("a trace that is not one")
        << QStringList{"trace", "{dir}/worked.ini"} << none << 2 << exactly("") << "Это не журнал обмена: строка 1"
        << "";
    QTest::newRow("trace --path with a file")
        << QStringList{"trace", "--path", "{dir}/a.txt"} << none << 2 << exactly("") << "Параметр --path не берёт файла"
        << "";
    QTest::newRow("support bundle") << QStringList{"support", "{dir}/support.zip"} << none << 0
                                    << exactly("Архив для службы поддержки: {dir}/support.zip\n") << ""
                                    << "{dir}/support.zip";
    QTest::newRow("support bundle never replaces a file")
        << QStringList{"support", "{dir}/worked.ini"} << none << 2 << exactly("")
        << "Не удалось записать архив для службы поддержки \"{dir}/worked.ini\": файл уже есть"
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

// A write that a station broke off leaves its trace, which `trace` shows
// and which, played by the simulator on another line, breaks off the same
// write at the same byte; the support bundle carries it, its summary first.
void CliTest::traceReplayedAndBundled()
{
    const Rig rig(Station::FallsSilent);
    const CliRun field = rig.run({"write", "{dir}/worked.ini", "--port", "COM3"});
    QCOMPARE(field.exitCode, 3);

    const CliRun path = rig.run({"trace", "--path"});
    QCOMPARE(path.exitCode, 0);
    const QString tracePath = path.out.trimmed();
    QVERIFY2(tracePath.startsWith(rig.path("data/vetral/Журналы обмена/")), qPrintable(tracePath));
    const CliRun shown = rig.run({"trace"});
    QCOMPARE(shown.exitCode, 0);
    QVERIFY2(shown.out.contains("Итог: нет ответа (AK) при записи, на байте 7 из 62"), qPrintable(shown.out));
    QVERIFY2(shown.out.contains(QRegularExpression(" мс  ->  стартовый байт +14\n")), qPrintable(shown.out));

    StationLineOptions replay;
    replay.replay = std::make_shared<TraceReplay>(TraceStore::load(tracePath));
    const CliLine line(CliLine::Kind::Memory, rig.path(""), [](std::uint8_t) { return QByteArray(); }, replay);
    const CliRun here = rig.run({"write", "{dir}/worked.ini", "--port", line.devicePath()});
    QCOMPARE(here.exitCode, field.exitCode);
    QCOMPARE(here.out, field.out);
    QCOMPARE(line.received(), rig.received());

    QCOMPARE(rig.run({"support", "{dir}/support.zip"}).exitCode, 0);
    QVERIFY(QFileInfo(rig.path("support.zip")).size() < 1024 * 1024);
    QProcess unzip;
    unzip.start("unzip", {"-Z", rig.path("support.zip")});
    QVERIFY(unzip.waitForFinished());
    // Unpacked, each file is its owner's to change and the others' to read.
    static const QRegularExpression entry("^(\\S+)(?:\\s+\\S+){7}\\s+(.+)$");
    QStringList names;
    for (const QString &listed : QString::fromUtf8(unzip.readAllStandardOutput()).split('\n')) {
        if (const QRegularExpressionMatch m = entry.match(listed); m.hasMatch() && listed.startsWith('-')) {
            QCOMPARE(m.captured(1), QString("-rw-r--r--"));
            names.append(m.captured(2));
        }
    }
    QCOMPARE(names.value(0), QStringLiteral("ПРОЧТИТЕ.txt"));
    QCOMPARE(names.filter(QRegularExpression("^traces/.* запись .*\\.txt$")).size(), 2);
    QVERIFY2(names.contains("settings/V404Options.ini"), qPrintable(names.join(' ')));
}

// What a write put into the station comes back through a read as a channel
// file that checks and dumps to the very same bytes, and the read leaves the
// same file in the archive, named by the station's serial number.
void CliTest::writeVerifyThenRead()
{
    const Rig rig(Station::Answering, Where::Process);
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

// `ports` names the station's device by its COM name and opens no port to
// find out: the device sees no open until the test's own.
void CliTest::portsListWithoutOpening()
{
    const Rig rig(Station::Answering, Where::Process);
    const QByteArray device = QFile::encodeName(rig.device());
    const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    QVERIFY(watch >= 0);
    QVERIFY(::inotify_add_watch(watch, device.constData(), IN_OPEN) >= 0);
    const auto opened = [watch] {
        char events[1024];
        return ::read(watch, events, sizeof events) > 0;
    };

    const CliRun run = rig.run({"ports"});
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.out.split('\n').contains(rig.expand("COM3\t{station}\t-\t-\t-\t-\t-\t-")), qPrintable(run.out));
    QVERIFY(!opened());
    const int fd = ::open(device.constData(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    QVERIFY(fd >= 0);
    ::close(fd);
    QVERIFY(opened());
    ::close(watch);
}

// Two files, or a file and the station it was written to: one line per
// difference, the exit status by the station bytes alone.
void CliTest::diff_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<Station>("station");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("lines"); // lines standard output must hold
    QTest::addColumn<bool>("archived");

    const QString textOnly = "\tразличается только текст, в станции одинаково";
    QTest::newRow("same file") << QStringList{"diff", "{dir}/worked.ini", "{dir}/worked.ini"} << Station::None << 0
                               << QStringList{} << false;
    QTest::newRow("files differ") << QStringList{"diff", "{dir}/worked.ini", "{dir}/other.ini"} << Station::None << 4
                                  << QStringList{"Громкость\t8\t9", "строка 2, Rx, кГц\t145500\t145600",
                                                 "Тон3\t705\t700" + textOnly}
                                  << false;
    QTest::newRow("second file refused") << QStringList{"diff", "{dir}/worked.ini", "{dir}/loud.ini"} << Station::None
                                         << 1 << QStringList{"Уровень громкости изм. 1-16"} << false;
    QTest::newRow("one file without a port")
        << QStringList{"diff", "{dir}/worked.ini"} << Station::None << 2 << QStringList{} << false;
    QTest::newRow("station holds the file") << QStringList{"diff", "{dir}/worked.ini", "--port", "COM3"}
                                            << Station::Answering << 0 << QStringList{} << true;
    QTest::newRow("station holds another tone") << QStringList{"diff", "{dir}/worked.ini", "--port", "{station}"}
                                                << Station::Altering << 4 << QStringList{"Тон3\t705\t710"} << true;
    QTest::newRow("station silent") << QStringList{"diff", "{dir}/worked.ini", "--port", "COM3"} << Station::Silent << 3
                                    << QStringList{"Станция не отвечает \\(AK\\)."} << false;
}

void CliTest::diff()
{
    QFETCH(QStringList, arguments);
    QFETCH(Station, station);
    QFETCH(int, exitCode);
    QFETCH(QStringList, lines);
    QFETCH(bool, archived);

    const Rig rig(station);
    QStringList other = kWorkedSettings + kWorkedRows;
    other.replaceInStrings(QRegularExpression("^Громкость=8$"), "Громкость=9");
    other.replaceInStrings(QRegularExpression("^Тон3=705$"), "Тон3=700");
    other.replaceInStrings(QRegularExpression("^Rx=145500$"), "Rx=145600");
    writeCp1251(rig.path("other.ini"), other);
    if (station == Station::Answering || station == Station::Altering)
        QCOMPARE(rig.run({"write", "{dir}/worked.ini", "--port", "COM3"}).exitCode, 0);

    const CliRun run = rig.run(arguments);
    QCOMPARE(run.exitCode, exitCode);
    for (const QString &line : lines)
        QVERIFY2(QRegularExpression("(^|\n)" + line + "(\n|$)").match(run.out).hasMatch(), qPrintable(run.out));
    if (lines.isEmpty() && exitCode == 0)
        QCOMPARE(run.out, QString());
    QCOMPARE(QDir(rig.archiveFolder()).entryList(QDir::Files).size(), archived ? 1 : 0);
}

// Output that does not reach its file is no success, whatever the command did.
// A channel file through CSV and back is the same station data; without
// --settings the file gets the template's settings.
void CliTest::csvRoundTrip_data()
{
    QTest::addColumn<QStringList>("settings");
    QTest::addColumn<QString>("dump");
    QTest::newRow("settings from the file") << QStringList{"--settings", "{dir}/worked.ini"} << kWorkedDump;
    QTest::newRow("settings of the template") << QStringList{}
                                              << QString(kWorkedDump)
                                                     .replace(0, 74,
                                                              "01 08 02 C8 00 46 4B 64 78 8C 9B AA C7 D2 F0 00 01 "
                                                              "00 00 C8 06 00 00 00 00");
}

void CliTest::csvRoundTrip()
{
    QFETCH(QStringList, settings);
    QFETCH(QString, dump);
    const Rig rig(Station::None);
    QCOMPARE(rig.run({"csv", "export", "{dir}/worked.ini", "{dir}/t.csv"}).exitCode, 0);
    QCOMPARE(rig.run(QStringList{"csv", "import", "{dir}/t.csv", "{dir}/back.ini"} + settings).exitCode, 0);
    const CliRun back = rig.run({"dump", "{dir}/back.ini"});
    QCOMPARE(back.exitCode, 0);
    QCOMPARE(back.out, dump);
}

void CliTest::lostOutput_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("err");
    const QString full = "Стандартный вывод не записан: нет места на диске.\n";
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
    const Rig rig(Station::None, Where::Process);
    const CliRun run = rig.run(arguments, output);
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.startsWith(err), qPrintable(run.err));
}

// Started with standard output and error closed, the program must not
// take the descriptors it opens next for them: its progress would go to the
// station as bytes of the write.
void CliTest::closedStandardStreams_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("received"); // by the station
    QTest::addColumn<QString>("made");        // a file the command must have made
    const QByteArray write = char(20) + QByteArray::fromHex(kWorkedDump.toLatin1());
    QTest::newRow("write") << QStringList{"write", "{dir}/worked.ini", "--port", "COM3"} << write << "";
    QTest::newRow("read") << QStringList{"read", "--port", "{station}", "--output", "{dir}/r.ini"}
                          << QByteArray(1, char(30)) << "{dir}/r.ini";
}

void CliTest::closedStandardStreams()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, received);
    QFETCH(QString, made);
    const Rig rig(Station::Answering, Where::Process);
    const CliRun run = rig.run(arguments, CliHome::kClosedStreams);
    QCOMPARE(rig.received().toHex(' '), received.toHex(' '));
    QCOMPARE(run.exitCode, 0);
    if (!made.isEmpty())
        QVERIFY(QFileInfo(rig.expand(made)).size() > 0);
}

// A stop asked by a signal in the middle of a transfer: the transfer runs
// to its end, the program says so at once, and the exit tells that it was
// stopped. A signal the program was started with ignored stays ignored.
void CliTest::stopSignals_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("signal");
    QTest::addColumn<int>("atByte"); // received by the station
    QTest::addColumn<bool>("ignored");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out"); // pattern for standard output
    QTest::addColumn<QString>("err"); // text standard error must hold
    // A line of progress the notice of the stop comes before: it is said at
    // once, while the transfer still runs.
    QTest::addColumn<QString>("before");

    const QStringList write{"write", "{dir}/worked.ini", "--port", "COM3"};
    const QString writing = "Остановка: запись станции на COM3 будет закончена (ещё ";
    const QString reading = "Остановка: чтение станции на COM3 будет закончено (ещё ";
    QTest::newRow("SIGINT in a write") << write << SIGINT << 2 << false << 5
                                       << exactly("Остановлено: данные записаны в станцию.\n") << writing << "ПР 100%";
    // The read's data are kept: it ran to its end.
    QTest::newRow("SIGINT in a read") << QStringList{"read", "--port", "COM3", "--output", "{dir}/r.ini"} << SIGINT << 1
                                      << false << 5
                                      << exactly(
                                             "Остановлено после чтения: данные станции сохранены в файл {dir}/r.ini.\n")
                                      << reading << "ПП 0%";
    QTest::newRow("SIGTERM in a diff with the station")
        << QStringList{"diff", "{dir}/worked.ini", "--port", "COM3"} << SIGTERM << 1 << false << 5
        << exactly("Остановлено после чтения станции: сравнение не выполнено.\n") << reading << "ПП 0%";
    QTest::newRow("SIGHUP ignored, as under nohup")
        << write + QStringList{"--verify"} << SIGHUP << 2 << true << 0
        << exactly("Данные записаны в станцию, прочитаны и совпадают с записанными.\n") << "ПР 100%"
        << "";
    QTest::newRow("SIGINT ignored, as in a background job")
        << write << SIGINT << 2 << true << 0 << exactly("Данные записаны в станцию.\n") << "ПР 100%"
        << "";
}

void CliTest::stopSignals()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, signal);
    QFETCH(int, atByte);
    QFETCH(bool, ignored);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QFETCH(QString, before);

    Rig rig(Station::Answering, Where::Process);
    rig.signalAt(atByte, signal);
    const CliRun run = rig.run(arguments, QString(), ignored ? signal : 0);
    QVERIFY2(rig.pattern(out).match(run.out).hasMatch(), qPrintable(run.out));
    QVERIFY2(run.err.contains(rig.expand(err)), qPrintable(run.err));
    QCOMPARE(run.exitCode, exitCode);
    QCOMPARE(run.err.contains("Остановка"), !ignored);
    if (!before.isEmpty())
        QVERIFY2(run.err.indexOf("Остановка") < run.err.indexOf(before), qPrintable(run.err));
}

QTEST_MAIN(CliTest)
#include "tst_cli.moc"
