// Traces of transfers: the file format and its refusals, the steps named in
// the readable listing, the recording's times on the line's own clock, the
// folder that keeps the newest, and a field fault replayed from its trace
// giving the program the same outcome and bytes. On lines in memory.

#include "check/datacheck.h"
#include "common/platformerror.h"
#include "simulatedstation.h"
#include "support/checkfixtures.h"
#include "support/linkfixtures.h"
#include "support/memoryline.h"
#include "support/supportbundle.h"
#include "trace/traceformat.h"
#include "trace/tracelisting.h"
#include "trace/tracestore.h"
#include "tracereplay.h"
#include "transfer/stationsequence.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace LinkFixtures;
using Kind = SequenceOutcome::Kind;
using Event = TraceEvent::Kind;

namespace {

// A station's transfer on a line in memory, its trace kept in a folder.
struct TracedTransfer
{
    QTemporaryDir dir;
    SequenceOutcome outcome;
    QByteArray onLine; // what the station received
    Trace trace;

    TracedTransfer(bool reading, int channels, StationLineOptions options)
    {
        SimulatedStation station;
        MemoryLine line([&station](std::uint8_t b) { return station.onByte(b, 0); }, options);
        StationPlan plan;
        plan.channels = CheckFixtures::templatePlan(StationKind::Band144_174, channels);
        const DataCheckResult check = DataCheck::run(plan.channels, dir.filePath(QStringLiteral("MyTemp.ini")));
        if (!check.passed())
            qFatal("the template does not pass the check");
        plan.data = check.station;
        plan.backUp = reading;
        plan.write = !reading;
        plan.verify = false;
        plan.link.device = line.devicePath();
        plan.link.factory = memoryLinkFactory();
        plan.link.timings = testTimings();
        plan.link.traceFolder = dir.filePath(QStringLiteral("traces"));
        RecordingEvents events;
        outcome = StationSequence::run(plan, events);
        onLine = line.received();
        // Each line in memory has a name of its own.
        outcome.failure.replace(line.devicePath(), QStringLiteral("{line}"));
        if (!outcome.trace.isEmpty())
            trace = TraceStore::load(outcome.trace);
    }
};

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

// Each line in memory has a name of its own.
QList<TraceEvent> withoutDevices(QList<TraceEvent> events)
{
    static const QRegularExpression lineName(QStringLiteral("memory-line-\\d+"));
    for (TraceEvent &event : events) {
        if (event.kind == Event::Opened)
            event.text.clear();
        event.text.replace(lineName, QStringLiteral("{line}"));
    }
    return events;
}

Trace sample()
{
    Trace trace;
    trace.program = QStringLiteral("vetral 1.0.0");
    trace.started = QDateTime(QDate(2026, 5, 1), QTime(10, 15, 2, 123));
    trace.transfer = QStringLiteral("запись");
    trace.port = QStringLiteral("COM3 (/dev/ttyUSB0)");
    trace.outcome = QStringLiteral("выполнено");
    trace.events = {{0, Event::Opened, {}, QStringLiteral("/dev/ttyUSB0")},
                    {250, Event::Sent, hex("14"), {}},
                    {267, Event::Received, hex("14"), {}},
                    {300, Event::Failed, {}, QStringLiteral("устройство отключено")},
                    {301, Event::Closed, {}, {}}};
    return trace;
}

} // namespace

Q_DECLARE_METATYPE(Trace)
Q_DECLARE_METATYPE(StationLineOptions)

class TestTrace : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void format_data()
    {
        QTest::addColumn<Trace>("trace");
        QTest::addColumn<Trace>("readBack");
        QTest::newRow("every kind of event") << sample() << sample();
        Trace empty;
        empty.transfer = QStringLiteral("поиск");
        QTest::newRow("nothing on the line") << empty << empty;
        // A platform's message breaks its lines; a trace's header keeps one per key.
        Trace broken = sample();
        broken.outcome = QStringLiteral("нет доступа:\n    sudo adduser tech dialout\r\nи войдите");
        Trace flat = sample();
        flat.outcome = QStringLiteral("нет доступа:     sudo adduser tech dialout и войдите");
        QTest::newRow("line breaks in a header value") << broken << flat;
        // Bytes one way within a millisecond are one event, one line.
        Trace run;
        run.add(5, Event::Sent, hex("14"));
        run.add(5, Event::Sent, hex("01"));
        run.add(5, Event::Received, hex("14"));
        run.add(6, Event::Received, hex("01"));
        Trace runBack;
        runBack.events = {{5, Event::Sent, hex("1401"), {}},
                          {5, Event::Received, hex("14"), {}},
                          {6, Event::Received, hex("01"), {}}};
        QTest::newRow("bytes of one millisecond") << run << runBack;
    }
    void format()
    {
        QFETCH(Trace, trace);
        QFETCH(Trace, readBack);
        QCOMPARE(TraceFormat::decode(TraceFormat::encode(trace)), readBack);
    }

    void refused_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("message");
        const QByteArray head = TraceFormat::encode(Trace());
        QTest::newRow("a channel file") << QByteArray("[Общие установки]\r\n")
                                        << "Это не журнал обмена: строка 1: нет заголовка \"Журнал обмена "
                                           "Ветрал, формат 1\"";
        QTest::newRow("a byte in decimal") << head + "12 > 140\n"
                                           << "Это не журнал обмена: строка 3: \"140\" не байт в "
                                              "шестнадцатеричной записи";
        QTest::newRow("no bytes") << head + "12 <\n"
                                  << "Это не журнал обмена: строка 3: нет байтов";
        QTest::newRow("an unknown event") << head + "12 сброс\n"
                                          << "Это не журнал обмена: строка 3: неизвестное событие \"сброс\"";
        QTest::newRow("a header line among the events")
            << head + "12 > 14\nитог: выполнено\n"
            << "Это не журнал обмена: строка 4: нет времени в миллисекундах";
    }
    void refused()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, message);
        try {
            TraceFormat::decode(text);
            QFAIL("taken");
        } catch (const PlatformError &e) {
            QCOMPARE(e.text(), message);
        }
    }

    // The step of each run of bytes, told from its place since the opening.
    void steps_data()
    {
        QTest::addColumn<QList<TraceEvent>>("events");
        QTest::addColumn<QStringList>("steps");
        const QByteArray write = hex("14") + QByteArray(25, '\1') + QByteArray(19, '\2');
        QTest::newRow("a write, answered after its tones")
            << QList<TraceEvent>{{0, Event::Opened, {}, "/dev/x"},
                                 {5, Event::Sent, write, {}},
                                 {20, Event::Received, hex("AA"), {}}}
            << QStringList{"порт открыт", "стартовый байт", "заголовок", "тоны",    "Id",     "заголовок",
                           "модуль",      "диапазон",       "канал 1",   "канал 2", "канал 2"};
        QTest::newRow("a write answered byte for byte")
            << QList<TraceEvent>{{5, Event::Sent, hex("14"), {}},
                                 {6, Event::Received, hex("14"), {}},
                                 {7, Event::Sent, hex("01"), {}},
                                 {8, Event::Received, hex("01"), {}}}
            << QStringList{"стартовый байт", "стартовый байт", "заголовок", "заголовок"};
        QByteArray reply(28 + 18 + 2, '\0');
        reply[5] = 1; // one channel
        QTest::newRow("a read with two bytes too many") << QList<TraceEvent>{{0, Event::Received, hex("77"), {}},
                                                                             {250, Event::Sent, hex("1E"), {}},
                                                                             {260, Event::Received, reply, {}}}
                                                        << QStringList{"до начала",         "запрос",
                                                                       "блок 1: заголовок", "блок 2: тоны",
                                                                       "блок 3: заголовок", "блок 4: модуль, диапазон",
                                                                       "канал 1",           "сверх ответа"};
        QTest::newRow("the search, a second port")
            << QList<TraceEvent>{{0, Event::Opened, {}, "a"},
                                 {1000, Event::Sent, hex("AF"), {}},
                                 {1201, Event::Sent, hex("05"), {}},
                                 {1202, Event::Closed, {}, {}},
                                 {1203, Event::Opened, {}, "b"},
                                 {2203, Event::Sent, hex("AF"), {}},
                                 {2300, Event::Received, hex("00"), {}},
                                 {2301, Event::Sent, hex("05"), {}}}
            << QStringList{"порт открыт", "проба", "закрытие",       "порт закрыт",
                           "порт открыт", "проба", "ответ на пробу", "закрытие"};
        // A read's place restarts when the port is opened again.
        QTest::newRow("a write after a read")
            << QList<TraceEvent>{{0, Event::Opened, {}, "a"},
                                 {1, Event::Sent, hex("1E"), {}},
                                 {2, Event::Received, hex("0000"), {}},
                                 {3, Event::Opened, {}, "a"},
                                 {4, Event::Sent, hex("1401"), {}}}
            << QStringList{"порт открыт", "запрос", "блок 1: заголовок", "порт открыт", "стартовый байт", "заголовок"};
    }
    void steps()
    {
        QFETCH(QList<TraceEvent>, events);
        QFETCH(QStringList, steps);
        Trace trace;
        trace.events = events;
        const QStringList lines = TraceListing::lines(trace);
        const qsizetype first = lines.indexOf(QString()) + 1;
        QStringList named;
        for (qsizetype i = first; i < lines.size(); ++i)
            named.append(lines.at(i).mid(17, 24).trimmed());
        QCOMPARE(named, steps);
    }

    void listingLine()
    {
        Trace trace;
        trace.events = {{1234, Event::Sent, hex("1401"), {}}};
        QCOMPARE(TraceListing::lines(trace).mid(3), QStringList({"    1234 мс  ->  стартовый байт           14",
                                                                 "    1234 мс  ->  заголовок                01"}));
    }

    // Times on the line's own clock: exact on a line in memory.
    void recorded_data()
    {
        QTest::addColumn<bool>("reading");
        QTest::addColumn<StationLineOptions>("line");
        QTest::addColumn<qint64>("firstSentMs");
        QTest::addColumn<qint64>("answerMs");
        // The quiet line (250 ms) before the start byte or request.
        QTest::newRow("write, answers at once") << false << StationLineOptions{} << qint64(250) << qint64(0);
        QTest::newRow("write, answers 150 ms late")
            << false << StationLineOptions{.answerDelayMs = 150} << qint64(250) << qint64(150);
        QTest::newRow("read in 16 ms bursts")
            << true << StationLineOptions{.adapterLatencyMs = 16} << qint64(250) << qint64(6);
    }
    void recorded()
    {
        QFETCH(bool, reading);
        QFETCH(StationLineOptions, line);
        QFETCH(qint64, firstSentMs);
        QFETCH(qint64, answerMs);
        const TracedTransfer transfer(reading, 3, line);
        QCOMPARE(transfer.outcome.kind, Kind::Done);
        const Trace &trace = transfer.trace;
        QCOMPARE(trace.sent(), transfer.onLine);
        QCOMPARE(trace.transfer, reading ? QStringLiteral("чтение") : QStringLiteral("запись"));
        QCOMPARE(trace.outcome, QStringLiteral("выполнено"));
        QCOMPARE(trace.program, Trace::thisProgram());
        QCOMPARE(trace.events.first().kind, Event::Opened);
        QCOMPARE(trace.events.last().kind, Event::Closed);
        QCOMPARE(trace.events.at(1).kind, Event::Sent);
        QCOMPARE(trace.events.at(1).ms, firstSentMs);
        QCOMPARE(trace.events.at(2).kind, Event::Received);
        QCOMPARE(trace.events.at(2).ms - firstSentMs, answerMs);
    }

    void size()
    {
        const TracedTransfer transfer(false, 99, {});
        QCOMPARE(transfer.outcome.kind, Kind::Done);
        QCOMPARE(transfer.trace.received().size(), 1 + 25 + 99 * 18);
        QVERIFY2(QFileInfo(transfer.outcome.trace).size() < 100 * 1024,
                 qPrintable(QString::number(QFileInfo(transfer.outcome.trace).size())));
    }

    void kept()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("traces"));
        Trace trace = sample();
        QStringList stored;
        for (int i = 0; i < 5; ++i) {
            trace.started = trace.started.addSecs(1);
            stored.prepend(TraceStore::store(trace, folder, 3));
        }
        QCOMPARE(TraceStore::newest(folder, 10), stored.mid(0, 3));
        QCOMPARE(TraceStore::last(folder), std::optional<QString>(stored.first()));
        QCOMPARE(QFileInfo(stored.first()).fileName(),
                 QStringLiteral("2026-05-01 10-15-07-123 запись COM3___dev_ttyUSB0_.txt"));
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), 3);
    }

    // The support bundle: its summary first and telling the last transfer,
    // the newest traces and archive names only, files that are not there
    // left out, and an existing file never replaced.
    void bundle()
    {
        QTemporaryDir dir;
        SupportBundle::Sources sources;
        sources.traceFolder = dir.filePath(QStringLiteral("traces"));
        sources.archiveFolder = dir.filePath(QStringLiteral("archive"));
        sources.settingsFiles = {dir.filePath(QStringLiteral("V404Options.ini")),
                                 dir.filePath(QStringLiteral("none.ini"))};
        QFile options(sources.settingsFiles.first());
        QVERIFY(options.open(QIODevice::WriteOnly) && options.write("[Ports]\r\nCOM3=/dev/ttyUSB0\r\n") > 0);
        options.close();
        Trace trace = sample();
        QStringList traces;
        for (int i = 0; i < 12; ++i) {
            trace.started = trace.started.addSecs(1);
            trace.outcome = QStringLiteral("итог %1").arg(i);
            traces.prepend(QFileInfo(TraceStore::store(trace, sources.traceFolder)).fileName());
        }
        QVERIFY(QDir().mkpath(sources.archiveFolder));
        for (int i = 0; i < 25; ++i) {
            QFile copy(QDir(sources.archiveFolder).filePath(QStringLiteral("copy %1.ini").arg(i, 2, 10, QChar(u'0'))));
            QVERIFY(copy.open(QIODevice::WriteOnly));
            QVERIFY(copy.setFileTime(QDateTime::currentDateTime().addSecs(i), QFileDevice::FileModificationTime));
        }

        const QList<SupportBundle::File> files = SupportBundle::collect(sources);
        QStringList names;
        for (const SupportBundle::File &file : files)
            names.append(file.name);
        QStringList expected{QStringLiteral("ПРОЧТИТЕ.txt"), QStringLiteral("ports.txt"),
                             QStringLiteral("settings/V404Options.ini"), QStringLiteral("archive.txt")};
        for (const QString &name : traces.mid(0, SupportBundle::Traces))
            expected.append(QStringLiteral("traces/") + name);
        QCOMPARE(names, expected);
        const QString summary = QString::fromUtf8(files.first().data);
        QVERIFY2(summary.contains(QStringLiteral("итог: итог 11\n")), qPrintable(summary));
        const QStringList archive = QString::fromUtf8(files.at(3).data).split(u'\n');
        QCOMPARE(archive.size(), SupportBundle::ArchiveNames);
        QCOMPARE(archive.first(), QStringLiteral("copy 24.ini"));

        const QString zip = dir.filePath(QStringLiteral("support.zip"));
        QCOMPARE(SupportBundle::write(zip, files), zip);
        QVERIFY(QFileInfo(zip).size() < 1024 * 1024);
        QVERIFY_THROWS_EXCEPTION(PlatformError, SupportBundle::write(zip, files));
    }

    // A fault recorded on one line and played back on another: the program
    // sends the same bytes at the same times and ends the same way.
    void replay_data()
    {
        QTest::addColumn<bool>("reading");
        QTest::addColumn<StationLineOptions>("line");
        QTest::addColumn<Kind>("outcome");
        QTest::newRow("write, silent in the tones") << false << StationLineOptions{.silentAfter = 10} << Kind::NoAnswer;
        // The station gone: its port fails, as when an adapter is pulled out.
        QTest::newRow("read, reply cut in the tones")
            << true << StationLineOptions{.hangUpAfterSent = 15} << Kind::Failure;
        QTest::newRow("write, answers 150 ms late in 16 ms bursts")
            << false << StationLineOptions{.answerDelayMs = 150, .adapterLatencyMs = 16, .adapterJitterMs = 8}
            << Kind::Done;
        QTest::newRow("read, answers 210 ms late")
            << true << StationLineOptions{.answerDelayMs = 210} << Kind::NoAnswer;
        QTest::newRow("write, stray bytes while powering up")
            << false << StationLineOptions{.strayBytes = 10} << Kind::Done;
        // 160 stray bytes, 20 ms apart, keep the line busy past the 3 s bound.
        QTest::newRow("read, stray bytes past the quiet line's bound")
            << true << StationLineOptions{.strayBytes = 160} << Kind::NoAnswer;
        QTest::newRow("read, a byte of the tones lost")
            << true << StationLineOptions{.adapterLatencyMs = 4, .loseByte = 14} << Kind::NoAnswer;
    }
    void replay()
    {
        QFETCH(bool, reading);
        QFETCH(StationLineOptions, line);
        QFETCH(Kind, outcome);
        const TracedTransfer field(reading, 3, line);
        QCOMPARE(field.outcome.kind, outcome);
        const TracedTransfer here(reading, 3, {.replay = std::make_shared<TraceReplay>(field.trace)});
        QCOMPARE(here.outcome.kind, field.outcome.kind);
        QCOMPARE(here.outcome.failure, field.outcome.failure);
        QCOMPARE(here.onLine, field.onLine);
        QCOMPARE(withoutDevices(here.trace.events), withoutDevices(field.trace.events));
    }
};

QTEST_GUILESS_MAIN(TestTrace)
#include "tst_trace.moc"
