#include "table/tablesheet.h"
#include "tablefixtures.h"

#include <QTest>

using TableSheet::Block;
using TableSheet::CellWrite;

Q_DECLARE_METATYPE(TableSheet::Range)

class TableSheetTest : public QObject
{
    Q_OBJECT
private slots:
    void parse_data();
    void parse();
    void boxState_data();
    void boxState();
    void paste_data();
    void paste();
    void fillDown_data();
    void fillDown();
    void copyPasteRoundTrip();
    void insertAndRemoveRows_data();
    void insertAndRemoveRows();
};

namespace {
ChannelTable sample(int channels)
{
    return templateTable(channels);
}

// Per channel row: number, Rx, and the "Скан." and "Id_Тон" boxes ("-" without boxes).
QStringList rows(const ChannelTable &table)
{
    QStringList out;
    for (int r = 1; r < table.rowCount(); ++r) {
        const QString boxes = !table.hasBoxes(r) ? QStringLiteral("-")
                                                 : QStringLiteral("%1%2")
                                                       .arg(table.isChecked(ChannelTable::Scan, r) ? 'x' : 'o')
                                                       .arg(table.isChecked(ChannelTable::IdTone, r) ? 'x' : 'o');
        out << table.cell(ChannelTable::Number, r) + u' ' + table.cell(ChannelTable::Rx, r) + u' ' + boxes;
    }
    return out;
}

QStringList described(const std::vector<CellWrite> &writes)
{
    QStringList out;
    for (const CellWrite &w : writes)
        out << QStringLiteral("%1:%2=%3").arg(w.column).arg(w.row).arg(w.text ? *w.text : *w.checked ? "[x]" : "[ ]");
    return out;
}

void apply(ChannelTable &table, const std::vector<CellWrite> &writes)
{
    for (const CellWrite &w : writes) {
        if (w.text)
            table.setCell(w.column, w.row, *w.text);
        else
            table.setChecked(w.column, w.row, *w.checked);
    }
}
} // namespace

void TableSheetTest::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<Block>("block");
    QTest::newRow("LF") << "a\tb\nc\td" << Block{{"a", "b"}, {"c", "d"}};
    QTest::newRow("CR LF, final line end") << "a\tb\r\nc\td\r\n" << Block{{"a", "b"}, {"c", "d"}};
    QTest::newRow("empty cells kept") << "\tb\t\n" << Block{{"", "b", ""}};
    QTest::newRow("empty line inside") << "a\n\nb\n" << Block{{"a"}, {""}, {"b"}};
    QTest::newRow("nothing") << "" << Block{};
}

void TableSheetTest::parse()
{
    QFETCH(QString, text);
    QFETCH(Block, block);
    QCOMPARE(TableSheet::parse(text), block);
}

void TableSheetTest::boxState_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<int>("state"); // -1 leaves the box
    for (const char *w : {"да", "Да", " ДА ", "+", "1"})
        QTest::newRow(w) << QString::fromUtf8(w) << 1;
    for (const char *w : {"нет", "Нет", "-", "0"})
        QTest::newRow(w) << QString::fromUtf8(w) << 0;
    for (const char *w : {"", "yes", "2", "д", "x"})
        QTest::newRow(qPrintable(QStringLiteral("'%1'").arg(w))) << QString::fromUtf8(w) << -1;
}

void TableSheetTest::boxState()
{
    QFETCH(QString, word);
    QFETCH(int, state);
    const auto got = TableSheet::boxState(word);
    QCOMPARE(got ? int(*got) : -1, state);
}

void TableSheetTest::paste_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("detached");
    QTest::addColumn<QStringList>("writes");
    QTest::addColumn<int>("cut");
    using C = ChannelTable::Column;
    QTest::newRow("3x2 block from the middle, unchanged cells skipped")
        << int(C::PMin) << 4 << "2\tнет\t12,5\r\n3\tда\t25\r\n"
        << false << QStringList{"11:4=2", "12:4=[ ]", "13:4=12,5", "11:5=3"} << 0;
    QTest::newRow("block hanging past the last row and column")
        << int(C::Time) << 9 << "1\tнет\tx\n2\t+\ty\n3\t-\tz\n"
        << false << QStringList{"16:9=1", "17:9=[ ]", "16:10=2"} << 5;
    QTest::newRow("box words, others leave the box") << int(C::IdTone) << 1 << "Да\n0\n+\nмб\n1\n"
                                                     << false << QStringList{"14:1=[x]", "14:3=[x]", "14:5=[x]"} << 0;
    QTest::newRow("texts as they are in list and typed columns")
        << int(C::Rx) << 2 << "145 000\t\t67,0\tНет\n"
        << false << QStringList{"1:2=145 000", "2:2=", "3:2=67,0"} << 0;
    QTest::newRow("decimal point of a frequency becomes the comma, other columns keep it")
        << int(C::Number) << 3 << "7.5\t150012.5\t144006.25\t88.5\n"
        << false << QStringList{"0:3=7.5", "1:3=150012,5", "2:3=144006,25", "3:3=88.5"} << 0;
    QTest::newRow("rows without boxes keep their check columns") << int(C::Scan) << 1 << "нет\tfoo\tда\n"
                                                                 << true << QStringList{"13:1=foo"} << 0;
    QTest::newRow("ragged rows") << 0 << 1 << "a\nb\tc\n" << false << QStringList{"0:1=a", "0:2=b", "1:2=c"} << 0;
}

void TableSheetTest::paste()
{
    QFETCH(int, column);
    QFETCH(int, row);
    QFETCH(QString, text);
    QFETCH(bool, detached);
    QFETCH(QStringList, writes);
    QFETCH(int, cut);
    ChannelTable table = sample(10);
    if (detached)
        table.detachCheckBoxes();
    const TableSheet::Placement placement = TableSheet::paste(table, column, row, TableSheet::parse(text));
    QCOMPARE(described(placement.writes), writes);
    QCOMPARE(placement.cutCells, cut);
}

void TableSheetTest::fillDown_data()
{
    QTest::addColumn<TableSheet::Range>("range");
    QTest::addColumn<QStringList>("writes");
    QTest::newRow("text and boxes") << TableSheet::Range{ChannelTable::PMin, 2, ChannelTable::IdTone, 4}
                                    << QStringList{"11:3=3", "12:3=[ ]", "14:3=[x]", "11:4=3", "12:4=[ ]", "14:4=[x]"};
    QTest::newRow("one row fills nothing")
        << TableSheet::Range{ChannelTable::PMin, 2, ChannelTable::IdTone, 2} << QStringList{};
}

void TableSheetTest::fillDown()
{
    QFETCH(TableSheet::Range, range);
    QFETCH(QStringList, writes);
    ChannelTable table = sample(5);
    table.setCell(ChannelTable::PMin, 2, "3");
    table.setChecked(ChannelTable::Scan, 2, false);
    table.setChecked(ChannelTable::IdTone, 2, true);
    QCOMPARE(described(TableSheet::fillDown(table, range)), writes);
}

void TableSheetTest::copyPasteRoundTrip()
{
    ChannelTable from = sample(4);
    from.setCell(ChannelTable::CtcRx, 2, "88,5");
    from.setChecked(ChannelTable::Scan, 3, false);
    from.setChecked(ChannelTable::IdTone, 2, true);
    const TableSheet::Range range{ChannelTable::Rx, 2, ChannelTable::Active, 3};
    const QString text = TableSheet::format(TableSheet::copy(from, range));
    QCOMPARE(text.count(u'\n'), 2);
    QVERIFY(text.startsWith("141000\t141000\t88,5\t"));
    QVERIFY(text.contains("\t1\tда\t25\tда\tНорм\tНет\tда\n"));

    ChannelTable to = sample(9);
    const TableSheet::Placement placement = TableSheet::paste(to, ChannelTable::Rx, 7, TableSheet::parse(text));
    QCOMPARE(placement.cutCells, 0);
    apply(to, placement.writes);
    QCOMPARE(TableSheet::copy(to, {ChannelTable::Rx, 7, ChannelTable::Active, 8}), TableSheet::copy(from, range));
}

QTEST_GUILESS_MAIN(TableSheetTest)
#include "tst_tablesheet.moc"

void TableSheetTest::insertAndRemoveRows_data()
{
    QTest::addColumn<bool>("insert");
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("detached");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<int>("boxRows");
    QTest::newRow("insert in the middle: numbers follow, boxes stay with their rows")
        << true << 2 << false << QStringList{"1 140000 xo", "2  xo", "3 141000 ox", "4 142000 xo"} << 5;
    QTest::newRow("insert after the last row")
        << true << 4 << false << QStringList{"1 140000 xo", "2 141000 ox", "3 142000 xo", "4  xo"} << 5;
    QTest::newRow("insert without boxes makes none")
        << true << 1 << true << QStringList{"1  -", "2 140000 -", "3 141000 -", "4 142000 -"} << 4;
    QTest::newRow("remove the middle row") << false << 2 << false << QStringList{"1 140000 xo", "2 142000 xo"} << 3;
    QTest::newRow("remove past the end does nothing")
        << false << 4 << false << QStringList{"1 140000 xo", "2 141000 ox", "3 142000 xo"} << 4;
}

void TableSheetTest::insertAndRemoveRows()
{
    QFETCH(bool, insert);
    QFETCH(int, row);
    QFETCH(bool, detached);
    QFETCH(QStringList, expected);
    QFETCH(int, boxRows);
    ChannelTable table = sample(3);
    table.setChecked(ChannelTable::Scan, 2, false);
    table.setChecked(ChannelTable::IdTone, 2, true);
    if (detached)
        table.detachCheckBoxes();
    const int before = table.rowCount();
    if (insert)
        table.insertRow(row);
    else
        table.removeRow(row);
    if (table.rowCount() != before)
        table.renumberFrom(insert ? row + 1 : row, insert ? 1 : -1);
    QCOMPARE(rows(table), expected);
    QCOMPARE(table.checkBoxRowCount(), detached ? 4 : boxRows);
    QCOMPARE(table.cell(ChannelTable::CtcRx, insert ? row : 1), QStringLiteral("Нет"));
}
