#include "check/datacheck.h"
#include "image/imagedecoder.h"
#include "link/linktexts.h"
#include "link/stationreader.h"
#include "link/transferlink.h"
#include "state/appstate.h"
#include "stationline.h"
#include "support/linkfixtures.h"
#include "support/readfixtures.h"
#include "support/replyfixtures.h"

#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace LinkFixtures;
using namespace ReadFixtures;
using namespace ReplyFixtures;
using C = ChannelTable::Column;
using Outcome = StationReader::Outcome;

namespace {

// A station that answers the request byte with a fixed sequence, and
// nothing else.
struct Answer
{
    QByteArray bytes;
    QByteArray operator()(std::uint8_t byte) const { return byte == StationReader::RequestByte ? bytes : QByteArray(); }
};

// State before a read: checked data of some earlier work that the read must
// partly replace and partly keep.
AppState earlierState()
{
    AppState state;
    state.portNumber = 2;
    state.dataValid = true;
    state.image.idCode = 0x0777;
    state.settingsDigitCount = 17;
    state.image.header.fill(9);
    for (auto &record : state.image.records)
        record.fill(0x55);
    state.setModuleCode(2);
    state.settingsLines = {QStringLiteral("[Общие установки]"), QStringLiteral("Громкость=3")};
    for (int row = 0; row < state.table.rowCount(); ++row)
        state.table.setCell(C::Number, row, QStringLiteral("old"));
    return state;
}

// What the decoder makes of the same reply in one piece: the read must end
// in exactly this state.
AppState decodedAtOnce(const QByteArray &reply)
{
    AppState state = earlierState();
    decodeWholeReply(state, reply);
    return state;
}

class Fixture
{
public:
    explicit Fixture(TestLine::Responder responder, StationLineOptions options = {})
        : trace(std::make_shared<QStringList>()), station(std::move(responder), options), view(state),
          link(view, file.path(), tracingFactory(trace))
    {
        file.writePorts({{2, station.devicePath()}});
        link.setTimings(testTimings());
        station.start();
    }

    Outcome read() { return StationReader::read(state, link, view); }

    std::shared_ptr<QStringList> trace;
    OptionsFile file;
    TestLine station;
    AppState state = earlierState();
    ReadRecorder view;
    TransferLink link;
};

QStringList lineKeys(const QStringList &lines)
{
    QStringList keys;
    for (const QString &line : lines)
        keys.append(line.section(u'=', 0, 0));
    return keys;
}

QList<int> gauge(std::initializer_list<int> values)
{
    return QList<int>(values);
}

} // namespace

class TestStationReader : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void wholeReplyAtOnce()
    {
        Reply reply;
        reply.band = 3;
        reply.module = 4;
        Fixture f(Answer{reply.bytes()});

        QCOMPARE(f.read(), Outcome::Complete);

        compareStates(f.state, decodedAtOnce(reply.bytes()));
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(lineKeys(f.state.settingsLines), (QStringList{"[Общие установки]",
                                                               "Серийный номер",
                                                               "Id_номер",
                                                               "Тон1",
                                                               "Тон2",
                                                               "Тон3",
                                                               "Тон4",
                                                               "Тон5",
                                                               "Тон6",
                                                               "Тон7",
                                                               "Тон8",
                                                               "Тон9",
                                                               "Тон10",
                                                               "P_1",
                                                               "P_2",
                                                               "P_3",
                                                               "P_4",
                                                               "Яркость диодов",
                                                               "Громкость",
                                                               "МинГромкость",
                                                               "Пик_кнопок",
                                                               "ФВ",
                                                               "Код_DCS",
                                                               "Ф_Скан",
                                                               "Ф_V",
                                                               "ВУ",
                                                               "СК"}));
        // The Id the station holds is shown; the one kept for writing stays.
        QCOMPARE(f.state.settingsLines.at(2), QStringLiteral("Id_номер=12AB"));
        QCOMPARE(f.state.image.idCode, std::uint16_t(0x0777));
        QVERIFY(f.state.dataValid);
        QCOMPARE(f.state.stationKind, StationKind::Band400_486);
        QCOMPARE(f.state.table.rowCount(), 3);

        QCOMPARE(f.station.received(), bytes({30}));
        QCOMPARE(*f.trace, (QStringList{"open", "purge in", "purge out", "send 1e", "purge in", "purge out", "close"}));
        QVERIFY(!f.link.IsOpen());
        QVERIFY(f.view.allEnabled());

        // The settings text grows block by block; the dialog's ending comes
        // before the table is shown, the exit button after it, the module
        // mark last.
        QStringList expected{"status ПП", "progress 100", "Exit off",  "Write off",
                             "Read off",  "settings 1",   "settings 3"};
        for (int tone = 1; tone <= 10; ++tone)
            expected.append(QStringLiteral("settings %1").arg(3 + tone));
        expected += QStringList{"settings 26", "station 400-486", "progress 50", "progress 0", "settings 27",
                                "progress 0",  "status - -",      "Write on",    "Read on",    "table",
                                "Exit on",     "Write on",        "module 4"};
        QCOMPARE(f.view.events, expected);
    }

    void progress_data()
    {
        QTest::addColumn<int>("channels");
        QTest::addColumn<QList<int>>("values");
        QTest::newRow("0") << 0 << gauge({100, 0});
        QTest::newRow("1") << 1 << gauge({100, 0, 0});
        QTest::newRow("2") << 2 << gauge({100, 50, 0, 0});
        QTest::newRow("3") << 3 << gauge({100, 67, 34, 1, 0});
        QTest::newRow("8: step 12,5 rounds to 12") << 8 << gauge({100, 88, 76, 64, 52, 40, 28, 16, 4, 0});
        // 100 / 60 rounds to 2: the gauge reaches 0 at the 50th record and stays.
        QList<int> sixty{100};
        for (int j = 1; j <= 60; ++j)
            sixty.append(std::max(100 - 2 * j, 0));
        sixty.append(0);
        QTest::newRow("60: stops at 0") << 60 << sixty;
    }
    void progress()
    {
        QFETCH(int, channels);
        QFETCH(QList<int>, values);
        const Reply reply = Reply::withRecords(channels);
        Fixture f(Answer{reply.bytes()});

        QCOMPARE(f.read(), Outcome::Complete);

        QCOMPARE(f.view.progress, values);
        QCOMPARE(f.view.statuses, (QStringList{"ПП", "- -"}));
        QCOMPARE(f.state.table.rowCount(), channels + 1);
        QCOMPARE(f.state.settingsLines.size(), 27);
        QCOMPARE(f.state.table.cell(C::Number, 0), QStringLiteral("№ кан."));
        if (channels > 0)
            QCOMPARE(f.state.table.cell(C::Number, channels), QString::number(channels));
    }

    void slowStation_data()
    {
        QTest::addColumn<int>("gapMs");
        QTest::addColumn<int>("channels");
        // Every gap is below its block's limit (80 polls in the fixed part,
        // 40 in the records, as these tests set them), though each block as
        // a whole takes far longer than the limit.
        QTest::newRow("25 ms between all bytes") << 25 << 1;
        QTest::newRow("55 ms in the fixed part") << 55 << 0;
    }
    void slowStation()
    {
        QFETCH(int, gapMs);
        QFETCH(int, channels);
        const Reply reply = Reply::withRecords(channels);
        StationLineOptions options;
        options.answerGapMs = gapMs;
        Fixture f(Answer{reply.bytes()}, options);
        LinkTimings timings = testTimings();
        timings.headerPolls = 80;
        timings.recordPolls = 40;
        f.link.setTimings(timings);

        QCOMPARE(f.read(), Outcome::Complete);
        compareStates(f.state, decodedAtOnce(reply.bytes()));
        QVERIFY(!f.view.statuses.contains(QStringLiteral("AK")));
    }

    void stopsShort_data()
    {
        // The station sends the first `sent` bytes of a two-channel reply and
        // then falls silent. Where the silence follows an event, the wait
        // that ends the read is counted: the limit's polls and one more.
        QTest::addColumn<int>("sent");
        QTest::addColumn<int>("lines");
        QTest::addColumn<bool>("typeApplied");
        QTest::addColumn<QList<int>>("values");
        QTest::addColumn<int>("polls"); // 0: not counted
        QTest::newRow("no answer at all") << 0 << 1 << false << gauge({100}) << 201;
        QTest::newRow("inside block 1") << 7 << 1 << false << gauge({100}) << 0;
        QTest::newRow("after the third tone") << 13 << 6 << false << gauge({100}) << 201;
        QTest::newRow("inside block 3") << 22 << 13 << false << gauge({100}) << 0;
        QTest::newRow("inside block 4") << 27 << 13 << false << gauge({100}) << 0;
        QTest::newRow("before the first record") << 28 << 26 << true << gauge({100}) << 101;
        QTest::newRow("inside the first record") << 37 << 26 << true << gauge({100}) << 0;
        QTest::newRow("after the first record") << 46 << 26 << true << gauge({100, 50}) << 101;
    }
    void stopsShort()
    {
        QFETCH(int, sent);
        QFETCH(int, lines);
        QFETCH(bool, typeApplied);
        QFETCH(QList<int>, values);
        QFETCH(int, polls);
        Reply reply;
        reply.band = 1;
        reply.module = 3;
        Fixture f(Answer{reply.bytes().left(sent)});

        QCOMPARE(f.read(), Outcome::NoAnswer);

        if (polls > 0)
            QCOMPARE(f.view.pollsSinceLastEvent(), polls);
        else
            QVERIFY(f.view.pollsSinceLastEvent() >= (sent >= 28 ? 101 : 201));
        QCOMPARE(f.view.statuses, (QStringList{"ПП", "AK"}));
        QVERIFY(f.view.allEnabled());
        QVERIFY(!f.link.IsOpen());
        QCOMPARE(f.view.progress, values);
        QCOMPARE(f.trace->last(), QStringLiteral("close"));

        // The lines so far stay; nothing after the stop runs.
        QCOMPARE(f.state.settingsLines, decodedAtOnce(reply.bytes()).settingsLines.mid(0, lines));
        QCOMPARE(f.state.table.rowCount(), typeApplied ? 3 : 11);
        QCOMPARE(f.state.stationKind, typeApplied ? StationKind::Band30_60 : StationKind::Band144_174);
        QCOMPARE(f.state.moduleCode, typeApplied ? 3 : 2);
        QCOMPARE(f.state.chosenModule, 2);
        QCOMPARE(f.state.table.cell(C::Number, 0), QStringLiteral("old"));
        QCOMPARE(f.state.table.cell(C::Number, 1), QStringLiteral("old"));
        // The image is a mix of old and new bytes: no longer checked data.
        QVERIFY(!f.state.dataValid);
        QCOMPARE(f.state.image.idCode, std::uint16_t(0x0777));
        QVERIFY(!f.view.events.contains(QStringLiteral("table")));
        QVERIFY(!f.view.dataEvents().join(u' ').contains(QLatin1String("module")));
    }

    void stationTypeAndModule_data()
    {
        QTest::addColumn<int>("band");
        QTest::addColumn<QString>("event");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("bandCode");
        QTest::addColumn<QString>("rx");
        QTest::addColumn<QString>("tx");
        QTest::addColumn<int>("module");
        QTest::addColumn<int>("menu"); // the earlier state marks module 2
        const int vhf = int(StationKind::Band144_174);
        const int hf = int(StationKind::Band30_60);
        // Receive bytes 11 97 01 and transmit bytes 11 2C 01 are 30000 kHz in
        // the 30-60 MHz type; the other types read them otherwise.
        QTest::newRow("0") << 0 << "station 144-174" << vhf << 0 << "117800,00"
                           << "120000,00" << 0 << 0;
        QTest::newRow("1") << 1 << "station 30-60" << hf << 1 << "30000,00"
                           << "30000,00" << 4 << 4;
        QTest::newRow("2 is 30-60") << 2 << "station 30-60" << hf << 1 << "30000,00"
                                    << "30000,00" << 5 << 5;
        QTest::newRow("3") << 3 << "station 400-486" << int(StationKind::Band400_486) << 3 << "207800,00"
                           << "120000,00" << 1 << 1;
        QTest::newRow("7 and 7 name nothing") << 7 << "station none" << vhf << 7 << "117800,00"
                                              << "120000,00" << 7 << 2;
    }
    void stationTypeAndModule()
    {
        QFETCH(int, band);
        QFETCH(QString, event);
        QFETCH(int, kind);
        QFETCH(int, bandCode);
        QFETCH(QString, rx);
        QFETCH(QString, tx);
        QFETCH(int, module);
        QFETCH(int, menu);
        Reply reply;
        reply.band = band;
        reply.module = module;
        reply.records = {QByteArray::fromHex("BE 01 11 97 01 11 2C 01 01 C8 00 00 01 01 04 FF 00 00")};
        Fixture f(Answer{reply.bytes()});

        QCOMPARE(f.read(), Outcome::Complete);
        QCOMPARE(f.view.dataEvents().filter(QStringLiteral("station")), QStringList{event});
        QCOMPARE(int(f.state.stationKind), kind);
        QCOMPARE(int(f.state.bandCode), bandCode);
        QCOMPARE(f.state.table.cell(C::Rx, 1), rx);
        QCOMPARE(f.state.table.cell(C::Tx, 1), tx);
        QCOMPARE(int(f.state.moduleCode), module);
        QCOMPARE(f.state.chosenModule, menu);
        QCOMPARE(f.view.events.last(), QStringLiteral("module %1").arg(menu));
    }

    void longerReplyIsPurged()
    {
        // Forty bytes beyond the records. Two reads in a row on one link
        // both come out whole.
        const Reply reply;
        Fixture f(Answer{reply.bytes() + QByteArray(40, char(0x7E))});

        QCOMPARE(f.read(), Outcome::Complete);
        compareStates(f.state, decodedAtOnce(reply.bytes()));
        QCOMPARE(f.trace->mid(4), (QStringList{"purge in", "purge out", "close"}));

        f.state = earlierState();
        f.trace->clear();
        QCOMPARE(f.read(), Outcome::Complete);
        compareStates(f.state, decodedAtOnce(reply.bytes()));
        QCOMPARE(*f.trace, (QStringList{"open", "purge in", "purge out", "send 1e", "purge in", "purge out", "close"}));
        QCOMPARE(f.station.received(), bytes({30, 30}));
    }

    void outOfRangeBytes_data()
    {
        // Bytes that name nothing the table or the image can hold are shown so
        // that the data check refuses them, never as some other valid value.
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QString>("cell"); // "column:row" of the cell to look at, or the settings key
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("message");

        const QString unknown = QStringLiteral("В строчке №%1 в столбце \"%2\" неизвестный код \"%3\"");
        Reply valid;
        QTest::newRow("valid reply passes") << valid.bytes() << "3:1"
                                            << "67,0" << DataCheck::successText();

        Reply ctcss;
        ctcss.records = {patched(kRow1, 8, 56), kRow2};
        QTest::newRow("CTCSS 56") << ctcss.bytes() << "3:1"
                                  << "?56" << unknown.arg(1).arg("CTC_Rx", "?56");

        Reply ctcssLast;
        ctcssLast.records = {patched(kRow1, 9, 55), kRow2};
        QTest::newRow("CTCSS 55 is the last") << ctcssLast.bytes() << "4:1"
                                              << "254,1" << DataCheck::successText();

        Reply dcsList;
        dcsList.dcsMode = 100;
        dcsList.records = {kRow1, patched(kDcsRow, 8, 85)};
        QTest::newRow("DCS 85 by list") << dcsList.bytes() << "5:2"
                                        << "?85" << unknown.arg(2).arg("DCS_Rx", "?85");

        Reply dcsListLast;
        dcsListLast.dcsMode = 100;
        dcsListLast.records = {kRow1, patched(kDcsRow, 8, 84)};
        QTest::newRow("DCS 84 by list is the last") << dcsListLast.bytes() << "5:2"
                                                    << "754" << DataCheck::successText();

        Reply dcsPairs;
        dcsPairs.records = {kRow1, patched(patched(kDcsRow, 8, 200), 9, 201)};
        QTest::newRow("DCS 201 by pairs") << dcsPairs.bytes() << "6:2"
                                          << "?201" << unknown.arg(2).arg("DCS_Tx", "?201");

        Reply dcsZero;
        dcsZero.records = {kRow1, patched(kDcsRow, 8, 0)};
        QTest::newRow("DCS 0 by pairs") << dcsZero.bytes() << "5:2"
                                        << "?0" << unknown.arg(2).arg("DCS_Rx", "?0");

        Reply dcsZeroList;
        dcsZeroList.dcsMode = 100;
        dcsZeroList.records = {kRow1, patched(kDcsRow, 8, 0)};
        QTest::newRow("DCS 0 by list is Нет") << dcsZeroList.bytes() << "5:2"
                                              << "Нет" << DataCheck::successText();

        const QString noSuchChannel =
            QStringLiteral("Ошибка в номере спец. канала!!! В радиостанции нет такого номера канала");
        Reply specialAtCount;
        specialAtCount.special = 2;
        QTest::newRow("special channel at the count") << specialAtCount.bytes() << "СК"
                                                      << "?2" << noSuchChannel;

        Reply specialBeyond;
        specialBeyond.special = 255;
        QTest::newRow("special channel far beyond") << specialBeyond.bytes() << "СК"
                                                    << "?255" << noSuchChannel;

        Reply specialLast;
        specialLast.special = 1;
        QTest::newRow("special channel on the last") << specialLast.bytes() << "СК"
                                                     << "2" << DataCheck::successText();

        Reply noChannels = Reply::withRecords(0);
        QTest::newRow("special channel without channels") << noChannels.bytes() << "СК"
                                                          << "?0" << noSuchChannel;
    }
    void outOfRangeBytes()
    {
        QFETCH(QByteArray, reply);
        QFETCH(QString, cell);
        QFETCH(QString, shown);
        QFETCH(QString, message);
        Fixture f(Answer{reply});

        QCOMPARE(f.read(), Outcome::Complete);
        if (cell.contains(u':')) {
            QCOMPARE(f.state.table.cell(cell.section(u':', 0, 0).toInt(), cell.section(u':', 1).toInt()), shown);
        } else {
            QCOMPARE(f.state.settingsLines.last(), cell + u'=' + shown);
        }

        QTemporaryDir dir;
        const DataCheckResult check = f.state.check(dir.filePath(QStringLiteral("MyTemp.ini")));
        QCOMPARE(check.text(), message);
        QCOMPARE(check.passed(), message == DataCheck::successText());
    }

    void tooManyChannels_data()
    {
        QTest::addColumn<int>("count");
        QTest::newRow("100") << 100;
        QTest::newRow("255") << 255;
    }
    void tooManyChannels()
    {
        // The station announces more records than the image holds and goes on
        // sending them: the read stops after block 1, drops the rest with the
        // port and shows why.
        QFETCH(int, count);
        Reply reply;
        reply.count = count;
        reply.records = QList<QByteArray>(count, kRow1);
        Fixture f(Answer{reply.bytes()});
        const AppState before = f.state;

        QCOMPARE(f.read(), Outcome::Refused);

        QCOMPARE(f.view.refusals.size(), 1);
        QCOMPARE(f.view.refusals.first(), ImageDecoder::tooManyChannels(count));
        QCOMPARE(f.view.statuses, (QStringList{"ПП", "AK"}));
        QCOMPARE(f.view.events.mid(f.view.events.size() - 5),
                 (QStringList{"status AK", "Exit on", "Write on", "Read on", "refused"}));
        QCOMPARE(f.view.dataEvents(), (QStringList{"settings 1", "refused"}));
        QCOMPARE(*f.trace, (QStringList{"open", "purge in", "purge out", "send 1e", "purge in", "purge out", "close"}));
        QVERIFY(f.view.allEnabled());
        QVERIFY(!f.link.IsOpen());

        QCOMPARE(f.state.settingsLines, QStringList{"[Общие установки]"});
        AppState expected = before;
        expected.settingsLines = f.state.settingsLines;
        expected.dataValid = false; // the read did not complete
        compareStates(f.state, expected);
    }

    void portThatCannotBeOpened()
    {
        OptionsFile file;
        file.writePorts({{2, QStringLiteral("/nonexistent/ttyR2")}});
        AppState state = earlierState();
        const AppState before = state;
        ReadRecorder view(state);
        TransferLink link(view, file.path());

        QVERIFY(platformError([&] {
                    StationReader::read(state, link, view);
                }).contains(QLatin1String("/nonexistent/ttyR2")));
        QCOMPARE(view.events, QStringList{"status ПП"});
        compareStates(state, before);
    }

    void noPortChosen()
    {
        const Reply reply;
        Fixture f(Answer{reply.bytes()});
        f.state.portNumber = 0;
        const AppState before = f.state;

        // "Cancel": the no-port error; the status keeps "ПП", nothing else moved.
        QCOMPARE(platformError([&] { f.read(); }), SerialErrors::noPortChosen());
        QCOMPARE(f.view.events, (QStringList{"status ПП", "prompt"}));
        compareStates(f.state, before);

        // "OK" on the station's device: read from it, for this read only.
        f.view.promptAnswer = PortEntry{QStringLiteral("COM2"), f.station.devicePath()};
        QCOMPARE(f.read(), Outcome::Complete);
        QCOMPARE(f.state.portNumber, std::uint8_t(0));
        AppState expected = decodedAtOnce(reply.bytes());
        expected.portNumber = 0;
        compareStates(f.state, expected);
    }
};

QTEST_GUILESS_MAIN(TestStationReader)
#include "tst_stationreader.moc"
