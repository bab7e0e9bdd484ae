// Two checked tables compared as the station would hold them: every kind of
// field, rows only one side has, spellings that code alike, lines the station
// does not keep, and the serial number that never counts.

#include "compare/comparisontaking.h"
#include "compare/stationcomparison.h"
#include "image/stationreply.h"
#include "support/checkfixtures.h"

#include <QTest>

using namespace CheckFixtures;
using Kind = StationComparison::Difference::Kind;

namespace {

QString kindLetter(Kind kind)
{
    switch (kind) {
    case Kind::Stored:
        return QStringLiteral("S");
    case Kind::TextOnly:
        return QStringLiteral("T");
    case Kind::OnlyInA:
        return QStringLiteral("A");
    case Kind::OnlyInB:
        return QStringLiteral("B");
    case Kind::NotStored:
        return QStringLiteral("N");
    }
    return QString();
}

StationData check(const ChannelPlan &plan)
{
    CheckRunner runner;
    const DataCheckResult result = runner(plan);
    if (!result.passed())
        qFatal("check refused: %s", qPrintable(result.text()));
    return result.station;
}

ChannelPlan editedPlan(const QStringList &edits)
{
    ChannelPlan plan = templatePlan();
    applyEdits(plan, edits);
    return plan;
}

// The template with edits, checked as before a write; "read" makes it the
// side of a station that holds it.
StationSide checkedSide(QStringList edits)
{
    const bool read = edits.removeAll("read") > 0;
    const ChannelPlan plan = editedPlan(edits);
    const StationData station = check(plan);
    if (!read)
        return StationSide::checked(plan, station);
    return StationSide::read(StationReply::decode(station.reply(), plan.stationKind));
}

} // namespace

class TestStationComparison : public QObject
{
    Q_OBJECT

private slots:
    void compares_data();
    void compares();
    void takeAll_data();
    void takeAll();
};

void TestStationComparison::compares_data()
{
    QTest::addColumn<QStringList>("editsA");
    QTest::addColumn<QStringList>("editsB");
    QTest::addColumn<QStringList>("expected"); // kind|place|a|b
    QTest::addColumn<bool>("storedEqual");

    QTest::newRow("equal") << QStringList{} << QStringList{} << QStringList{} << true;
    QTest::newRow("volume") << QStringList{} << QStringList{"s:Громкость=9"} << QStringList{"S|Громкость|8|9"} << false;
    QTest::newRow("tone") << QStringList{} << QStringList{"s:Тон3=1100"} << QStringList{"S|Тон3|1000|1100"} << false;
    QTest::newRow("Id") << QStringList{} << QStringList{"s:Id_номер=0002"} << QStringList{"S|Id_номер|0001|0002"}
                        << false;
    QTest::newRow("one of the option flags")
        << QStringList{} << QStringList{"s:ВУ=+"} << QStringList{"S|ВУ|-|+"} << false;
    QTest::newRow("special channel") << QStringList{} << QStringList{"s:СК=2"} << QStringList{"S|СК|1|2"} << false;
    QTest::newRow("a cell") << QStringList{} << QStringList{"c:Sh:2=3"} << QStringList{"S|строка 2, ШП|1|3"} << false;
    QTest::newRow("a box") << QStringList{} << QStringList{"b:Scan:3=0"} << QStringList{"S|строка 3, Скан.|да|нет"}
                           << false;
    QTest::newRow("rows only A has") << QStringList{} << QStringList{"rows:2"}
                                     << QStringList{"A|строка 3|строка есть|строки нет"} << false;
    QTest::newRow("rows only B has") << QStringList{"rows:2"} << QStringList{}
                                     << QStringList{"B|строка 3|строки нет|строка есть"} << false;
    QTest::newRow("tone spelt otherwise")
        << QStringList{"s:Тон1=700"} << QStringList{"s:Тон1=705"} << QStringList{"T|Тон1|700|705"} << true;
    QTest::newRow("Id spelt otherwise") << QStringList{"s:Id_номер=FE00"} << QStringList{"s:Id_номер=*#00"}
                                        << QStringList{"T|Id_номер|FE00|*#00"} << true;
    QTest::newRow("leading zero") << QStringList{} << QStringList{"s:Громкость=08"} << QStringList{"T|Громкость|8|08"}
                                  << true;
    QTest::newRow("power level the station does not keep")
        << QStringList{} << QStringList{"s:P_1=7"} << QStringList{"N|P_1|5|7"} << true;
    QTest::newRow("a line no key names") << QStringList{"add:Заметка=ремонт"} << QStringList{}
                                         << QStringList{"N|Заметка|ремонт|(нет строки)"} << true;
    QTest::newRow("a station has no spelling")
        << QStringList{"s:Тон1=705", "s:Громкость=08"} << QStringList{"read"} << QStringList{} << true;
    QTest::newRow("a station keeps no power levels")
        << QStringList{"s:P_1=7"} << QStringList{"read"} << QStringList{} << true;
    QTest::newRow("a station differs") << QStringList{} << QStringList{"read", "s:Тон1=1000"}
                                       << QStringList{"S|Тон1|700|1000"} << false;
    QTest::newRow("serial number never differs")
        << QStringList{"s:Серийный номер=0A0B0C"} << QStringList{"s:Серийный номер=010203"} << QStringList{} << true;
    QTest::newRow("several, in settings order then rows")
        << QStringList{} << QStringList{"c:Rx:1=148500,00", "s:Тон2=800", "s:Громкость=10"}
        << QStringList{"S|Тон2|750|800", "S|Громкость|8|10", "S|строка 1, Rx, кГц|144000|148500,00"} << false;
}

void TestStationComparison::compares()
{
    QFETCH(QStringList, editsA);
    QFETCH(QStringList, editsB);
    QFETCH(QStringList, expected);
    QFETCH(bool, storedEqual);

    const StationSide a = checkedSide(editsA);
    const StationSide b = checkedSide(editsB);
    const StationComparison comparison(a, b);
    QStringList found;
    for (const auto &d : comparison.differences())
        found.append(QStringList{kindLetter(d.kind), d.place(), d.a, d.b}.join(u'|'));
    QCOMPARE(found, expected);
    QCOMPARE(comparison.storedEqual(), storedEqual);
}

void TestStationComparison::takeAll_data()
{
    QTest::addColumn<QStringList>("editsA");
    QTest::addColumn<QStringList>("editsB");
    QTest::addColumn<QStringList>("editsSince"); // of A, after the comparison
    QTest::addColumn<bool>("refused");

    QTest::newRow("a cell and a box") << QStringList{"c:Sh:2=3", "b:IdTone:1=1"} << QStringList{} << QStringList{}
                                      << false;
    QTest::newRow("settings") << QStringList{"s:Громкость=9", "s:Тон3=1004", "s:P_2=7"} << QStringList{}
                              << QStringList{} << false;
    QTest::newRow("a line only A has") << QStringList{"add:Заметка=ремонт"} << QStringList{} << QStringList{} << false;
    QTest::newRow("rows only A has") << QStringList{} << QStringList{"rows:1"} << QStringList{} << false;
    QTest::newRow("rows only B has") << QStringList{"rows:1"} << QStringList{"c:Sh:3=2"} << QStringList{} << false;
    // The differences no longer fit the table: nothing is taken.
    QTest::newRow("a cell of a row deleted since")
        << QStringList{"c:Sh:3=2"} << QStringList{} << QStringList{"rows:2"} << true;
    QTest::newRow("a shorter template since")
        << QStringList{"c:Sh:2=3"} << QStringList{} << QStringList{"rows:1"} << true;
    QTest::newRow("rows only A has, fewer rows since")
        << QStringList{} << QStringList{"rows:1"} << QStringList{"rows:1"} << true;
    QTest::newRow("rows only B has, more rows since")
        << QStringList{"rows:1"} << QStringList{} << QStringList{"rows:5"} << true;
}

void TestStationComparison::takeAll()
{
    QFETCH(QStringList, editsA);
    QFETCH(QStringList, editsB);
    QFETCH(QStringList, editsSince);
    QFETCH(bool, refused);

    ChannelPlan a = editedPlan(editsA);
    const StationSide b = checkedSide(editsB);
    const StationComparison before(StationSide::checked(a, check(a)), b);
    QVERIFY(!before.differences().isEmpty());
    applyEdits(a, editsSince);
    const ChannelPlan changed = a;
    const ComparisonTaking::Taken taken = ComparisonTaking::take(before.differences(), b, a.table, a.settingsLines);
    QCOMPARE(bool(taken.refusal), refused);
    if (refused) {
        QCOMPARE(taken.count, 0);
        QVERIFY(a.table == changed.table);
        QCOMPARE(a.settingsLines, changed.settingsLines);
        return;
    }
    QCOMPARE(taken.count, int(before.differences().size()));
    const StationComparison after(StationSide::checked(a, check(a)), b);
    QCOMPARE(after.differences().size(), 0);
}

QTEST_APPLESS_MAIN(TestStationComparison)
#include "tst_stationcomparison.moc"
