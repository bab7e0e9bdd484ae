#include "table/columnvalue.h"

#include <QTest>

// "Задать для выделенных…": which selections take one value; the cells it
// writes are a paste's (tst_tablesheet) and the window's (ui/tst_tableexchange).
class ColumnValueTest : public QObject
{
    Q_OBJECT
private slots:
    void choice_data();
    void choice();
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

QTEST_APPLESS_MAIN(ColumnValueTest)
#include "tst_columnvalue.moc"
