// A table goes into the simulated station and comes back: template, check,
// write, read, channel file, load, check again. The second check must build
// the image the first one built.

#include "check/datacheck.h"
#include "common/numbers.h"
#include "files/channelfile.h"
#include "link/stationreader.h"
#include "link/stationwriter.h"
#include "link/transferlink.h"
#include "simulatedstation.h"
#include "state/appstate.h"
#include "station/codelists.h"
#include "stationline.h"
#include "support/checkfixtures.h"
#include "support/linkfixtures.h"
#include "support/readfixtures.h"
#include "table/templatebuilder.h"
#include "transfer/stationsequence.h"
#include "common/platformerror.h"
#include "link/transferstop.h"

#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace LinkFixtures;
using namespace ReadFixtures;
using C = ChannelTable::Column;

namespace {

constexpr int kChannels = 99;

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

// A station for the sequence, and a spare one that a moved link leads to.
struct SequenceStations
{
    QTemporaryDir dir;
    SimulatedStation station;
    SimulatedStation spareStation;
    std::unique_ptr<StationLine> line;
    std::unique_ptr<StationLine> spare;
    TransferStop stop;
    int requests = 0;

    // `kind`: A answers, S is silent, C answers the read-back with another
    // serial number, M is reached through a link moved to the spare once the
    // backup read begins. At `stopAt` received bytes, `stops` requests to
    // stop are made before the station answers.
    SequenceStations(QChar kind, int stopAt, int stops)
    {
        StationMemory memory;
        memory.serial = {0x11, 0x22, 0xAA};
        station = SimulatedStation(memory);
        spare = std::make_unique<StationLine>([this](std::uint8_t b) { return spareStation.onByte(b, 0); });
        StationLineOptions options;
        options.silentAfter = kind == u'S' ? 0 : -1;
        line = std::make_unique<StationLine>(
            [this, kind, stopAt, stops](std::uint8_t b) {
                if (line->received().size() == stopAt)
                    for (int i = 0; i < stops; ++i)
                        stop.request();
                QByteArray answer = station.onByte(b, 0);
                if (b == StationReader::RequestByte && requests++ > 0 && kind == u'C')
                    answer[0] = char(answer.at(0) ^ 0xFF);
                if (b == StationReader::RequestByte && kind == u'M' && requests == 1) {
                    QFile::remove(device());
                    QFile::link(spare->devicePath(), device());
                }
                return answer;
            },
            options);
        QFile::link(line->devicePath(), device());
        line->start();
        spare->start();
    }
    QString device() const { return dir.filePath(QStringLiteral("ttyStation")); }
};

} // namespace

Q_DECLARE_METATYPE(Kind)

class TestReadBack : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

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
        QTest::newRow("another station answers the read-back")
            << QChar('C') << 0 << 0 << false << false << Kind::StationChanged << 1 + kWrite + 1;
        QTest::newRow("link moved after the backup")
            << QChar('M') << 0 << 0 << false << false << Kind::Done << 1 + kWrite + 1;
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
            stations.stop.request();
        QTemporaryDir dir;
        StationPlan plan;
        static_cast<ChannelPlan &>(plan.state) = CheckFixtures::templatePlan();
        QVERIFY(plan.state.check(dir.filePath(QStringLiteral("MyTemp.ini"))).passed());
        plan.link.device = stations.device();
        plan.link.timings = testTimings();
        plan.link.stop = &stations.stop;
        plan.archiveFolder = dir.filePath(QStringLiteral("archive"));
        if (archiveBroken)
            QVERIFY(QFile(plan.archiveFolder).open(QIODevice::WriteOnly));
        QStringList reported;
        plan.report = [&](const AppState &, const QString &serial) {
            if (reportFails)
                throw PlatformError(QStringLiteral("no room"));
            reported.append(serial);
            return serial + QStringLiteral(".docx");
        };
        RecordingObserver view;
        const SequenceOutcome result = StationSequence::run(plan, view);
        stations.line->stop();
        stations.spare->stop();

        QCOMPARE(result.kind, outcome);
        QCOMPARE(stations.line->received().size(), received);
        QCOMPARE(stations.spare->received(), QByteArray());
        QCOMPARE(reported, outcome == Kind::Done ? QStringList{QStringLiteral("1122AA")} : QStringList{});
        QCOMPARE(result.archiveCopy.isEmpty(), kind == u'S' || stopAt < 0 || archiveBroken);
        if (outcome == Kind::StationChanged)
            QCOMPARE(result.serial + ' ' + result.serialBack, QStringLiteral("1122AA EE22AA"));
        if (outcome == Kind::Aborted) // cut after the write's ninth byte, unanswered
            QCOMPARE(result.sent, qsizetype(9));
    }

    void writeReadSaveLoadCheck_data()
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
    void writeReadSaveLoadCheck()
    {
        QFETCH(int, kind);
        QFETCH(QString, dcsMode);
        QFETCH(QString, id);
        QFETCH(QString, idShown);
        QFETCH(int, module);
        QTemporaryDir dir;

        // The technician's table, checked.
        AppState written;
        written.selectStation(StationKind(kind));
        const StationProfile &p = written.profile();
        QVERIFY(!TemplateBuilder::build({QString::number(kChannels), QString::number(p.lowKHz), QStringLiteral("300")},
                                        p.lowKHz, p.highKHz, written.table, written.settingsLines));
        vary(written.table, p);
        setLine(written.settingsLines, QStringLiteral("Код_DCS"), dcsMode);
        setLine(written.settingsLines, QStringLiteral("Id_номер"), id);
        setLine(written.settingsLines, QStringLiteral("Яркость диодов"), QStringLiteral("4"));
        setLine(written.settingsLines, QStringLiteral("СК"), QStringLiteral("57"));
        written.setModuleCode(std::uint8_t(module));
        written.portNumber = 2;
        const DataCheckResult first = written.check(dir.filePath(QStringLiteral("first.ini")));
        QVERIFY2(first.passed(), qPrintable(first.text()));

        // Into the station and back out.
        SimulatedStation station;
        StationLine line([&station](std::uint8_t b) { return station.onByte(b, 0); });
        OptionsFile options;
        options.writePorts({{2, line.devicePath()}});
        line.start();
        AppState readBack;
        readBack.portNumber = 2;
        ReadRecorder view(readBack);
        TransferLink link(view, options.path());
        link.setTimings(testTimings());
        QCOMPARE(StationWriter::write(written, link).kind, WriteOutcome::Kind::Completed);
        QCOMPARE(StationReader::read(readBack, link, view), StationReader::Outcome::Complete);
        line.stop();
        QCOMPARE(station.completedWrites(), 1);

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
        AppState loaded;
        const ChannelFile::LoadResult load = ChannelFile::load(file, loaded);
        QVERIFY(!load.refusal);
        QCOMPARE(load.channelCount, kChannels);
        const DataCheckResult second = loaded.check(dir.filePath(QStringLiteral("second.ini")));
        QVERIFY2(second.passed(), qPrintable(second.text()));

        for (int i = RadioImage::Brightness; i <= RadioImage::OptionFlags; ++i)
            QCOMPARE(loaded.image.header[std::size_t(i)], written.image.header[std::size_t(i)]);
        QCOMPARE(loaded.image.tones, written.image.tones);
        QCOMPARE(loaded.image.idCode, written.image.idCode);
        for (int r = 0; r < kChannels; ++r)
            QCOMPARE(
                QByteArray(reinterpret_cast<const char *>(loaded.image.records[std::size_t(r)].data()), 18).toHex(' '),
                QByteArray(reinterpret_cast<const char *>(written.image.records[std::size_t(r)].data()), 18)
                    .toHex(' '));
        QCOMPARE(loaded.settingsDigitCount, written.settingsDigitCount);
        QCOMPARE(loaded.stationKind, written.stationKind);
        QCOMPARE(loaded.bandCode, written.bandCode);
        QCOMPARE(loaded.moduleCode, written.moduleCode);
    }
};

QTEST_GUILESS_MAIN(TestReadBack)
#include "tst_readback.moc"
