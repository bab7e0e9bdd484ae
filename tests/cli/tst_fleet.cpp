// vetral-cli fleet over several simulated stations, each on a line of its
// own: what each station receives, the archive copies of what they held,
// their reports, the result lines and the exit status, and the refusals that
// come before any byte is sent. The command runs in the test's process on
// lines in memory, and as a process on pseudo-terminals where signals stop it.
#include "cliline.h"
#include "inprocesscli.h"
#include "simulatedstation.h"

#include <QRegularExpression>
#include <QStringDecoder>
#include <csignal>
#include <memory>
#include <thread>
#include <vector>

namespace {

const QString kWritten = "записано и проверено";

// Where Тон3 lies in the station's reply: serial 3, header 5, Id 2, tones.
constexpr int kReplyTone3 = 12;
// Where the Id lies in what a write sends after the start byte.
constexpr int kWriteIdHigh = 15;

// What a station that falls silent in the write answers: the read request,
// the start byte and header bytes 3..7.
constexpr int kAnsweredBeforeSilence = 1 + 1 + 5;

// A signal sent to the program when a station has received so many bytes.
struct SignalAt
{
    qsizetype station;
    qsizetype received;
    QList<int> sent; // signals, one after the other
};

// Stations by letter: A answers, S is silent, W falls silent in the write,
// D alters Тон3 in its replies, C answers the read-back with another serial
// number, M is reached through a link that is moved to a spare station as
// soon as its backup read begins. I is sent SIGINT during its backup read
// (which its late answer keeps going), T SIGTERM when its write begins, H
// SIGINT and then SIGHUP where it falls silent in its write.
class Stations
{
public:
    // Signals reach only a process: their stations are pseudo-terminals.
    Stations(const QString &kinds, const QStringList &serials)
        : m_kind(kinds.contains(QRegularExpression("[ITH]")) ? CliLine::Kind::PseudoTerminal : CliLine::Kind::Memory)
    {
        for (qsizetype i = 0; i < kinds.size(); ++i) {
            const QChar kind = kinds.at(i);
            if (kind == u'I')
                m_signals.append({i, 1, {SIGINT}});
            if (kind == u'T')
                m_signals.append({i, 2, {SIGTERM}});
            if (kind == u'H')
                m_signals.append({i, kAnsweredBeforeSilence + 1, {SIGINT, SIGHUP}});
            StationMemory memory; // no channels, an Id of its own
            // Six hexadecimal digits make the three bytes; a longer text is cut.
            const QByteArray serial = QByteArray::fromHex(serials.at(i).toLatin1());
            for (std::size_t b = 0; b < memory.serial.size() && qsizetype(b) < serial.size(); ++b)
                memory.serial[b] = static_cast<std::uint8_t>(serial.at(qsizetype(b)));
            memory.idCode = static_cast<std::uint16_t>(0x0F01 + i);
            auto one = std::make_unique<One>(memory);
            StationLineOptions options;
            if (kind == u'S')
                options.silentAfter = 0;
            if (kind == u'W' || kind == u'H')
                options.silentAfter = kAnsweredBeforeSilence;
            if (kind == u'I')
                options.answerDelayMs = 50;
            One *self = one.get();
            one->line = std::make_unique<CliLine>(
                m_kind, m_dir.path(),
                [self, kind, this](std::uint8_t byte) {
                    QByteArray answer = self->station.onByte(byte, 0);
                    if (kind == u'D' && answer.size() > kReplyTone3)
                        answer[kReplyTone3] = char(answer.at(kReplyTone3) + 1);
                    if (byte == 30 && self->requests++ > 0 && kind == u'C')
                        answer[0] = char(answer.at(0) ^ 0xFF);
                    if (byte == 30 && kind == u'M' && self->requests == 1)
                        m_spare->linkAs(self->link);
                    return answer;
                },
                options);
            if (kind == u'M') {
                one->link = m_dir.filePath(QString("ttyMoved%1").arg(i));
                one->line->linkAs(one->link);
            }
            m_all.push_back(std::move(one));
        }
        StationMemory spare;
        m_spare = std::make_unique<CliLine>(m_kind, m_dir.path(), [station = SimulatedStation(spare)](
                                                                       std::uint8_t byte) mutable {
            return station.onByte(byte, 0);
        });
    }
    ~Stations() { stop(); }

    // The port's device: the link, for a station reached through one.
    QString device(qsizetype i) const
    {
        const One &one = *m_all.at(std::size_t(i));
        return one.link.isEmpty() ? one.line->devicePath() : one.link;
    }
    QByteArray received(qsizetype i) const { return m_all.at(std::size_t(i))->line->received(); }
    bool inMemory() const { return m_kind == CliLine::Kind::Memory; }
    QByteArray spareReceived() const { return m_spare->received(); }
    void stop()
    {
        for (const auto &one : m_all)
            one->line->stop();
        m_spare->stop();
        for (std::thread &thread : m_senders)
            thread.join();
        m_senders.clear();
    }

    // Sends each station's signals to the program once it has received enough.
    void signalAt(qint64 pid)
    {
        for (const SignalAt &at : m_signals)
            m_senders.emplace_back([this, at, pid] {
                if (!m_all.at(std::size_t(at.station))->line->waitForReceived(at.received, 20000))
                    return;
                for (int signal : at.sent)
                    ::kill(pid_t(pid), signal);
            });
    }

private:
    struct One
    {
        explicit One(const StationMemory &memory) : station(memory) {}
        SimulatedStation station;
        std::unique_ptr<CliLine> line;
        QString link;     // the port's name, for a station reached through a link
        int requests = 0; // read requests so far
    };
    CliLine::Kind m_kind;
    QTemporaryDir m_dir;
    std::vector<std::unique_ptr<One>> m_all;
    std::unique_ptr<CliLine> m_spare; // where a moved link leads
    QList<SignalAt> m_signals;
    std::vector<std::thread> m_senders;
};

// What a station must receive: the read request, the write with its Id, the
// read request of the check.
QByteArray expectedBytes(QChar kind, const QString &id)
{
    if (kind == u'S' || kind == u'I')
        return QByteArray(1, char(30));
    QByteArray write = QByteArray::fromHex(kWorkedDump.toLatin1());
    write[kWriteIdHigh] = char(id.left(2).toInt(nullptr, 16));
    write[kWriteIdHigh + 1] = char(id.right(2).toInt(nullptr, 16));
    if (kind == u'W' || kind == u'H') // up to the first byte not answered
        return char(30) + (char(20) + write.left(kAnsweredBeforeSilence - 1));
    if (kind == u'T') // stopped before the read-back
        return char(30) + (char(20) + write);
    return char(30) + (char(20) + write) + char(30);
}

// The body of a report, through unzip (as scripts/install-deps installs it).
QString documentText(const QString &path)
{
    QProcess unzip;
    unzip.start("unzip", {"-p", path, "word/document.xml"});
    return unzip.waitForFinished() ? QString::fromUtf8(unzip.readAllStandardOutput()) : QString();
}

QString fileText(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringDecoder cp1251("windows-1251");
    return cp1251.decode(file.readAll());
}

// "<serial> <Id>" as the settings text of a channel file or a report shows them.
QString serialAndId(const QString &text)
{
    static const QRegularExpression serial("Серийный номер=(\\w+)"), id("Id_номер=(\\w+)");
    return serial.match(text).captured(1) + ' ' + id.match(text).captured(1);
}

QStringList sorted(QStringList list)
{
    list.sort();
    return list;
}

} // namespace

class FleetTest : public QObject
{
    Q_OBJECT
private slots:
    void batch_data();
    void batch();
    void refusedBeforeAnyByte_data();
    void refusedBeforeAnyByte();
};

void FleetTest::batch_data()
{
    QTest::addColumn<QString>("kinds");
    QTest::addColumn<QStringList>("serials");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("ids");
    QTest::addColumn<QStringList>("results");

    QTest::newRow("three written, Ids from 0042")
        << "AAA" << QStringList{"111111", "22A2B2", "333333"} << QStringList{"--id-from", "0042"} << 0
        << QStringList{"0042", "0043", "0044"} << QStringList{kWritten, kWritten, kWritten};
    QTest::newRow("a silent station fails alone")
        << "ASA" << QStringList{"111111", "222222", "333333"} << QStringList{"--id-from", "9997"} << 3
        << QStringList{"9997", "9998", "9999"} << QStringList{kWritten, "нет ответа (AK) при чтении", kWritten};
    QTest::newRow("a station falls silent in the write")
        << "WA" << QStringList{"111111", "222222"} << QStringList{"--id-from", "0100"} << 3
        << QStringList{"0100", "0101"} << QStringList{"нет ответа (AK) при записи, на байте 7 из 62", kWritten};
    QTest::newRow("the file's Id, one station differs")
        << "DA" << QStringList{"111111", "222222"} << QStringList{} << 4 << QStringList{"12AB", "12AB"}
        << QStringList{"станция хранит не то, что записано: Тон3: записано 46, прочитано 47", kWritten};
    QTest::newRow("two stations of one serial number")
        << "AA" << QStringList{"ABCDEF", "ABCDEF"} << QStringList{"--id-from", "0000"} << 0
        << QStringList{"0000", "0001"} << QStringList{kWritten, kWritten};
    QTest::newRow("a port's link moved to another station after the backup")
        << "MA" << QStringList{"111111", "222222"} << QStringList{"--id-from", "0001"} << 0
        << QStringList{"0001", "0002"} << QStringList{kWritten, kWritten};
    QTest::newRow("another station answers the read-back")
        << "AC" << QStringList{"111111", "222222"} << QStringList{"--id-from", "0001"} << 4
        << QStringList{"0001", "0002"}
        << QStringList{kWritten,
                       "станция сменилась: до записи прочитана 222222, после записи - DD2222; протокол не записан"};
    QTest::newRow("SIGINT during the backup read") << "I" << QStringList{"111111"} << QStringList{} << 5
                                                   << QStringList{"12AB"} << QStringList{"остановлено до записи"};
    QTest::newRow("SIGTERM during the write")
        << "T" << QStringList{"111111"} << QStringList{} << 5 << QStringList{"12AB"}
        << QStringList{"остановлено: записано, не проверено"};
    QTest::newRow("a second signal in the write")
        << "H" << QStringList{"111111"} << QStringList{} << 5 << QStringList{"12AB"}
        << QStringList{"прервано при записи, на байте 7 из 62: станция записана не полностью"};
}

void FleetTest::batch()
{
    QFETCH(QString, kinds);
    QFETCH(QStringList, serials);
    QFETCH(QStringList, options);
    QFETCH(int, exitCode);
    QFETCH(QStringList, ids);
    QFETCH(QStringList, results);

    const CliHome home;
    Stations stations(kinds, serials);
    // COM3, COM4 ... through the map, the last station by its device path.
    QMap<int, QString> map;
    QStringList names;
    QStringList arguments{"fleet", home.path("worked.ini"), "--report-dir", home.path("reports")};
    for (qsizetype i = 0; i < kinds.size(); ++i) {
        const int com = 3 + int(i);
        map.insert(com, stations.device(i));
        names.append(i + 1 < kinds.size() ? QString("COM%1").arg(com) : stations.device(i));
        arguments += QStringList{"--port", names.last()};
    }
    home.mapPorts(map);
    const CliRun run = stations.inMemory() ? InProcessCli::run(home, arguments + options)
                                           : home.run(arguments + options, QString(),
                                                      [&stations](qint64 pid) { stations.signalAt(pid); });
    stations.stop();
    QCOMPARE(stations.spareReceived(), QByteArray());

    QStringList lines, archived, reported, reportNames;
    for (qsizetype i = 0; i < kinds.size(); ++i) {
        const bool read = kinds.at(i) != u'S';
        lines.append(QStringList{names.at(i), read ? serials.at(i) : "-", ids.at(i), results.at(i)}.join('\t'));
        QCOMPARE(stations.received(i).toHex(' '), expectedBytes(kinds.at(i), ids.at(i)).toHex(' '));
        if (read)
            archived.append(serials.at(i) + QString(" %1").arg(0x0F01 + i, 4, 16, QChar('0')).toUpper());
        if (results.at(i) == kWritten) {
            reported.append(serials.at(i) + ' ' + ids.at(i));
            const qsizetype taken = serials.mid(0, i).count(serials.at(i));
            reportNames.append(serials.at(i) + (taken ? QString(" (%1)").arg(taken + 1) : QString()) + ".docx");
        }
    }
    QCOMPARE(run.out, lines.join('\n') + '\n');
    QVERIFY2(run.exitCode == exitCode, qPrintable(run.err));

    // Each station's old content in a copy named by its serial number.
    QStringList found;
    // Nothing half made is left behind, hidden or not.
    for (const QFileInfo &copy : QDir(home.archiveFolder()).entryInfoList(QDir::Files | QDir::Hidden)) {
        const QString content = serialAndId(fileText(copy.filePath()));
        QVERIFY2(copy.fileName().startsWith(content.section(' ', 0, 0) + ' '), qPrintable(copy.fileName()));
        found.append(content);
    }
    QCOMPARE(sorted(found), sorted(archived));

    // A report for each verified station, showing its serial number and Id.
    const QDir reports(home.path("reports"));
    QCOMPARE(sorted(reports.entryList(QDir::Files | QDir::Hidden)), sorted(reportNames));
    found.clear();
    for (const QString &name : reportNames)
        found.append(serialAndId(documentText(reports.filePath(name))));
    QCOMPARE(sorted(found), sorted(reported));
}

void FleetTest::refusedBeforeAnyByte_data()
{
    // One row for each kind of refusal; the ports' and Ids' own cases are
    // BatchChoice's.
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err"); // text standard error must hold

    const QStringList worked{"fleet", "{dir}/worked.ini"};
    const QString sameDevice = "одно и то же устройство";
    QTest::newRow("one device twice") << worked
                                             + QStringList{"--port", "COM3", "--port", "COM4", "--port", "{station0}"}
                                      << 2 << "" << sameDevice;
    QTest::newRow("Id with a letter") << worked + QStringList{"--port", "COM3", "--id-from", "12A4"} << 2 << ""
                                      << "--id-from";
    QTest::newRow("report folder given twice")
        << worked + QStringList{"--port", "COM3", "--report-dir", "{dir}/a", "--report-dir", "{dir}/b"} << 2 << ""
        << "--report-dir указан более одного раза";
    QTest::newRow("report folder takes no file")
        << worked + QStringList{"--port", "COM3", "--report-dir", "/sys"} << 2 << ""
        << "В папку протоколов \"/sys\" нельзя записать файл: папка только для чтения";
    QTest::newRow("check refuses") << QStringList{"fleet", "{dir}/loud.ini", "--port", "COM3", "--port", "COM4"} << 1
                                   << "Уровень громкости изм. 1-16\n"
                                   << "";
}

void FleetTest::refusedBeforeAnyByte()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, err);

    const CliHome home;
    Stations stations("AA", {"111111", "222222"});
    home.mapPorts({{3, stations.device(0)}, {4, stations.device(1)}});
    arguments.replaceInStrings("{dir}", home.root()).replaceInStrings("{station0}", stations.device(0));
    const CliRun run = InProcessCli::run(home, arguments);
    stations.stop();

    QCOMPARE(run.out, out);
    QVERIFY2(run.err.contains(err), qPrintable(run.err));
    QCOMPARE(run.exitCode, exitCode);
    QCOMPARE(stations.received(0), QByteArray());
    QCOMPARE(stations.received(1), QByteArray());
    QVERIFY(!QFileInfo::exists(home.archiveFolder()));
}

QTEST_MAIN(FleetTest)
#include "tst_fleet.moc"
