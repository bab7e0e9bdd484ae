#include "table/channelplan.h"
#include "station/codelists.h"
#include "station/stationprofile.h"
#include "table/templatebuilder.h"

#include <QSet>
#include <QTest>

class StationTest : public QObject
{
    Q_OBJECT
private slots:
    void profiles_data();
    void profiles();
    void bandCodes_data();
    void bandCodes();
    void selectionByBandCodeKeepsUnknownCode();
    void selectionDetachesBoxesKeepsCells();
    void moduleCodeAboveFiveKeepsMenu();
    void listLookups_data();
    void listLookups();
    void dcsPairsAreSymmetricAndComplete();
    void bandRangeText();
};

void StationTest::profiles_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("menu");
    QTest::addColumn<int>("low");
    QTest::addColumn<int>("high");
    QTest::addColumn<int>("prescaler");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("band");
    QTest::newRow("30-60") << int(StationKind::Band30_60) << "Ветрал 4М-11"
                           << "30-60 МГц" << 30000 << 60000 << 8 << 10700 << 1;
    QTest::newRow("144-174") << int(StationKind::Band144_174) << "Ветрал 4М-13"
                             << "144-174 МГц" << 140000 << 174000 << 32 << 45000 << 0;
    QTest::newRow("400-486") << int(StationKind::Band400_486) << "Ветрал 4М-15"
                             << "400-486 Мгц" << 400000 << 486000 << 32 << -45000 << 3;
}

void StationTest::profiles()
{
    QFETCH(int, kind);
    const StationProfile &p = StationProfiles::get(StationKind(kind));
    QTEST(p.caption, "caption");
    QTEST(p.menuCaption, "menu");
    QTEST(p.lowKHz, "low");
    QTEST(p.highKHz, "high");
    QTEST(p.prescaler, "prescaler");
    QTEST(p.rxOffsetKHz, "offset");
    QTEST(int(p.bandCode), "band");
}

void StationTest::bandCodes_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("kind"); // -1: none
    QTest::newRow("0") << 0 << int(StationKind::Band144_174);
    QTest::newRow("1") << 1 << int(StationKind::Band30_60);
    QTest::newRow("2") << 2 << int(StationKind::Band30_60);
    QTest::newRow("3") << 3 << int(StationKind::Band400_486);
    QTest::newRow("4") << 4 << -1;
    QTest::newRow("255") << 255 << -1;
}

void StationTest::bandCodes()
{
    QFETCH(int, code);
    QFETCH(int, kind);
    const auto k = StationProfiles::forBandCode(code);
    QCOMPARE(k ? int(*k) : -1, kind);
}

void StationTest::selectionByBandCodeKeepsUnknownCode()
{
    ChannelPlan s;
    s.selectStation(StationKind::Band400_486);
    QVERIFY(!s.selectStationByBandCode(9));
    QCOMPARE(int(s.bandCode), 9);
    QCOMPARE(s.profile().caption, QStringLiteral("Ветрал 4М-15"));
    QVERIFY(s.selectStationByBandCode(2));
    QCOMPARE(int(s.bandCode), 1); // code 2 selects the 30-60 profile, which sets its own code
    QCOMPARE(s.profile().prescaler, 8);
}

void StationTest::selectionDetachesBoxesKeepsCells()
{
    ChannelPlan s;
    QVERIFY(!TemplateBuilder::build({"3", "140000", "1000"}, 140000, 174000, s.table, s.settingsLines));
    s.selectStation(StationKind::Band30_60);
    QVERIFY(!s.table.hasBoxes(1));
    QCOMPARE(s.table.cell(ChannelTable::Rx, 3), QStringLiteral("142000"));
    QCOMPARE(s.settingsLines.size(), 26);
}

void StationTest::moduleCodeAboveFiveKeepsMenu()
{
    ChannelPlan s;
    s.setModuleCode(4);
    s.setModuleCode(7);
    QCOMPARE(int(s.moduleCode), 7);
    QCOMPARE(s.chosenModule, 4);
}

void StationTest::listLookups_data()
{
    QTest::addColumn<bool>("ctcss");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("index");
    QTest::newRow("67,0 first position") << true << "67,0" << 1;
    QTest::newRow("88,5 first position") << true << "88,5" << 5;
    QTest::newRow("74,4") << true << "74,4" << 36;
    QTest::newRow("69,4") << true << "69,4" << 44;
    QTest::newRow("254,1") << true << "254,1" << 55;
    QTest::newRow("Нет") << true << "Нет" << 0;
    QTest::newRow("not held") << true << "67.0" << -1;
    QTest::newRow("023") << false << "023" << 1;
    QTest::newRow("754") << false << "754" << 84;
    QTest::newRow("dcs not held") << false << "024" << -1;
}

void StationTest::listLookups()
{
    QFETCH(bool, ctcss);
    QFETCH(QString, text);
    QFETCH(int, index);
    QCOMPARE(ctcss ? CodeLists::ctcssIndex(text) : CodeLists::dcsIndex(text), index);
    QCOMPARE(CodeLists::ctcss().size(), 56);
    QCOMPARE(CodeLists::dcs().size(), 85);
    QCOMPARE(CodeLists::ctcss().at(34), QStringLiteral("67,0"));
}

void StationTest::dcsPairsAreSymmetricAndComplete()
{
    QSet<int> seen;
    for (int k = 1; k <= 84; ++k) {
        const int p = CodeLists::dcsPartner(k);
        QVERIFY2(p >= 1 && p <= 84 && p != k, qPrintable(QString::number(k)));
        QCOMPARE(CodeLists::dcsPartner(p), k);
        seen.insert(p);
    }
    QCOMPARE(seen.size(), 84);
    QCOMPARE(CodeLists::dcsPartner(1), 8);   // 023 / 047
    QCOMPARE(CodeLists::dcsPartner(84), 18); // 754 / 116
    QCOMPARE(CodeLists::dcsPartner(0), -1);
    QCOMPARE(CodeLists::dcsPartner(85), -1);
}

void StationTest::bandRangeText()
{
    QCOMPARE(TemplateBuilder::bandRange(140000, 174000), QStringLiteral("140-174"));
    QCOMPARE(TemplateBuilder::bandRange(30000, 60000), QStringLiteral("30-60"));
    QCOMPARE(TemplateBuilder::bandRange(300500, 345000), QStringLiteral("300,5-345"));
}

QTEST_GUILESS_MAIN(StationTest)
#include "tst_station.moc"
