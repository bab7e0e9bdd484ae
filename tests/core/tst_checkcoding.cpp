// "Контроль" passing: the header, tones, Id and records it codes into the
// radio image, and what it leaves of the image when it refuses.
#include "common/platformerror.h"
#include "support/checkfixtures.h"

using namespace CheckFixtures;

class TestCheckCoding : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void passesTheTemplate();
    void codedSettings_data();
    void codedSettings();
    void codedRecords_data();
    void codedRecords();
    void workedChannelRecords();
    void tableSize_data();
    void tableSize();
    void imageAsFarAsBuiltOnRefusal();

private:
    DataCheckResult check(const ChannelPlan &plan) { return (*m_check)(plan); }
    std::unique_ptr<CheckRunner> m_check;
};

void TestCheckCoding::init()
{
    m_check = std::make_unique<CheckRunner>();
}

void TestCheckCoding::passesTheTemplate()
{
    ChannelPlan plan = templatePlan();
    plan.chosenModule = 4;
    plan.moduleCode = 7;
    plan.bandCode = 2;

    const DataCheckResult result = check(plan);
    QCOMPARE(result.text(), kSuccess);
    QVERIFY(result.passed());
    const StationData &station = result.station;
    QCOMPARE(int(station.moduleCode), 4);
    QCOMPARE(int(station.bandCode), 2); // the plan's, not the check's business

    // The serial number is the station's own: no write sends it.
    const std::array<std::uint8_t, 12> header{0, 0, 0, 1, 8, 3, 200, 0, 0x00, 0, 200, 0x06};
    QCOMPARE(station.image.header, header);
    const std::array<std::uint8_t, 10> tones{70, 75, 100, 120, 140, 155, 170, 199, 210, 240};
    QCOMPARE(station.image.tones, tones);
    QCOMPARE(station.image.idCode, std::uint16_t(0x0001));
    // volume 1, position 1, ФВ 2, minimum volume 1, tones 3+3+4·8
    QCOMPARE(int(result.settingsDigitCount), 43);

    QCOMPARE(recordHex(station.image, 0), spaced("BE01 11D881 116801 C8C8 0000 010104 FF 00 00"));
    QCOMPARE(recordHex(station.image, 1), spaced("BE02 11DB01 116A81 C8C8 0000 010104 FF 00 00"));
    QCOMPARE(recordHex(station.image, 2), spaced("BE03 11DD81 116D01 C8C8 0000 010104 FF 00 00"));
    QCOMPARE(station.writeOrder().size(), 25 + 3 * 18);
}

void TestCheckCoding::codedSettings_data()
{
    QTest::addColumn<int>("channels");
    QTest::addColumn<QStringList>("edits");
    QTest::addColumn<QString>("field"); // hN header byte, tN tone, id, digits
    QTest::addColumn<int>("value");

    QTest::newRow("brightness 2") << 3 << QStringList{"s:Яркость диодов=2"} << "h3" << 6;
    QTest::newRow("brightness 5") << 3 << QStringList{"s:Яркость диодов=5"} << "h3" << 21;
    QTest::newRow("volume 16") << 3 << QStringList{"s:Громкость=16"} << "h4" << 16;
    QTest::newRow("blanks around the value") << 3 << QStringList{"d:Громкость", "add: Громкость = 12 "} << "h4" << 12;
    QTest::newRow("first of two keys") << 3 << QStringList{"add:Громкость=3"} << "h4" << 8;
    QTest::newRow("section name in lower case")
        << 3 << QStringList{"line0:[общие установки]", "s:Громкость=9"} << "h4" << 9;
    QTest::newRow("key beep missing") << 3 << QStringList{"d:Пик_кнопок"} << "h6" << 200;
    QTest::newRow("key beep -") << 3 << QStringList{"s:Пик_кнопок=-"} << "h6" << 100;
    QTest::newRow("СК 3 among 5 3 7") << 3 << QStringList{"c:Number:1=5", "c:Number:2=3", "c:Number:3=7", "s:СК=3"}
                                      << "h7" << 1;
    QTest::newRow("СК first of equal numbers")
        << 3 << QStringList{"c:Number:2=9", "c:Number:3=9", "s:СК=9"} << "h7" << 1;
    QTest::newRow("СК moved to the top") << 3 << QStringList{"d:СК", "top:СК=2"} << "h7" << 1;
    QTest::newRow("ФВ 42") << 3 << QStringList{"s:ФВ=42"} << "h8" << 0x42;
    QTest::newRow("ФВ 05") << 3 << QStringList{"s:ФВ=05"} << "h8" << 0x05;
    QTest::newRow("МинГромкость equal to volume") << 3 << QStringList{"s:МинГромкость=5", "s:Громкость=5"} << "h9" << 5;
    QTest::newRow("Код_DCS missing") << 3 << QStringList{"d:Код_DCS"} << "h10" << 200;
    QTest::newRow("Код_DCS -") << 3 << QStringList{"s:Код_DCS=-"} << "h10" << 100;
    QTest::newRow("ВУ only") << 3 << QStringList{"s:Ф_Скан=-", "s:Ф_V=-", "s:ВУ=+"} << "h11" << 16;
    QTest::newRow("all options") << 3 << QStringList{"s:ВУ=+"} << "h11" << 22;
    QTest::newRow("no options") << 3 << QStringList{"s:Ф_Скан=-", "s:Ф_V=-"} << "h11" << 0;
    QTest::newRow("channel count 12") << 12 << QStringList{} << "h5" << 12;
    QTest::newRow("Тон8 1989") << 3 << QStringList{} << "t8" << 199;
    QTest::newRow("Тон1 705") << 3 << QStringList{"s:Тон1=705"} << "t1" << 70;
    QTest::newRow("Тон2 715") << 3 << QStringList{"s:Тон2=715"} << "t2" << 72;
    QTest::newRow("Тон10 2550") << 3 << QStringList{"s:Тон10=2550"} << "t10" << 255;
    QTest::newRow("Id 12AB") << 3 << QStringList{"s:Id_номер=12AB"} << "id" << 0x12AB;
    QTest::newRow("Id star hash 0 0") << 3 << QStringList{"s:Id_номер=*#00"} << "id" << 0xFE00;
    QTest::newRow("Id 00E1") << 3 << QStringList{"s:Id_номер=00E1"} << "id" << 0x00E1;
    QTest::newRow("Id in lower case, e and f as read back") << 3 << QStringList{"s:Id_номер=#cef"} << "id" << 0xECEF;
    QTest::newRow("fewest digits") << 3 << QStringList{"s:Громкость=9", "s:Тон3=990", "s:Тон4=990",
                                                       "s:Тон5=990",    "s:Тон6=990", "s:Тон7=990",
                                                       "s:Тон8=990",    "s:Тон9=990", "s:Тон10=990"}
                                   << "digits" << 35;
    QTest::newRow("most digits") << 12 << QStringList{"s:Громкость=16", "s:СК=11", "s:Тон1=1000", "s:Тон2=1000"}
                                 << "digits" << 47;
}

void TestCheckCoding::codedSettings()
{
    QFETCH(int, channels);
    QFETCH(QStringList, edits);
    QFETCH(QString, field);
    QFETCH(int, value);

    ChannelPlan plan = templatePlan(StationKind::Band144_174, channels);
    applyEdits(plan, edits);
    const DataCheckResult result = check(plan);
    QCOMPARE(result.text(), kSuccess);

    int coded = -1;
    if (field == QLatin1String("id"))
        coded = result.station.image.idCode;
    else if (field == QLatin1String("digits"))
        coded = result.settingsDigitCount;
    else if (field.startsWith(u'h'))
        coded = result.station.image.header[std::size_t(field.mid(1).toInt())];
    else if (field.startsWith(u't'))
        coded = result.station.image.tones[std::size_t(field.mid(1).toInt() - 1)];
    QCOMPARE(coded, value);
}

void TestCheckCoding::codedRecords_data()
{
    QTest::addColumn<QStringList>("edits");
    QTest::addColumn<QByteArray>("record"); // of row 1

    auto row = [](const char *name, const QStringList &edits, const char *hex) {
        QTest::newRow(name) << edits << spaced(hex);
    };
    row("template row", {}, "BE01 11D881 116801 C8C8 0000 010104 FF 00 00");
    row("two-decimal texts", {"c:Rx:1=144000,00", "c:Tx:1=144000,00"}, "BE01 11D881 116801 C8C8 0000 010104 FF 00 00");
    row("rx repeater", {"c:Rx:1=РЕТР_ПП"}, "BE01 000000 116801 C8C8 0000 010104 DF 00 00");
    row("tx repeater", {"c:Tx:1=РЕТР_ПР"}, "BE01 11D881 000000 C8C8 0000 010104 EF 00 00");
    row("both repeaters", {"c:Rx:1=РЕТР_ПП", "c:Tx:1=РЕТР_ПР"}, "BE01 000000 000000 C8C8 0000 010104 CF 00 00");
    row("rx at the low limit", {"c:Rx:1=140000"}, "BE01 11CE81 116801 C8C8 0000 010104 FF 00 00");
    row("rx at the high limit", {"c:Rx:1=174000"}, "BE01 122381 116801 C8C8 0000 010104 FF 00 00");
    row("rx 144006,25", {"c:Rx:1=144006,25"}, "BE01 11D885 116801 C8C8 0000 010104 FF 00 00");
    row("rx 144006,249 truncated", {"c:Rx:1=144006,249"}, "BE01 11D881 116801 C8C8 0000 010104 FF 00 00");
    row("CTCSS first positions", {"c:CtcRx:1=88,5", "c:CtcTx:1=69,4"}, "BE01 11D881 116801 052C 0000 010104 FF 00 00");
    row("DCS rx by partner", {"c:DcsRx:1=754"}, "B601 11D881 116801 12C8 0000 010104 FF 00 00");
    row("DCS tx by position", {"s:Код_DCS=-", "c:DcsTx:1=754"}, "B601 11D881 116801 C854 0000 010104 FF 00 00");
    row("DCS mode drops CTCSS", {"c:DcsRx:1=023", "c:CtcRx:1=67,0", "c:CtcTx:1=71,9"},
        "B601 11D881 116801 08C8 0000 010104 FF 00 00");
    row("DCS mode ignores CTCSS cells", {"c:DcsTx:1=023", "c:CtcRx:1=xyz"},
        "B601 11D881 116801 C808 0000 010104 FF 00 00");
    row("tone numbers", {"c:ToneRx:1=3", "c:ToneTx:1=10"}, "8E01 11D881 116801 C8C8 030A 010104 FF 00 00");
    row("Tx_Off OFF", {"c:TxOff:1=OFF"}, "BE01 11D881 116801 C8C8 0000 010104 FB 00 00");
    row("Tx_Off RSSI", {"c:TxOff:1=RSSI"}, "BE01 11D881 116801 C8C8 0000 010104 FE 00 00");
    row("Tx_Off in lower case", {"c:TxOff:1=off"}, "BE01 11D881 116801 C8C8 0000 010104 FF 00 00");
    row("time 15", {"c:Time:1=15"}, "BE01 11D881 116801 C8C8 0000 010104 F7 0F 00");
    row("width 12,5", {"c:Sw:1=12,5"}, "FE01 11D881 116801 C8C8 0000 010104 FF 00 00");
    row("width 12,50 is not 12,5", {"c:Sw:1=12,50"}, "BE01 11D881 116801 C8C8 0000 010104 FF 00 00");
    row("boxes inverted", {"b:Scan:1=0", "b:IdTone:1=1", "b:Active:1=0"},
        "3801 11D881 116801 C8C8 0000 010104 FF 00 00");
    row("ШП 6", {"c:Sh:1=6"}, "BE01 11D881 116801 C8C8 0000 060104 FF 00 00");
    row("P_min 4 with a blank is not 4", {"c:PMin:1=4 "}, "BE01 11D881 116801 C8C8 0000 010404 FF 00 00");
    row("channel number 99", {"c:Number:1=99", "s:СК=99"}, "BE63 11D881 116801 C8C8 0000 010104 FF 00 00");
}

void TestCheckCoding::codedRecords()
{
    QFETCH(QStringList, edits);
    QFETCH(QByteArray, record);
    ChannelPlan plan = templatePlan();
    applyEdits(plan, edits);
    const DataCheckResult result = check(plan);
    QCOMPARE(result.text(), kSuccess);
    QCOMPARE(recordHex(result.station.image, 0), record);
}

void TestCheckCoding::workedChannelRecords()
{
    ChannelPlan plan = templatePlan();
    applyEdits(plan, {"c:Rx:1=144000", "c:Tx:1=144000", "c:CtcRx:1=67,0", "c:Rx:2=145500", "c:Tx:2=144900",
                      "c:CtcTx:2=71,9", "c:ToneRx:2=3", "c:Sh:2=2", "c:PMax:2=3", "c:PMin:2=2", "c:Sw:2=12,5",
                      "b:IdTone:2=1", "c:TxOff:2=RSSI", "c:Time:2=5"});
    const DataCheckResult result = check(plan);
    QCOMPARE(result.text(), kSuccess);
    QCOMPARE(recordHex(result.station.image, 0), spaced("BE 01 11 D8 81 11 68 01 01 C8 00 00 01 01 04 FF 00 00"));
    QCOMPARE(recordHex(result.station.image, 1), spaced("6E 02 11 DC 41 11 6A 41 C8 02 03 00 02 02 03 F6 05 00"));
}

void TestCheckCoding::tableSize_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("message");
    QTest::newRow("99 rows") << 99 << kSuccess;
    QTest::newRow("100 rows") << 100
                              << QStringLiteral(
                                     "Строчка №100 лишняя: в радиостанцию можно записать не более 99 каналов");
}

void TestCheckCoding::tableSize()
{
    QFETCH(int, rows);
    QFETCH(QString, message);
    ChannelPlan plan = templatePlan(StationKind::Band144_174, 99);
    ChannelTable &table = plan.table;
    table.setRowCount(rows + 1);
    for (int r = 100; r <= rows; ++r) {
        for (int c = 0; c < ChannelTable::ColumnCount; ++c)
            table.setCell(c, r, table.cell(c, 99));
    }
    table.addCheckBoxes();

    const DataCheckResult result = check(plan);
    QCOMPARE(result.text(), message);
    if (result.passed()) {
        QCOMPARE(int(result.station.image.at(StationLayout::Name::ChannelCount)), 99);
        QCOMPARE(int(result.station.image.records[98][1]), 99);
    }
}

void TestCheckCoding::imageAsFarAsBuiltOnRefusal()
{
    ChannelPlan plan = templatePlan();
    applyEdits(plan, {"c:PMin:2=4", "s:Яркость диодов=3"});

    const DataCheckResult result = check(plan);
    QVERIFY(!result.passed());
    QCOMPARE(int(result.station.image.at(StationLayout::Name::Brightness)), 11);
    QCOMPARE(int(result.station.image.at(StationLayout::Name::Options)), 6);
    QCOMPARE(recordHex(result.station.image, 0), spaced("BE01 11D881 116801 C8C8 0000 010104 FF 00 00"));
    // Row 2 stopped at "P_min": neither power level is coded, nor what follows.
    QCOMPARE(recordHex(result.station.image, 1), spaced("BE02 11DB01 116A81 C8C8 0000 010000 FF 00 00"));
    QCOMPARE(recordHex(result.station.image, 2), QByteArray(18, '\0').toHex(' '));
    QCOMPARE(recordHex(result.station.image, 98), QByteArray(18, '\0').toHex(' '));
}

QTEST_GUILESS_MAIN(TestCheckCoding)
#include "tst_checkcoding.moc"
