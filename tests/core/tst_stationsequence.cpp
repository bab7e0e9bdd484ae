// One station's sequence on lines in memory, whose time the lines count:
// from its backup to its report on one held port, stopped, cut short or
// failing at each step; and a table that goes into the simulated station
// and comes back: template, check, write and verify, read, channel file,
// load, check again, where the second check must build the image the first
// one built.

#include "check/datacheck.h"
#include "common/numbers.h"
#include "common/platformerror.h"
#include "files/channelfile.h"
#include "station/codelists.h"
#include "support/checkfixtures.h"
#include "support/linkfixtures.h"
#include "table/templatebuilder.h"
#include "transfer/stationsequence.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace LinkFixtures;
using C = ChannelTable::Column;

namespace {

constexpr int kChannels = 99;
constexpr int kCountAt = StationLayout::readAt(StationLayout::Name::ChannelCount);

void setLine(QStringList &lines, const QString &key, const QString &value)
{
    for (QString &line : lines)
        if (line.section(u'=', 0, 0) == key) {
            line = key + u'=' + value;
            return;
        }
    QFAIL(qPrintable(QStringLiteral("no line %1").arg(key)));
}

// The template's rows made various, so that every field of a record and both
// code modes travel: CTCSS and DCS rows, tone numbers, repeater markers,
// transmit offsets, Tx_Off, time, width and all box combinations.
void vary(ChannelTable &table, const StationProfile &p)
{
    const QStringList &ctcss = CodeLists::ctcss();
    const QStringList &dcs = CodeLists::dcs();
    for (int r = 1; r <= kChannels; ++r) {
        switch (r % 4) {
        case 1:
            table.setCell(C::CtcRx, r, ctcss.at(1 + r % 55));
            table.setCell(C::CtcTx, r, ctcss.at(1 + (r * 7) % 55));
            break;
        case 2:
            table.setCell(C::DcsRx, r, dcs.at(1 + r % 84));
            break;
        case 3:
            table.setCell(C::DcsRx, r, dcs.at(1 + (r * 5) % 84));
            table.setCell(C::DcsTx, r, dcs.at(1 + (r * 11) % 84));
            break;
        default:
            break;
        }
        if (r % 3 == 0)
            table.setCell(C::ToneRx, r, QString::number(1 + r % 10));
        if (r % 5 == 0)
            table.setCell(C::ToneTx, r, QString::number(1 + (r / 5) % 10));
        if (r % 2 == 0)
            table.setCell(C::Tx, r, Numbers::formatTwoDecimals(p.lowKHz + 6.25 * r).trimmed());
        if (r == 7)
            table.setCell(C::Rx, r, QStringLiteral("РЕТР_ПП"));
        if (r == 8)
            table.setCell(C::Tx, r, QStringLiteral("РЕТР_ПР"));
        table.setCell(C::Sh, r, QString::number(1 + r % 6));
        table.setCell(C::PMax, r, QString::number(2 + r % 3));
        table.setCell(C::PMin, r, QString::number(1 + r % 3));
        table.setCell(C::Sw, r, r % 2 ? QStringLiteral("12,5") : QStringLiteral("25"));
        static const char *const txOff[] = {"Норм", "RSSI", "OFF"};
        table.setCell(C::TxOff, r, QString::fromUtf8(txOff[r % 3]));
        table.setCell(C::Time, r, r % 4 == 0 ? QStringLiteral("Нет") : QString::number(1 + r % 15));
        table.setChecked(C::Scan, r, r & 1);
        table.setChecked(C::IdTone, r, r & 2);
        table.setChecked(C::Active, r, r & 4);
    }
}

using Kind = SequenceOutcome::Kind;

// Written bytes of the three-channel template: the start byte, 25, 3 records.
constexpr int kWrite = 1 + 25 + 3 * 18;

// The template's three channels, checked: what a sequence writes.
StationPlan checkedPlan()
{
    QTemporaryDir dir;
    StationPlan plan;
    plan.channels = CheckFixtures::templatePlan();
    const DataCheckResult check = DataCheck::run(plan.channels, dir.filePath(QStringLiteral("MyTemp.ini")));
    if (!check.passed())
        qFatal("check refused: %s", qPrintable(check.text()));
    plan.data = check.station;
    plan.link.factory = testLinkFactory();
    plan.link.timings = testTimings();
    return plan;
}

// A station for the sequence under the name "ttyStation", and a spare one
// that a moved name leads to.
struct SequenceStations
{
    SimulatedStation station;
    SimulatedStation spareStation;
    std::unique_ptr<TestLine> line;
    TestLine spare{[this](std::uint8_t b) { return spareStation.onByte(b, 0); }};
    std::shared_ptr<TransferStop> stop = std::make_shared<TransferStop>();
    int requests = 0;
    QString otherTransfer; // what another transfer on the device was told

    // `kind`: A answers, S is silent, C answers the read-back with another
    // serial number, M is reached through a name moved to the spare once
    // the backup read begins, G goes away at the read-back's request, H sees
    // another transfer try its device when the write starts, X stops in the
    // middle of its backup reply (it claims a channel more than it sends).
    // At `stopAt` received bytes, `stops` requests to stop are made before
    // the station answers.
    SequenceStations(QChar kind, int stopAt, int stops)
    {
        StationMemory memory;
        memory.serial = {0x11, 0x22, 0xAA};
        station = SimulatedStation(memory);
        StationLineOptions options;
        options.silentAfter = kind == u'S' ? 0 : -1;
        options.hangUpAfter = kind == u'G' ? 1 + kWrite + 1 : -1;
        line = std::make_unique<TestLine>(
            [this, kind, stopAt, stops](std::uint8_t b) {
                if (line->received().size() == stopAt)
                    for (int i = 0; i < stops; ++i)
                        stop->request();
                QByteArray answer = station.onByte(b, 0);
                if (b == StationReply::RequestByte && requests++ > 0 && kind == u'C')
                    answer[0] = char(answer.at(0) ^ 0xFF);
                if (b == StationReply::RequestByte && kind == u'X' && requests == 1)
                    answer[kCountAt] = char(answer.at(kCountAt) + 1);
                if (b == StationReply::RequestByte && kind == u'M' && requests == 1)
                    TestLine::link(device(), &spare);
                if (b == SimulatedStation::WriteCommand && kind == u'H') {
                    MemoryLink other;
                    otherTransfer = platformError([&] { other.open(device()); });
                }
                return answer;
            },
            options);
        TestLine::link(device(), line.get());
    }
    static QString device() { return QStringLiteral("ttyStation"); }
};

} // namespace

Q_DECLARE_METATYPE(Kind)

class TestStationSequence : public QObject
{
    Q_OBJECT

private slots:
    // One station from its backup to its report on one held port.
    void sequence_data()
    {
        QTest::addColumn<QChar>("kind");
        QTest::addColumn<int>("stopAt"); // received bytes; -1 before it begins, 0 never
        QTest::addColumn<int>("stops");
        QTest::addColumn<bool>("archiveBroken");
        QTest::addColumn<bool>("reportFails");
        QTest::addColumn<Kind>("outcome");
        QTest::addColumn<int>("received");
        QTest::newRow("backup, write, read back, report")
            << QChar('A') << 0 << 0 << false << false << Kind::Done << 1 + kWrite + 1;
        QTest::newRow("silent station") << QChar('S') << 0 << 0 << false << false << Kind::NoAnswer << 1;
        QTest::newRow("station stops in its reply") << QChar('X') << 0 << 0 << false << false << Kind::NoAnswer << 1;
        QTest::newRow("another station answers the read-back")
            << QChar('C') << 0 << 0 << false << false << Kind::StationChanged << 1 + kWrite + 1;
        QTest::newRow("name moved after the backup")
            << QChar('M') << 0 << 0 << false << false << Kind::Done << 1 + kWrite + 1;
        QTest::newRow("the device held between the steps")
            << QChar('H') << 0 << 0 << false << false << Kind::Done << 1 + kWrite + 1;
        // The port fails as when an adapter is pulled out.
        QTest::newRow("station gone at the read-back")
            << QChar('G') << 0 << 0 << false << false << Kind::Failure << 1 + kWrite + 1;
        QTest::newRow("stop before it begins")
            << QChar('A') << -1 << 1 << false << false << Kind::StoppedBeforeWrite << 0;
        QTest::newRow("stop during the backup read")
            << QChar('A') << 1 << 1 << false << false << Kind::StoppedBeforeWrite << 1;
        QTest::newRow("stop during the write")
            << QChar('A') << 2 << 1 << false << false << Kind::StoppedAfterWrite << 1 + kWrite;
        QTest::newRow("second stop in the write") << QChar('A') << 10 << 2 << false << false << Kind::Aborted << 10;
        QTest::newRow("archive copy cannot be kept")
            << QChar('A') << 0 << 0 << true << false << Kind::ArchiveFailed << 1;
        QTest::newRow("report cannot be written")
            << QChar('A') << 0 << 0 << false << true << Kind::ReportFailed << 1 + kWrite + 1;
    }
    void sequence()
    {
        QFETCH(QChar, kind);
        QFETCH(int, stopAt);
        QFETCH(int, stops);
        QFETCH(bool, archiveBroken);
        QFETCH(bool, reportFails);
        QFETCH(Kind, outcome);
        QFETCH(int, received);
        SequenceStations stations(kind, stopAt, stops);
        if (stopAt < 0)
            stations.stop->request();
        QTemporaryDir dir;
        StationPlan plan = checkedPlan();
        plan.link.device = stations.device();
        plan.link.stop = stations.stop;
        plan.archiveFolder = dir.filePath(QStringLiteral("archive"));
        if (archiveBroken)
            QVERIFY(QFile(plan.archiveFolder).open(QIODevice::WriteOnly));
        QStringList reported;
        plan.report = [&](const ChannelPlan &, const StationData &, const QString &serial) {
            if (reportFails)
                throw PlatformError(QStringLiteral("no room"));
            reported.append(serial);
            return serial + QStringLiteral(".docx");
        };
        RecordingEvents events;

        const SequenceOutcome result = StationSequence::run(plan, events);

        QCOMPARE(result.kind, outcome);
        QCOMPARE(stations.line->received().size(), received);
        QCOMPARE(stations.spare.received(), QByteArray());
        QCOMPARE(reported, outcome == Kind::Done ? QStringList{QStringLiteral("1122AA")} : QStringList{});
        QCOMPARE(result.archiveCopy.isEmpty(), kind == u'S' || kind == u'X' || stopAt < 0 || archiveBroken);
        QCOMPARE(result.portOpened, stopAt >= 0);
        if (outcome == Kind::Done)
            QCOMPARE(events.events.filter("step"),
                     (QStringList{"step backup", "step write 1122AA", "step verify 1122AA", "step report 1122AA"}));
        if (kind == u'X') // no channels, but one claimed
            QCOMPARE(result.failure, QStringLiteral("станция перестала отвечать на байте 29 из 46"));
        if (outcome == Kind::StationChanged)
            QCOMPARE(result.serial + ' ' + result.serialBack, QStringLiteral("1122AA EE22AA"));
        if (outcome == Kind::Aborted) // cut after the write's ninth byte, unanswered
            QCOMPARE(result.sent, qsizetype(9));
        if (kind == u'G')
            QCOMPARE(result.step, SequenceStep::Verify);
        // A first stop while a read or write runs on to its end is told once,
        // at once, with the time it still takes by the pace so far.
        const QStringList told = events.events.filter(QRegularExpression("^stop "));
        QCOMPARE(told.size(), stops > 0 && stopAt > 0 ? 1 : 0);
        if (!told.isEmpty()) {
            const bool writing = outcome != Kind::StoppedBeforeWrite;
            QVERIFY2(told.first().startsWith(writing ? "stop write " : "stop read "), qPrintable(told.first()));
        }
        QCOMPARE(stations.otherTransfer, kind == u'H' ? SerialErrors::portBusy(SequenceStations::device()) : QString());
    }

    // What ends a sequence before or as its port is opened, and a port that
    // fails under it.
    void portFailures_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<bool>("opened");
        QTest::addColumn<QString>("failure"); // the start of the message
        QTest::newRow("no port chosen") << "none" << false << SerialErrors::noPortChosen();
        QTest::newRow("a port the map gives no device")
            << "unmapped" << false << SerialErrors::noDevice(QStringLiteral("COM5"));
        QTest::newRow("a device that is not there")
            << "missing" << false << SerialErrors::cannotOpen(QStringLiteral("nowhere"), QString());
        QTest::newRow("a device another transfer holds")
            << "busy" << false << SerialErrors::portBusy(QStringLiteral("ttyStation"));
        QTest::newRow("the station gone before it starts")
            << "gone" << false << SerialErrors::cannotOpen(QStringLiteral("ttyStation"), QString());
        QTest::newRow("the port lost right after opening")
            << "lost" << true << SerialErrors::cannotReceive(QStringLiteral("ttyStation"), QString());
    }
    void portFailures()
    {
        QFETCH(QString, fault);
        QFETCH(bool, opened);
        QFETCH(QString, failure);
        SequenceStations stations(u'A', 0, 0);
        OptionsFile options;
        options.writePorts({{1, stations.device()}});
        StationPlan plan = checkedPlan();
        plan.link.optionsFile = options.path();
        plan.backUp = false;
        plan.verify = false;
        MemoryLink holder;
        if (fault == "unmapped")
            plan.link.portNumber = 5;
        else if (fault != "none")
            plan.link.device = fault == "missing" ? QStringLiteral("nowhere") : stations.device();
        if (fault == "busy")
            holder.open(stations.device());
        if (fault == "gone")
            stations.line->hangUp();
        if (fault == "lost")
            plan.link.factory = hangUpAfterOpenFactory(*stations.line);
        RecordingEvents events;

        const SequenceOutcome result = StationSequence::run(plan, events);

        QCOMPARE(result.kind, Kind::Failure);
        QCOMPARE(result.step, SequenceStep::Write);
        QCOMPARE(result.portOpened, opened);
        QVERIFY2(result.failure.startsWith(failure), qPrintable(result.failure));
        QCOMPARE(stations.line->received(), QByteArray());
        // The step begins only on an open port.
        QCOMPARE(events.events.filter("step"), opened ? QStringList{"step write"} : QStringList{});
    }

    void writeVerifyReadSaveLoadCheck_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("dcsMode");
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("idShown");
        QTest::addColumn<int>("module");
        QTest::newRow("144-174, DCS +") << int(StationKind::Band144_174) << "+"
                                        << "0001"
                                        << "0001" << 0;
        QTest::newRow("30-60, DCS -") << int(StationKind::Band30_60) << "-"
                                      << "*#0a"
                                      << "FE0A" << 5;
        QTest::newRow("400-486, DCS +") << int(StationKind::Band400_486) << "+"
                                        << "12AB"
                                        << "12AB" << 3;
    }
    void writeVerifyReadSaveLoadCheck()
    {
        QFETCH(int, kind);
        QFETCH(QString, dcsMode);
        QFETCH(QString, id);
        QFETCH(QString, idShown);
        QFETCH(int, module);
        QTemporaryDir dir;

        // The technician's table, checked.
        ChannelPlan written;
        written.selectStation(StationKind(kind));
        const StationProfile &p = written.profile();
        QVERIFY(!TemplateBuilder::build({QString::number(kChannels), QString::number(p.lowKHz), QStringLiteral("300")},
                                        written));
        vary(written.table, p);
        setLine(written.settingsLines, QStringLiteral("Код_DCS"), dcsMode);
        setLine(written.settingsLines, QStringLiteral("Id_номер"), id);
        setLine(written.settingsLines, QStringLiteral("Яркость диодов"), QStringLiteral("4"));
        setLine(written.settingsLines, QStringLiteral("СК"), QStringLiteral("57"));
        written.setModuleCode(std::uint8_t(module));
        const DataCheckResult first = DataCheck::run(written, dir.filePath(QStringLiteral("first.ini")));
        QVERIFY2(first.passed(), qPrintable(first.text()));

        // Into the station, verified by reading back, then read out.
        SimulatedStation station;
        TestLine line([&station](std::uint8_t b) { return station.onByte(b, 0); });
        RecordingEvents events;
        StationPlan plan;
        plan.link.device = line.devicePath();
        plan.link.factory = testLinkFactory();
        plan.channels = written;
        plan.data = first.station;
        plan.backUp = false;
        const SequenceOutcome write = StationSequence::run(plan, events);
        QCOMPARE(write.kind, Kind::Done);
        QCOMPARE(write.differences, QStringList());
        QCOMPARE(station.completedWrites(), 1);
        StationPlan read;
        read.link = plan.link;
        read.write = false;
        read.verify = false;
        const SequenceOutcome backUp = StationSequence::run(read, events);
        QCOMPARE(backUp.kind, Kind::Done);
        const ChannelPlan readBack = backUp.held.plan();

        QCOMPARE(readBack.settingsLines.size(), 27);
        QVERIFY(readBack.settingsLines.contains(QStringLiteral("Тон8=1990")));
        QVERIFY(readBack.settingsLines.contains(QStringLiteral("Яркость диодов=4")));
        QVERIFY(readBack.settingsLines.contains(QStringLiteral("Id_номер=") + idShown));
        QCOMPARE(readBack.settingsLines.last(), QStringLiteral("СК=57"));
        QCOMPARE(readBack.table.rowCount(), kChannels + 1);
        QCOMPARE(readBack.table.cell(C::Rx, 1), Numbers::formatTwoDecimals(p.lowKHz));
        QCOMPARE(readBack.stationKind, StationKind(kind));
        QCOMPARE(int(readBack.moduleCode), module);

        // Kept as a file, loaded into a fresh program, checked again.
        const QString file = dir.filePath(QStringLiteral("K7TV_10.ini"));
        QVERIFY(!ChannelFile::save(readBack, file));
        ChannelPlan loaded;
        const ChannelFile::LoadResult load = ChannelFile::load(file, loaded);
        QVERIFY(!load.refusal);
        QCOMPARE(load.channelCount, kChannels);
        const DataCheckResult second = DataCheck::run(loaded, dir.filePath(QStringLiteral("second.ini")));
        QVERIFY2(second.passed(), qPrintable(second.text()));

        QCOMPARE(second.station.writeOrder().toHex(' '), first.station.writeOrder().toHex(' '));
        QCOMPARE(second.settingsDigitCount, first.settingsDigitCount);
        QCOMPARE(loaded.stationKind, written.stationKind);
        QCOMPARE(loaded.bandCode, written.bandCode);
    }
};

QTEST_GUILESS_MAIN(TestStationSequence)
#include "tst_stationsequence.moc"
