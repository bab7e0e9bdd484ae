#include "table/columnvalue.h"
#include "tablefixtures.h"

#include <QTest>

Q_DECLARE_METATYPE(TableSheet::Range)

// "Задать для выделенных…": which selections take one value, and the cells it writes.
class ColumnValueTest : public QObject
{
    Q_OBJECT
private slots:
    void choice_data();
    void choice();
    void writes_data();
    void writes();
};

void ColumnValueTest::choice_data()
{
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("right");
    QTest::addColumn<QString>("items"); // the first items, or the refusal's column names
    using C = ChannelTable;
    QTest::newRow("number: typed") << int(C::Number) << int(C::Number) << "";
    QTest::newRow("Rx and Tx: typed") << int(C::Rx) << int(C::Tx) << "";
    QTest::newRow("number and Rx differ") << int(C::Number) << int(C::Rx) << "refused: \"№ кан.\" и \"Rx, кГц\"";
    QTest::newRow("both CTCSS columns") << int(C::CtcRx) << int(C::CtcTx) << "Нет|67,0";
    QTest::newRow("CTCSS and DCS differ") << int(C::CtcTx) << int(C::DcsRx) << "refused: \"CTC_Tx\" и \"DCS_Rx\"";
    QTest::newRow("both power columns") << int(C::PMax) << int(C::PMin) << "1|2";
    QTest::newRow("power and a box differ") << int(C::PMin) << int(C::Scan) << "refused: \"P_min\" и \"Скан.\"";
    QTest::newRow("a box") << int(C::IdTone) << int(C::IdTone) << "да|нет";
    QTest::newRow("Tx_Off list") << int(C::TxOff) << int(C::TxOff) << "Норм|RSSI";
}

void ColumnValueTest::choice()
{
    QFETCH(int, left);
    QFETCH(int, right);
    QFETCH(QString, items);
    const auto choice = ColumnValue::choiceFor(TableSheet::Range{left, 1, right, 3});
    if (const auto *refusal = std::get_if<Refusal>(&choice)) {
        QVERIFY2(items.startsWith("refused: "), qPrintable(refusal->text));
        QVERIFY2(refusal->text.contains(items.mid(9)), qPrintable(refusal->text));
        return;
    }
    QCOMPARE(std::get<ColumnValue::Choice>(choice).items().mid(0, 2).join('|'), items);
}

void ColumnValueTest::writes_data()
{
    QTest::addColumn<TableSheet::Range>("range");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QStringList>("written"); // "column:row=text" or "column:row=[x]" for a box
    using C = ChannelTable;
    QTest::newRow("DCS on three rows") << TableSheet::Range{C::DcsRx, 1, C::DcsRx, 3} << "023"
                                       << QStringList{"5:1=023", "5:2=023", "5:3=023"};
    QTest::newRow("unchanged cells not written")
        << TableSheet::Range{C::PMax, 1, C::PMax, 3} << "4" << QStringList{"10:3=4"};
    QTest::newRow("Rx and Tx, point to comma")
        << TableSheet::Range{C::Rx, 2, C::Tx, 2} << "150000.5" << QStringList{"1:2=150000,5", "2:2=150000,5"};
    QTest::newRow("boxes cleared") << TableSheet::Range{C::Scan, 1, C::Scan, 2} << "нет"
                                   << QStringList{"12:1=[ ]", "12:2=[ ]"};
    QTest::newRow("boxes already so") << TableSheet::Range{C::IdTone, 1, C::IdTone, 3} << "нет" << QStringList{};
}

void ColumnValueTest::writes()
{
    QFETCH(TableSheet::Range, range);
    QFETCH(QString, value);
    QFETCH(QStringList, written);
    ChannelTable table = templateTable(3);
    table.setCell(ChannelTable::PMax, 3, "2");
    QStringList out;
    for (const TableSheet::CellWrite &w : ColumnValue::writes(table, range, value))
        out << QStringLiteral("%1:%2=%3").arg(w.column).arg(w.row).arg(w.text ? *w.text : *w.checked ? "[x]" : "[ ]");
    QCOMPARE(out, written);
}

QTEST_APPLESS_MAIN(ColumnValueTest)
#include "tst_columnvalue.moc"
