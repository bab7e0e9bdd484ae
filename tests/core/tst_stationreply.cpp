#include "check/datacheck.h"
#include "common/platformerror.h"
#include "image/stationreply.h"
#include "support/replyfixtures.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

using namespace ReplyFixtures;
using C = ChannelTable::Column;

namespace {

QByteArray rec(std::initializer_list<std::pair<int, int>> patches, QByteArray base = kRow1)
{
    return patched(std::move(base), patches);
}

StationReply decoded(const QByteArray &reply, StationKind current = StationKind::Band144_174)
{
    return StationReply::decode(reply, current);
}

} // namespace

// A station's reply decoded once, whole or as far as it came: the values
// and the texts a read shows, and the reply's shape the reader follows.
class TestStationReply : public QObject
{
    Q_OBJECT

private slots:
    void completeRead()
    {
        const StationReply reply = decoded(Reply{.fv = 0x42}.bytes());
        QVERIFY(reply.complete());
        QCOMPARE(reply.decodedBytes(), 28 + 2 * 18);
        QCOMPARE(reply.settingsLines(), (QStringList{"[Общие установки]",
                                                     "Серийный номер=0123AB",
                                                     "Id_номер=12AB",
                                                     "Тон1=700",
                                                     "Тон2=750",
                                                     "Тон3=1000",
                                                     "Тон4=1200",
                                                     "Тон5=1400",
                                                     "Тон6=1550",
                                                     "Тон7=1700",
                                                     "Тон8=1990",
                                                     "Тон9=2100",
                                                     "Тон10=2400",
                                                     "P_1=5",
                                                     "P_2=10",
                                                     "P_3=25",
                                                     "P_4=40",
                                                     "Яркость диодов=2",
                                                     "Громкость=8",
                                                     "МинГромкость=0",
                                                     "Пик_кнопок=+",
                                                     "ФВ=42",
                                                     "Код_DCS=+",
                                                     "Ф_Скан=+",
                                                     "Ф_V=+",
                                                     "ВУ=-",
                                                     "СК=1"}));
        // The station's Id is the one it holds; block 3 replaced the Id bytes
        // on header bytes 8 and 9.
        QCOMPARE(reply.station().image.idCode, 0x12AB);
        QCOMPARE(reply.station().image.at(StationLayout::Name::Fv), 0x42);
        QCOMPARE(reply.station().serial(), QStringLiteral("0123AB"));
        for (int c = 0; c < ChannelTable::ColumnCount; ++c)
            QCOMPARE(reply.table().cell(c, 0), ChannelTable::headerTexts()[std::size_t(c)]);
    }

    void line_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QString>("line");
        auto tones = [](int n, int byte) {
            QByteArray t = Reply{}.tones;
            t[n - 1] = char(byte);
            return t;
        };
        QTest::newRow("serial") << Reply{.serial = QByteArray::fromHex("FF0A00")}.bytes() << "Серийный номер=FF0A00";
        QTest::newRow("Id FE00") << Reply{.id = 0xFE00}.bytes() << "Id_номер=FE00";
        QTest::newRow("Id 0001") << Reply{.id = 0x0001}.bytes() << "Id_номер=0001";
        QTest::newRow("tone 1750") << Reply{.tones = tones(1, 175)}.bytes() << "Тон1=1750";
        QTest::newRow("tone 2550") << Reply{.tones = tones(10, 255)}.bytes() << "Тон10=2550";
        QTest::newRow("tone 0") << Reply{.tones = tones(3, 0)}.bytes() << "Тон3=0";
        for (auto [byte, text] : {std::pair{1, "1"},
                                  {6, "2"},
                                  {11, "3"},
                                  {16, "4"},
                                  {21, "5"},
                                  {0, "0"},
                                  {2, "2"},
                                  {7, "7"},
                                  {26, "26"},
                                  {200, "200"}})
            QTest::addRow("brightness %d", byte)
                << Reply{.brightness = byte}.bytes() << QString("Яркость диодов=") + text;
        QTest::newRow("volume") << Reply{.volume = 16}.bytes() << "Громкость=16";
        QTest::newRow("min volume") << Reply{.minVolume = 8}.bytes() << "МинГромкость=8";
        QTest::newRow("beep 100") << Reply{.beep = 100}.bytes() << "Пик_кнопок=-";
        QTest::newRow("beep 0") << Reply{.beep = 0}.bytes() << "Пик_кнопок=-";
        QTest::newRow("FV 05") << Reply{.fv = 0x05}.bytes() << "ФВ=05";
        QTest::newRow("FV 4A") << Reply{.fv = 0x4A}.bytes() << "ФВ=4A";
        QTest::newRow("DCS 100") << Reply{.dcsMode = 100}.bytes() << "Код_DCS=-";
        QTest::newRow("DCS 0") << Reply{.dcsMode = 0}.bytes() << "Код_DCS=-";
        QTest::newRow("scan option off") << Reply{.options = 0xFD}.bytes() << "Ф_Скан=-";
        QTest::newRow("V option off") << Reply{.options = 0xFB}.bytes() << "Ф_V=-";
        QTest::newRow("ВУ on") << Reply{.options = 0x10}.bytes() << "ВУ=+";
        QTest::newRow("ВУ off") << Reply{.options = 0xEF}.bytes() << "ВУ=-";
        const QList<QByteArray> three{rec({{1, 5}}), rec({{1, 3}}), rec({{1, 7}})};
        QTest::newRow("СК second") << Reply{.special = 1, .records = three}.bytes() << "СК=3";
        QTest::newRow("СК last") << Reply{.special = 2, .records = three}.bytes() << "СК=7";
        QTest::newRow("СК at count") << Reply{.special = 3, .records = three}.bytes() << "СК=?3";
        QTest::newRow("СК far out") << Reply{.special = 200, .records = three}.bytes() << "СК=?200";
        QTest::newRow("СК no channels") << Reply{.records = {}}.bytes() << "СК=?0";
    }
    void line()
    {
        QFETCH(QByteArray, reply);
        QFETCH(QString, line);
        const StationReply decodedReply = decoded(reply);
        QVERIFY(decodedReply.complete());
        const QStringList &lines = decodedReply.settingsLines();
        const QString key = line.section(u'=', 0, 0) + u'=';
        const auto found =
            std::find_if(lines.begin(), lines.end(), [&](const QString &l) { return l.startsWith(key); });
        QVERIFY(found != lines.end());
        QCOMPARE(*found, line);
    }

    void cell_data()
    {
        QTest::addColumn<QByteArray>("record");
        QTest::addColumn<int>("dcsMode");
        QTest::addColumn<int>("band");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("text");
        const int rx = C::Rx, tx = C::Tx, ctc = C::CtcRx, dcs = C::DcsRx;
        QTest::newRow("ctcss 34 is its first twin") << rec({{8, 34}}) << 200 << 0 << ctc << "67,0";
        QTest::newRow("ctcss 44") << rec({{9, 44}}) << 200 << 0 << int(C::CtcTx) << "69,4";
        QTest::newRow("ctcss 0") << rec({{8, 0}}) << 200 << 0 << ctc << "Нет";
        QTest::newRow("ctcss 200") << rec({{8, 200}}) << 200 << 0 << ctc << "Нет";
        QTest::newRow("ctcss 56 outside") << rec({{8, 56}}) << 200 << 0 << ctc << "?56";
        QTest::newRow("ctcss mode has no dcs") << rec({{8, 8}}) << 100 << 0 << dcs << "Нет";
        QTest::newRow("dcs mode has no ctcss") << rec({{0, 0xB6}, {8, 8}}) << 100 << 0 << ctc << "Нет";
        QTest::newRow("dcs 8 by list") << rec({{0, 0xB6}, {8, 8}}) << 100 << 0 << dcs << "047";
        QTest::newRow("dcs 8 by pairs") << rec({{0, 0xB6}, {8, 8}}) << 200 << 0 << dcs << "023";
        QTest::newRow("dcs 8, other mode pairs") << rec({{0, 0xB6}, {9, 8}}) << 0 << 0 << int(C::DcsTx) << "023";
        QTest::newRow("dcs 84 by list") << rec({{0, 0xB6}, {8, 84}}) << 100 << 0 << dcs << "754";
        QTest::newRow("dcs 84 by pairs") << rec({{0, 0xB6}, {8, 84}}) << 200 << 0 << dcs << "116";
        QTest::newRow("dcs 0 by list") << rec({{0, 0xB6}, {8, 0}}) << 100 << 0 << dcs << "Нет";
        QTest::newRow("dcs 0 by pairs") << rec({{0, 0xB6}, {8, 0}}) << 200 << 0 << dcs << "?0";
        QTest::newRow("dcs 200") << rec({{0, 0xB6}, {8, 200}}) << 200 << 0 << dcs << "Нет";
        QTest::newRow("dcs 85") << rec({{0, 0xB6}, {8, 85}}) << 100 << 0 << dcs << "?85";
        QTest::newRow("dcs 114 is no code 114") << rec({{0, 0xB6}, {8, 114}}) << 100 << 0 << dcs << "?114";
        QTest::newRow("dcs 114 by pairs") << rec({{0, 0xB6}, {8, 114}}) << 200 << 0 << dcs << "?114";
        QTest::newRow("Норм") << rec({{15, 0xFF}}) << 200 << 0 << int(C::TxOff) << "Норм";
        QTest::newRow("RSSI") << rec({{15, 0xFE}}) << 200 << 0 << int(C::TxOff) << "RSSI";
        QTest::newRow("OFF") << rec({{15, 0xFB}}) << 200 << 0 << int(C::TxOff) << "OFF";
        QTest::newRow("RSSI before OFF") << rec({{15, 0xFA}}) << 200 << 0 << int(C::TxOff) << "RSSI";
        QTest::newRow("РЕТР_ПП whatever follows") << rec({{2, 0}}) << 200 << 0 << rx << "РЕТР_ПП";
        QTest::newRow("РЕТР_ПП all zero") << rec({{2, 0}, {3, 0}, {4, 0}}) << 200 << 0 << rx << "РЕТР_ПП";
        QTest::newRow("РЕТР_ПР") << rec({{5, 0}}) << 200 << 0 << tx << "РЕТР_ПР";
        QTest::newRow("rx 144-174") << kRow1 << 200 << 0 << rx << "144000,00";
        QTest::newRow("tx 144-174") << kRow1 << 200 << 0 << tx << "144000,00";
        QTest::newRow("tx band 1") << kRow1 << 200 << 1 << tx << "36000,00";
        QTest::newRow("rx 144006,25") << rec({{4, 0x85}}) << 200 << 0 << rx << "144006,25";
        QTest::newRow("rx 433012,5") << rec({{2, 0x13}, {3, 0xCA}, {4, 0x09}}) << 200 << 3 << rx << "433012,50";
        QTest::newRow("tone rx 10") << rec({{10, 10}}) << 200 << 0 << int(C::ToneRx) << "10";
        QTest::newRow("tone rx 11") << rec({{10, 11}}) << 200 << 0 << int(C::ToneRx) << "Нет";
        QTest::newRow("time 15") << rec({{16, 15}}) << 200 << 0 << int(C::Time) << "15";
        QTest::newRow("time 200") << rec({{16, 200}}) << 200 << 0 << int(C::Time) << "200";
        QTest::newRow("P_max from 14") << rec({{13, 2}, {14, 3}}) << 200 << 0 << int(C::PMax) << "3";
        QTest::newRow("P_min from 13") << rec({{13, 2}, {14, 3}}) << 200 << 0 << int(C::PMin) << "2";
        QTest::newRow("ШП") << rec({{12, 6}}) << 200 << 0 << int(C::Sh) << "6";
        QTest::newRow("number") << rec({{1, 99}}) << 200 << 0 << int(C::Number) << "99";
    }
    void cell()
    {
        QFETCH(QByteArray, record);
        QFETCH(int, dcsMode);
        QFETCH(int, band);
        QFETCH(int, column);
        QFETCH(QString, text);
        Reply r;
        r.records = {record};
        r.dcsMode = dcsMode;
        r.band = band;
        const StationReply reply = decoded(r.bytes());
        QVERIFY(reply.complete());
        QCOMPARE(reply.table().cell(column, 1), text);
    }

    void workedRows()
    {
        const StationReply reply = decoded(Reply{}.bytes());
        QVERIFY(reply.complete());
        const ChannelTable &t = reply.table();
        QCOMPARE(t.rowCount(), 3);
        QStringList row1, row2;
        for (int c = 0; c < ChannelTable::ColumnCount; ++c) {
            if (!ChannelTable::isCheckColumn(c))
                row1 << t.cell(c, 1), row2 << t.cell(c, 2);
        }
        QCOMPARE(row1, (QStringList{"1", "144000,00", "144000,00", "67,0", "Нет", "Нет", "Нет", "Нет", "Нет", "1", "4",
                                    "1", "25", "Норм", "Нет"}));
        QCOMPARE(row2, (QStringList{"2", "145500,00", "144900,00", "Нет", "71,9", "Нет", "Нет", "3", "Нет", "2", "3",
                                    "2", "12,5", "RSSI", "5"}));
        QVERIFY(t.isChecked(C::Scan, 1) && !t.isChecked(C::IdTone, 1) && t.isChecked(C::Active, 1));
        QVERIFY(t.isChecked(C::Scan, 2) && t.isChecked(C::IdTone, 2) && t.isChecked(C::Active, 2));
    }

    void boxes_data()
    {
        QTest::addColumn<int>("flags");
        QTest::addColumn<bool>("scan");
        QTest::addColumn<bool>("idTone");
        QTest::addColumn<bool>("active");
        QTest::newRow("none set") << 0x00 << false << true << false;
        QTest::newRow("all set") << 0xFE << true << false << true;
    }
    void boxes()
    {
        QFETCH(int, flags);
        QFETCH(bool, scan);
        QFETCH(bool, idTone);
        QFETCH(bool, active);
        Reply r;
        r.records = {rec({{0, flags}})};
        const ChannelTable table = decoded(r.bytes()).table();
        QCOMPARE(table.isChecked(C::Scan, 1), scan);
        QCOMPARE(table.isChecked(C::IdTone, 1), idTone);
        QCOMPARE(table.isChecked(C::Active, 1), active);
        QCOMPARE(table.checkBoxRowCount(), 2);
    }

    void stationType_data()
    {
        QTest::addColumn<int>("band");
        QTest::addColumn<int>("before");
        QTest::addColumn<bool>("selected");
        QTest::addColumn<int>("after");
        QTest::addColumn<int>("bandCode");
        QTest::addColumn<QString>("rx");
        const int b30 = int(StationKind::Band30_60), b144 = int(StationKind::Band144_174),
                  b400 = int(StationKind::Band400_486);
        QTest::newRow("0") << 0 << b30 << true << b144 << 0 << "144000,00";
        QTest::newRow("1") << 1 << b144 << true << b30 << 1 << "36550,00";
        QTest::newRow("2 is 30-60") << 2 << b144 << true << b30 << 1 << "36550,00";
        QTest::newRow("3") << 3 << b144 << true << b400 << 3 << "234000,00";
        QTest::newRow("7 keeps 144-174") << 7 << b144 << false << b144 << 7 << "144000,00";
        QTest::newRow("7 keeps 30-60") << 7 << b30 << false << b30 << 7 << "36550,00";
    }
    void stationType()
    {
        QFETCH(int, band);
        QFETCH(int, before);
        QFETCH(bool, selected);
        QFETCH(int, after);
        QFETCH(int, bandCode);
        QFETCH(QString, rx);
        Reply r;
        r.band = band;
        const StationReply reply = decoded(r.bytes(), StationKind(before));
        QCOMPARE(reply.selectedStation().has_value(), selected);
        QCOMPARE(int(reply.station().stationKind), after);
        QCOMPARE(reply.station().bandCode, bandCode);
        QCOMPARE(reply.plan().bandCode, bandCode);
        QCOMPARE(int(reply.plan().stationKind), after);
        QCOMPARE(reply.table().cell(C::Rx, 1), rx);
    }

    void imageReadyForWriteBack()
    {
        // A read refills the image a write sends: the station's bytes over an
        // earlier image, whose Id code is kept for writing and whose records
        // past the reply's stay.
        RadioImage earlier;
        earlier.idCode = 0x0777;
        earlier.records[2].fill(0x55);
        Reply r;
        r.module = 4;
        r.band = 3;
        const StationReply reply = decoded(r.bytes());
        StationData written{reply.placedOver(earlier), reply.station().moduleCode, reply.station().bandCode,
                            reply.station().stationKind};
        const QByteArray bytes = r.bytes();
        const QByteArray expected = bytes.mid(3, 5) + bytes.mid(10, 10) + QByteArray::fromHex("0777") + bytes.mid(20, 4)
                                    + QByteArray::fromHex("04 03 03 03") + kRow1 + kRow2;
        QCOMPARE(written.writeOrder(), expected);
        QCOMPARE(written.image.records[2][0], 0x55);
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(written.image.header.data()), 3), r.serial);
        // Written back as read, the station holds the same bytes but its Id.
        written.image.idCode = reply.station().image.idCode;
        QCOMPARE(written.writeOrder(), reply.station().writeOrder());
    }

    void moduleMenu_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("menu");
        QTest::newRow("3") << 3 << 3;
        QTest::newRow("5") << 5 << 5;
        QTest::newRow("0") << 0 << 0;
        QTest::newRow("6 marks nothing") << 6 << 2;
        QTest::newRow("255 marks nothing") << 255 << 2;
    }
    void moduleMenu()
    {
        QFETCH(int, code);
        QFETCH(int, menu);
        ChannelPlan plan;
        plan.setModuleCode(2);
        Reply r;
        r.module = code;
        const StationReply reply = decoded(r.bytes());
        QCOMPARE(reply.station().moduleCode, code);
        // The module the plan chooses follows a code that names one.
        const ChannelPlan read = reply.plan();
        plan.setModuleCode(read.moduleCode);
        QCOMPARE(plan.chosenModule, menu);
    }

    void interrupted_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("used");
        QTest::addColumn<int>("lines");
        QTest::addColumn<bool>("typeApplied");
        QTest::addColumn<bool>("decoded");
        QTest::addColumn<int>("fvByte"); // header byte 8 of the image it refills
        QTest::newRow("no answer") << 0 << 0 << 1 << false << false << 0x99;
        QTest::newRow("inside block 1") << 9 << 0 << 1 << false << false << 0x99;
        QTest::newRow("after block 1: the Id's high byte") << 10 << 10 << 3 << false << false << 0x12;
        QTest::newRow("five tones") << 15 << 15 << 8 << false << false << 0x12;
        QTest::newRow("inside block 4") << 27 << 24 << 13 << false << false << 0x00;
        QTest::newRow("after block 4") << 28 << 28 << 26 << true << false << 0x00;
        QTest::newRow("inside last record") << 63 << 46 << 26 << true << false << 0x00;
        QTest::newRow("complete") << 64 << 64 << 27 << true << true << 0x00;
        QTest::newRow("surplus ignored") << 104 << 64 << 27 << true << true << 0x00;
    }
    void interrupted()
    {
        QFETCH(int, length);
        QFETCH(int, used);
        QFETCH(int, lines);
        QFETCH(bool, typeApplied);
        QFETCH(bool, decoded);
        QFETCH(int, fvByte);
        Reply reply;
        reply.band = 1;
        reply.module = 3;
        const StationReply result = StationReply::decode((reply.bytes() + QByteArray(40, char(0xFF))).left(length));
        QCOMPARE(result.complete(), decoded);
        QCOMPARE(result.settingsComplete(), typeApplied);
        QCOMPARE(result.decodedBytes(), used);
        QCOMPARE(result.settingsLines().size(), lines);
        QCOMPARE(result.channelCount(), length >= 10 ? 2 : 0);
        QCOMPARE(result.selectedStation().has_value(), typeApplied);
        QCOMPARE(int(result.station().moduleCode), typeApplied ? 3 : 0);
        QCOMPARE(result.table().cell(C::Number, 1), decoded ? "1" : "");
        RadioImage earlier;
        earlier.header.fill(0x99);
        QCOMPARE(result.placedOver(earlier).at(StationLayout::Name::Fv), fvByte);
    }

    // The reply's shape, as the reader follows it.
    void shape_data()
    {
        QTest::addColumn<int>("received");
        QTest::addColumn<int>("expected"); // the whole reply's length as far as told
        QTest::addColumn<bool>("shown");
        QTest::addColumn<QString>("stopped");
        const QString at = QStringLiteral("станция перестала отвечать на байте %1 из 64");
        QTest::newRow("nothing yet") << 0 << 28 << true << "";
        QTest::newRow("before the count")
            << 5 << 28 << false << "станция перестала отвечать на байте 6 из 28 или более";
        QTest::newRow("the count") << 6 << 64 << false << at.arg(7);
        QTest::newRow("block 1") << 10 << 64 << true << at.arg(11);
        QTest::newRow("the last tone") << 20 << 64 << true << at.arg(21);
        QTest::newRow("block 3") << 24 << 64 << false << at.arg(25);
        QTest::newRow("the fixed part") << 28 << 64 << true << at.arg(29);
        QTest::newRow("inside a record") << 37 << 64 << false << at.arg(38);
        QTest::newRow("a record") << 46 << 64 << true << at.arg(47);
    }
    void shape()
    {
        QFETCH(int, received);
        QFETCH(int, expected);
        QFETCH(bool, shown);
        QFETCH(QString, stopped);
        const QByteArray reply = Reply{}.bytes().left(received);
        QCOMPARE(StationReply::expectedLength(reply), expected);
        QCOMPARE(StationReply::isShownAt(received), shown);
        QCOMPARE(StationReply::stoppedText(reply).value_or(QString()), stopped);
    }

    void shownSoTheCheckRefuses_data()
    {
        // Bytes that name nothing the table or the image can hold are shown so
        // that the data check refuses them, never as some other valid value;
        // noise is refused with some message, never coded. An empty message:
        // any refusal or platform error.
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

        QTest::newRow("noise of 5 channels") << noise(28 + 18 * 5, 5) << ""
                                             << ""
                                             << "";
        QTest::newRow("noise of 99 channels") << noise(28 + 18 * 99, 99) << ""
                                              << ""
                                              << "";
    }
    void shownSoTheCheckRefuses()
    {
        QFETCH(QByteArray, reply);
        QFETCH(QString, cell);
        QFETCH(QString, shown);
        QFETCH(QString, message);
        const StationReply decodedReply = decoded(reply);
        QVERIFY(decodedReply.complete());
        const ChannelPlan plan = decodedReply.plan();
        if (cell.contains(u':'))
            QCOMPARE(plan.table.cell(cell.section(u':', 0, 0).toInt(), cell.section(u':', 1).toInt()), shown);
        else if (!cell.isEmpty())
            QCOMPARE(plan.settingsLines.last(), cell + u'=' + shown);

        QTemporaryDir dir;
        QString said;
        try {
            said = DataCheck::run(plan, dir.filePath(QStringLiteral("MyTemp.ini"))).text();
        } catch (const PlatformError &error) {
            said = error.text();
        }
        if (message.isEmpty())
            QVERIFY2(said != DataCheck::successText() && !said.isEmpty(), qPrintable(said));
        else
            QCOMPARE(said, message);
    }

    void tooManyChannels_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("refused");
        QTest::newRow("99 fits") << 99 << false;
        QTest::newRow("100") << 100 << true;
        QTest::newRow("255") << 255 << true;
    }
    void tooManyChannels()
    {
        QFETCH(int, count);
        QFETCH(bool, refused);
        Reply r;
        r.band = 3;
        r.records = QList<QByteArray>(count, kRow1);
        const StationReply result = decoded(r.bytes());
        QCOMPARE(result.refusal().has_value(), refused);
        QCOMPARE(result.complete(), !refused);
        QCOMPARE(StationReply::refusalOf(r.bytes().left(10)).has_value(), refused);
        if (!refused) {
            QCOMPARE(result.table().rowCount(), 100);
            return;
        }
        QVERIFY(result.refusal()->text.contains(QString::number(count)));
        QCOMPARE(result.refusal()->sound, Sound::Error);
        QCOMPARE(result.settingsLines(), QStringList{"[Общие установки]"});
        // Nothing of it reaches an image a later write would send.
        RadioImage earlier;
        earlier.header.fill(9);
        QCOMPARE(result.placedOver(earlier).header, earlier.header);
        QCOMPARE(result.decodedBytes(), 0);
        QVERIFY(!result.selectedStation());
    }

    void anyReplyIsSafe()
    {
        QRandomGenerator rng(20240607);
        const QByteArray valid = Reply{}.bytes();
        for (int i = 0; i < 3000; ++i) {
            QByteArray b = i < valid.size() ? valid.left(i) : QByteArray(rng.bounded(0, 2000), Qt::Uninitialized);
            if (i >= valid.size())
                for (char &c : b)
                    c = char(rng.bounded(256));
            const StationReply result = decoded(b);
            QVERIFY(result.table().rowCount() <= RadioImage::MaxChannels + 1);
            QVERIFY(result.settingsLines().size() <= 27);
            QVERIFY(result.decodedBytes() <= b.size());
            if (result.complete())
                QCOMPARE(result.decodedBytes(), 28 + 18 * result.station().image.channelCount());
        }
    }
};

QTEST_GUILESS_MAIN(TestStationReply)
#include "tst_stationreply.moc"
