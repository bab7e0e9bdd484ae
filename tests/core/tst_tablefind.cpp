#include "table/tablefind.h"
#include "tablefixtures.h"

#include <QTest>

// Finding a text in the table: a row per way a cell matches or is passed.
class TableFindTest : public QObject
{
    Q_OBJECT
private slots:
    void next_data();
    void next();
};

void TableFindTest::next_data()
{
    QTest::addColumn<QStringList>("cells");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("wholeCell");
    QTest::addColumn<QString>("from"); // "column:row"
    QTest::addColumn<bool>("backwards");
    QTest::addColumn<QString>("found"); // "column:row", or "-"

    // Four channels: Rx and Tx 146500, 147500, 148500, 149500.
    const QString end = QStringLiteral("17:4");
    QTest::newRow("frequency as typed") << QStringList{} << "147500" << false << end << false << "1:2";
    QTest::newRow("frequency with decimals, cell without")
        << QStringList{} << "147500,00" << false << end << false << "1:2";
    QTest::newRow("frequency with a point") << QStringList{} << "147500.0" << false << end << false << "1:2";
    QTest::newRow("whole number, cell with decimals")
        << QStringList{"1:3=148500,00"} << "148500" << true << end << false << "1:3";
    QTest::newRow("part of a cell") << QStringList{} << "4" << false << end << false << "1:1";
    QTest::newRow("whole cell passes longer texts") << QStringList{} << "4" << true << end << false << "10:1";
    QTest::newRow("DCS code by its number") << QStringList{"5:3=023"} << "23" << true << end << false << "5:3";
    QTest::newRow("tone by its number") << QStringList{"3:2=67,0"} << "67" << true << end << false << "3:2";
    QTest::newRow("letter case") << QStringList{"15:2=RSSI"} << "rssi" << true << end << false << "15:2";
    QTest::newRow("after the current cell") << QStringList{} << "500" << false << "1:2" << false << "2:2";
    QTest::newRow("before it, backwards") << QStringList{} << "500" << false << "1:2" << true << "2:1";
    QTest::newRow("past the end from the start") << QStringList{} << "146500" << false << "2:4" << false << "1:1";
    QTest::newRow("past the start from the end") << QStringList{} << "149500" << false << "1:1" << true << "2:4";
    QTest::newRow("the current cell itself last")
        << QStringList{"15:2=RSSI"} << "RSSI" << false << "15:2" << false << "15:2";
    QTest::newRow("a box has no text") << QStringList{"12:1=+"} << "+" << false << end << false << "-";
    QTest::newRow("blank text") << QStringList{} << "  " << false << end << false << "-";
    QTest::newRow("no such value") << QStringList{} << "155000" << false << end << false << "-";
}

void TableFindTest::next()
{
    QFETCH(QStringList, cells);
    QFETCH(QString, text);
    QFETCH(bool, wholeCell);
    QFETCH(QString, from);
    QFETCH(bool, backwards);
    QFETCH(QString, found);

    ChannelTable table = templateTable(4, "146500");
    setCells(table, cells);
    const TableFind::Cell start{from.section(':', 0, 0).toInt(), from.section(':', 1).toInt()};
    const auto cell = TableFind::next(table, start, {text, wholeCell}, backwards);
    QCOMPARE(cell ? QStringLiteral("%1:%2").arg(cell->column).arg(cell->row) : QStringLiteral("-"), found);
}

QTEST_APPLESS_MAIN(TableFindTest)
#include "tst_tablefind.moc"
