#include "image/imagedecoder.h"
#include "state/appstate.h"
#include "support/replyfixtures.h"

#include <QRandomGenerator>
#include <QtTest>

using namespace ReplyFixtures;
using C = ChannelTable::Column;

namespace {

QByteArray rec(std::initializer_list<std::pair<int, int>> patches, QByteArray base = kRow1)
{
    return patched(std::move(base), patches);
}

} // namespace

class TestImageDecoder : public QObject
{
    Q_OBJECT

private slots:
    void completeRead_data()
    {
        QTest::addColumn<bool>("valid");
        QTest::newRow("flag set") << true;
        QTest::newRow("flag clear") << false;
    }
    void completeRead()
    {
        QFETCH(bool, valid);
        AppState state;
        state.dataValid = valid;
        state.image.idCode = 0x0001;
        state.settingsDigitCount = 40;
        QVERIFY(decodeWholeReply(state, Reply{.fv = 0x42}.bytes()).complete);
        QCOMPARE(state.settingsLines, (QStringList{"[Общие установки]",
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
        QCOMPARE(state.dataValid, valid);
        QCOMPARE(state.image.idCode, 0x0001);
        QCOMPARE(state.settingsDigitCount, 40);
        QCOMPARE(state.image.header[RadioImage::FvCode], 0x42); // block 3 replaced the Id bytes
        for (int c = 0; c < ChannelTable::ColumnCount; ++c)
            QCOMPARE(state.table.cell(c, 0), ChannelTable::headerTexts()[std::size_t(c)]);
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
        AppState state;
        state.image.records[3][1] = 9; // left from an earlier image, past the count
        QVERIFY(decodeWholeReply(state, reply).complete);
        const QString key = line.section(u'=', 0, 0) + u'=';
        const auto found = std::find_if(state.settingsLines.begin(), state.settingsLines.end(),
                                        [&](const QString &l) { return l.startsWith(key); });
        QVERIFY(found != state.settingsLines.end());
        QCOMPARE(*found, line);
    }

    void stepByStep()
    {
        AppState state;
        state.selectStation(StationKind::Band400_486);
        const QByteArray b = Reply{}.bytes();
        const auto *p = reinterpret_cast<const std::uint8_t *>(b.data());
        ImageDecoder d(state);
        d.start();
        d.afterBlock3(std::span<const std::uint8_t, 4>(p + 20, 4)); // out of turn: ignored
        QCOMPARE(state.image.header[RadioImage::FvCode], 0);
        QVERIFY(!d.afterBlock1(std::span<const std::uint8_t, 10>(p, 10)));
        QCOMPARE(state.image.header[9], 0xAB);
        for (int n = 1; n <= 10; ++n) {
            d.afterToneByte(n, p[9 + n]);
            QCOMPARE(state.settingsLines.size(), 3 + n);
        }
        d.afterBlock3(std::span<const std::uint8_t, 4>(p + 20, 4));
        QCOMPARE(d.afterBlock4(std::span<const std::uint8_t, 4>(p + 24, 4)), StationKind::Band144_174);
        QCOMPARE(d.recordCount(), 2);
        QVERIFY(!d.afterRecord(2, std::span<const std::uint8_t, 18>(p + 28, 18)));
        QVERIFY(d.afterRecord(0, std::span<const std::uint8_t, 18>(p + 28, 18)));
        QVERIFY(d.afterRecord(1, std::span<const std::uint8_t, 18>(p + 46, 18)));
        d.finish();
        QCOMPARE(state.settingsLines.size(), 27);
        QCOMPARE(state.table.cell(C::Rx, 2), "145500,00");
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
        AppState state;
        QVERIFY(decodeWholeReply(state, r.bytes()).complete);
        QCOMPARE(state.table.cell(column, 1), text);
    }

    void workedRows()
    {
        AppState state;
        QVERIFY(decodeWholeReply(state, Reply{}.bytes()).complete);
        const ChannelTable &t = state.table;
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
        AppState state;
        decodeWholeReply(state, r.bytes());
        QCOMPARE(state.table.isChecked(C::Scan, 1), scan);
        QCOMPARE(state.table.isChecked(C::IdTone, 1), idTone);
        QCOMPARE(state.table.isChecked(C::Active, 1), active);
        QCOMPARE(state.table.checkBoxRowCount(), 2);
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
        AppState state;
        state.selectStation(StationKind(before));
        Reply r;
        r.band = band;
        const ReplyDecoding result = decodeWholeReply(state, r.bytes());
        QCOMPARE(result.selected.has_value(), selected);
        QCOMPARE(int(state.stationKind), after);
        QCOMPARE(state.bandCode, bandCode);
        QCOMPARE(state.table.cell(C::Rx, 1), rx);
    }

    void imageReadyForWriteBack()
    {
        AppState state;
        state.image.idCode = 0x0777;
        state.image.records[2].fill(0x55);
        Reply r;
        r.module = 4;
        r.band = 3;
        decodeWholeReply(state, r.bytes());
        const QByteArray reply = r.bytes();
        const QByteArray expected = reply.mid(3, 5) + reply.mid(10, 10) + QByteArray::fromHex("0777") + reply.mid(20, 4)
                                    + QByteArray::fromHex("04 03 03 03") + kRow1 + kRow2;
        QCOMPARE(state.image.writeOrder(state.moduleCode, state.bandCode), expected);
        QCOMPARE(state.image.records[2][0], 0x55);
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(state.image.header.data()), 3), r.serial);
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
        AppState state;
        state.setModuleCode(2);
        Reply r;
        r.module = code;
        decodeWholeReply(state, r.bytes());
        QCOMPARE(state.moduleCode, code);
        QCOMPARE(state.chosenModule, menu);
    }

    void interrupted_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("used");
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("rows");
        QTest::addColumn<bool>("typeApplied");
        QTest::addColumn<bool>("decoded");
        QTest::newRow("no answer") << 0 << 0 << 1 << 11 << false << false;
        QTest::newRow("inside block 1") << 9 << 0 << 1 << 11 << false << false;
        QTest::newRow("after block 1") << 10 << 10 << 3 << 11 << false << false;
        QTest::newRow("five tones") << 15 << 15 << 8 << 11 << false << false;
        QTest::newRow("inside block 4") << 27 << 24 << 13 << 11 << false << false;
        QTest::newRow("after block 4") << 28 << 28 << 26 << 3 << true << false;
        QTest::newRow("inside last record") << 63 << 46 << 26 << 3 << true << false;
        QTest::newRow("complete") << 64 << 64 << 27 << 3 << true << true;
        QTest::newRow("surplus ignored") << 104 << 64 << 27 << 3 << true << true;
    }
    void interrupted()
    {
        QFETCH(int, length);
        QFETCH(int, used);
        QFETCH(int, lines);
        QFETCH(int, rows);
        QFETCH(bool, typeApplied);
        QFETCH(bool, decoded);
        AppState state;
        for (int r = 0; r < state.table.rowCount(); ++r)
            state.table.setCell(C::Number, r, QStringLiteral("old"));
        Reply reply;
        reply.band = 1;
        reply.module = 3;
        const ReplyDecoding result = decodeWholeReply(state, (reply.bytes() + QByteArray(40, char(0xFF))).left(length));
        QCOMPARE(result.complete, decoded);
        QCOMPARE(result.bytesUsed, used);
        QCOMPARE(state.settingsLines.size(), lines);
        QCOMPARE(state.table.rowCount(), rows);
        QCOMPARE(state.stationKind == StationKind::Band30_60, typeApplied);
        QCOMPARE(state.moduleCode, typeApplied ? 3 : 0);
        QCOMPARE(state.chosenModule, decoded ? 3 : 0);
        QCOMPARE(state.table.cell(C::Number, 1), decoded ? "1" : "old");
        QCOMPARE(state.table.cell(C::Number, 0), decoded ? "№ кан." : "old");
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
        AppState state;
        state.image.header.fill(9);
        Reply r;
        r.band = 3;
        r.records = QList<QByteArray>(count, kRow1);
        const ReplyDecoding result = decodeWholeReply(state, r.bytes());
        QCOMPARE(result.refusal.has_value(), refused);
        QCOMPARE(result.complete, !refused);
        if (!refused) {
            QCOMPARE(state.table.rowCount(), 100);
            return;
        }
        QVERIFY(result.refusal->text.contains(QString::number(count)));
        QCOMPARE(result.refusal->sound, Sound::Error);
        QCOMPARE(state.settingsLines, QStringList{"[Общие установки]"});
        QCOMPARE(state.image.header[RadioImage::ChannelCount], 9);
        QCOMPARE(state.table.rowCount(), 11);
        QCOMPARE(state.stationKind, StationKind::Band144_174);
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
            AppState state;
            const ReplyDecoding result = decodeWholeReply(state, b);
            QVERIFY(state.table.rowCount() <= RadioImage::MaxChannels + 1);
            QVERIFY(state.settingsLines.size() <= 27);
            QVERIFY(result.bytesUsed <= b.size());
            if (result.complete)
                QCOMPARE(result.bytesUsed, 28 + 18 * state.image.channelCount());
        }
    }
};

QTEST_GUILESS_MAIN(TestImageDecoder)
#include "tst_imagedecoder.moc"
