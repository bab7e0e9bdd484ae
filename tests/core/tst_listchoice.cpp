#include "common/platformerror.h"
#include "station/codelists.h"
#include "table/channeltable.h"
#include "table/listchoice.h"

#include <QTest>

class ListChoiceTest : public QObject
{
    Q_OBJECT
private slots:
    void listOfColumn_data();
    void listOfColumn();
    void items_data();
    void items();
    void choice_data();
    void choice();
    void notAWholeNumber_data();
    void notAWholeNumber();
};

void ListChoiceTest::listOfColumn_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("list");
    const int expected[ChannelTable::ColumnCount] = {0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 5, 5, 0, 6, 0, 8, 7, 0};
    for (int c = 0; c < ChannelTable::ColumnCount; ++c)
        QTest::addRow("column %d", c) << c << expected[c];
    QTest::newRow("beyond the table") << 18 << 0;
}

void ListChoiceTest::listOfColumn()
{
    QFETCH(int, column);
    QFETCH(int, list);
    QCOMPARE(int(ListChoice::listFor(column)), list);
}

void ListChoiceTest::items_data()
{
    QTest::addColumn<int>("list");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("ComboBox1") << 1 << CodeLists::ctcss();
    QTest::newRow("ComboBox2") << 2 << CodeLists::dcs();
    QTest::newRow("ComboBox3") << 3 << QStringList{"Нет", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10"};
    QTest::newRow("ComboBox4") << 4 << QStringList{"1", "2", "3", "4", "5", "6"};
    QTest::newRow("ComboBox5") << 5 << QStringList{"1", "2", "3", "4"};
    QTest::newRow("ComboBox6") << 6 << QStringList{"12,5", "25"};
    QTest::newRow("ComboBox7") << 7 << QStringList{"Нет", "1", "2",  "3",  "4",  "5",  "6",  "7",
                                                   "8",   "9", "10", "11", "12", "13", "14", "15"};
    QTest::newRow("ComboBox8") << 8 << QStringList{"Норм", "RSSI", "OFF"};
}

void ListChoiceTest::items()
{
    QFETCH(int, list);
    QFETCH(QStringList, expected);
    QCOMPARE(ListChoice::items(CellList(list)), expected);
}

void ListChoiceTest::choice_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("item"); // -1: the list keeps the item of its last use
    QTest::newRow("ctcss none") << 3 << "Нет" << 0;
    QTest::newRow("ctcss twice, later wins") << 4 << "67,0" << 34;
    QTest::newRow("ctcss once") << 3 << "69,4" << 44;
    QTest::newRow("ctcss not in list") << 3 << "67" << -1;
    QTest::newRow("dcs first code") << 5 << "023" << 1;
    QTest::newRow("dcs last code") << 6 << "754" << 84;
    QTest::newRow("tone none") << 7 << "Нет" << 0;
    QTest::newRow("tone 10") << 7 << "10" << 10;
    QTest::newRow("tone 0 is the none item") << 7 << "0" << 0;
    QTest::newRow("tone 11 outside") << 7 << "11" << -1;
    QTest::newRow("squelch 1") << 9 << "1" << 0;
    QTest::newRow("squelch 6") << 9 << "6" << 5;
    QTest::newRow("squelch 7 outside") << 9 << "7" << -1;
    QTest::newRow("squelch lowest int") << 9 << "-2147483648" << -1;
    QTest::newRow("p_max 4") << 10 << "4" << 3;
    QTest::newRow("p_min 5 outside") << 11 << "5" << -1;
    QTest::newRow("sw 25") << 13 << "25" << 1;
    QTest::newRow("sw 12,5") << 13 << "12,5" << 0;
    QTest::newRow("sw blanks before 25") << 13 << "  25" << 0;
    QTest::newRow("sw none") << 13 << "Нет" << 0;
    QTest::newRow("tx_off rssi") << 15 << "RSSI" << 1;
    QTest::newRow("tx_off other case") << 15 << "rssi" << -1;
    QTest::newRow("time 15") << 16 << "15" << 15;
    QTest::newRow("time 16 outside") << 16 << "16" << -1;
}

void ListChoiceTest::choice()
{
    QFETCH(int, column);
    QFETCH(QString, text);
    QFETCH(int, item);
    const std::optional<int> chosen = ListChoice::choose(ListChoice::listFor(column), text);
    QCOMPARE(chosen.value_or(-1), item);
    if (chosen)
        QVERIFY(*chosen < ListChoice::items(ListChoice::listFor(column)).size());
}

void ListChoiceTest::notAWholeNumber_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    QTest::newRow("tone letters") << 7 << "abc";
    QTest::newRow("squelch none") << 9 << "Нет";
    QTest::newRow("p_max empty") << 10 << "";
    QTest::newRow("time lower-case none") << 16 << "нет";
}

void ListChoiceTest::notAWholeNumber()
{
    QFETCH(int, column);
    QFETCH(QString, text);
    try {
        ListChoice::choose(ListChoice::listFor(column), text);
        QFAIL("no conversion error");
    } catch (const PlatformError &error) {
        QCOMPARE(error.text(), QStringLiteral("'%1' is not a valid integer value").arg(text));
    }
}

QTEST_APPLESS_MAIN(ListChoiceTest)
#include "tst_listchoice.moc"
