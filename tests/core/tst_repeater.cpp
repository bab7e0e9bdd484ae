#include "common/platformerror.h"
#include "image/channelrecord.h"
#include "repeater/repeaterassignment.h"
#include "table/channeltable.h"
#include "table/templatebuilder.h"

#include "support/checkfixtures.h"

#include <QtTest>

using RepeaterAssignment::Mode;

namespace {

const QString kEmpty = QStringLiteral("Вы не указали номер канала !!!");
const QString kNotFound = QStringLiteral("Такого номера канала нет в таблице !!!");

// Four channels from 140000 kHz in steps of 1000 kHz, row 3 transmitting on
// 150000 so that the two sides of a row differ, and the image of a passed
// check: four records numbered 1 to 4.
// What a press works on: the table, the image it searches and the text the
// last marking replaced.
struct Panel
{
    ChannelTable table;
    RadioImage image;
    QString savedRepeaterText;

    RepeaterAssignment::Outcome write(const QString &field, Mode mode)
    {
        return RepeaterAssignment::write(table, savedRepeaterText, image, field, mode);
    }
};

Panel checkedState()
{
    Panel state;
    QStringList settingsLines;
    if (TemplateBuilder::build({QStringLiteral("4"), QStringLiteral("140000"), QStringLiteral("1000")}, 140000, 174000,
                               state.table, settingsLines))
        qFatal("template refused");
    state.table.setCell(ChannelTable::Tx, 3, QStringLiteral("150000"));
    state.image.at(StationLayout::Name::ChannelCount) = 4;
    for (int k = 0; k < 4; ++k)
        state.image.records[std::size_t(k)][ChannelRecord::Number] = std::uint8_t(k + 1);
    return state;
}

// Edits before the presses:
//   n:K=V  record K (1-based) carries channel number V   count:N  the image's channel count
//   c:COLUMN:ROW=TEXT  a cell
void applyEdit(Panel &state, const QString &edit)
{
    const QString kind = edit.section(u':', 0, 0);
    const QString rest = edit.section(u':', 1);
    if (kind == QLatin1String("n")) {
        const int k = rest.section(u'=', 0, 0).toInt();
        state.image.records[std::size_t(k - 1)][ChannelRecord::Number] = std::uint8_t(rest.section(u'=', 1).toInt());
    } else if (kind == QLatin1String("count")) {
        state.image.at(StationLayout::Name::ChannelCount) = std::uint8_t(rest.toInt());
    } else if (kind == QLatin1String("c")) {
        const int column = CheckFixtures::columnNamed(rest.section(u':', 0, 0));
        const QString rowAndValue = rest.section(u':', 1);
        state.table.setCell(column, rowAndValue.section(u'=', 0, 0).toInt(), rowAndValue.section(u'=', 1));
    } else {
        qFatal("unknown edit %s", qPrintable(edit));
    }
}

// "rx|tx|scan" for every channel row, scan 1 or 0.
QStringList rows(const ChannelTable &table)
{
    QStringList out;
    for (int r = 1; r <= table.channelCount(); ++r) {
        const QString scan = table.isChecked(ChannelTable::Scan, r) ? QStringLiteral("1") : QStringLiteral("0");
        out << table.cell(ChannelTable::Rx, r) + u'|' + table.cell(ChannelTable::Tx, r) + u'|' + scan;
    }
    return out;
}

} // namespace

class TestRepeater : public QObject
{
    Q_OBJECT

private slots:
    void channelByte_data();
    void channelByte();
    void conversionError_data();
    void conversionError();
    void presses_data();
    void presses();
    void findRecord_data();
    void findRecord();
};

void TestRepeater::channelByte_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("byte");
    QTest::newRow("plain") << "3" << 3;
    QTest::newRow("leading zero") << "03" << 3;
    QTest::newRow("many leading zeros") << "0000000000000000000000003" << 3;
    QTest::newRow("257 wraps to 1") << "257" << 1;
    QTest::newRow("256 wraps to 0") << "256" << 0;
    QTest::newRow("255") << "255" << 255;
    QTest::newRow("past 32 bits") << "4294967297" << 1;
    QTest::newRow("past int") << "2147483648" << 0;
    QTest::newRow("twenty nines") << "99999999999999999999" << 255;
    QTest::newRow("blanks around") << " 7 " << 7;
    QTest::newRow("negative as a byte") << "-1" << 255;
    QTest::newRow("hexadecimal") << "$10" << 16;
}

void TestRepeater::channelByte()
{
    QFETCH(QString, field);
    QFETCH(int, byte);
    QCOMPARE(int(RepeaterAssignment::channelByte(field)), byte);
}

void TestRepeater::conversionError_data()
{
    QTest::addColumn<QString>("field");
    QTest::newRow("letters") << "abc";
    QTest::newRow("digit and letter") << "1a";
    QTest::newRow("blank only") << " ";
    QTest::newRow("decimal") << "3,0";
}

void TestRepeater::conversionError()
{
    QFETCH(QString, field);
    Panel state = checkedState();
    const QStringList before = rows(state.table);
    try {
        state.write(field, Mode::Receive);
        QFAIL("no conversion error");
    } catch (const PlatformError &error) {
        QCOMPARE(error.text(), QStringLiteral("'%1' is not a valid integer value").arg(field));
    }
    QCOMPARE(rows(state.table), before);
    QCOMPARE(state.savedRepeaterText, QString());
}

void TestRepeater::presses_data()
{
    QTest::addColumn<QStringList>("edits");
    QTest::addColumn<QStringList>("presses");  // R or T, then the field text
    QTest::addColumn<QStringList>("messages"); // one per press, empty when it passed
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("saved");

    const QString p = "РЕТР_ПП";
    const QString r = "РЕТР_ПР";
    const QStringList untouched{"140000|140000|1", "141000|141000|1", "142000|150000|1", "143000|143000|1"};
    const auto with = [&](int row, const QString &value) {
        QStringList out = untouched;
        out[row - 1] = value;
        return out;
    };

    QTest::newRow("transmit then receive gives the frequency back")
        << QStringList{} << QStringList{"T3", "R3"} << QStringList{"", ""} << with(3, "142000|" + r + "|0") << "150000";
    QTest::newRow("transmit twice saves the marker itself")
        << QStringList{} << QStringList{"T3", "T3"} << QStringList{"", ""} << with(3, p + "|150000|0") << p;
    QTest::newRow("a second channel keeps the first marker")
        << QStringList{} << QStringList{"R3", "T1"} << QStringList{"", ""}
        << QStringList{p + "|140000|0", "141000|141000|1", "142000|" + r + "|0", "143000|143000|1"} << "140000";
    // One saved text for the whole program: switching the first channel after
    // marking another gives it the other channel's frequency.
    QTest::newRow("switching back after another channel takes its text")
        << QStringList{} << QStringList{"R3", "R1", "T3"} << QStringList{"", "", ""}
        << QStringList{"140000|" + r + "|0", "141000|141000|1", p + "|140000|0", "143000|143000|1"} << "142000";
    QTest::newRow("zero not found") << QStringList{} << QStringList{"T0"} << QStringList{kNotFound} << untouched << "";
    QTest::newRow("refusal keeps an earlier saved text")
        << QStringList{} << QStringList{"R3", "T9", "T"} << QStringList{"", kNotFound, kEmpty}
        << with(3, "142000|" + r + "|0") << "150000";
    QTest::newRow("the first record with the number wins")
        << QStringList{"n:2=3"} << QStringList{"R3"} << QStringList{""} << with(2, "141000|" + r + "|0") << "141000";
    QTest::newRow("the image is searched, not the table")
        << QStringList{"c:Number:3=9"} << QStringList{"R9", "R3"} << QStringList{kNotFound, ""}
        << with(3, "142000|" + r + "|0") << "150000";
    QTest::newRow("records past the channel count are not searched")
        << QStringList{"count:2"} << QStringList{"R3"} << QStringList{kNotFound} << untouched << "";
}

void TestRepeater::presses()
{
    QFETCH(QStringList, edits);
    QFETCH(QStringList, presses);
    QFETCH(QStringList, messages);
    QFETCH(QStringList, rows);
    QFETCH(QString, saved);

    Panel state = checkedState();
    for (const QString &edit : edits)
        applyEdit(state, edit);
    const RadioImage image = state.image;

    for (int i = 0; i < presses.size(); ++i) {
        const QString &press = presses.at(i);
        const auto outcome = state.write(press.mid(1), press.at(0) == u'T' ? Mode::Transmit : Mode::Receive);
        if (messages.at(i).isEmpty()) {
            QVERIFY2(!outcome.refusal, qPrintable(press + ": " + outcome.refusal.value_or(Refusal{}).text));
            QVERIFY(outcome.row >= 1);
        } else {
            QVERIFY2(outcome.refusal, qPrintable(press));
            QCOMPARE(*outcome.refusal, Refusal{messages.at(i)});
            QCOMPARE(outcome.row, 0);
        }
    }
    QCOMPARE(::rows(state.table), rows);
    QCOMPARE(state.savedRepeaterText, saved);
    // Only the table is marked: further presses search the same channels.
    QVERIFY(state.image.records == image.records);
    QVERIFY(state.image.header == image.header);
}

void TestRepeater::findRecord_data()
{
    QTest::addColumn<QList<int>>("numbers");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("position");
    QTest::newRow("first") << QList<int>{5, 3, 7} << 3 << 5 << 1;
    QTest::newRow("last") << QList<int>{5, 3, 7} << 3 << 7 << 3;
    QTest::newRow("first of two") << QList<int>{5, 3, 3} << 3 << 3 << 2;
    QTest::newRow("missing") << QList<int>{5, 3, 7} << 3 << 4 << 0;
    QTest::newRow("beyond the count") << QList<int>{5, 3, 7} << 2 << 7 << 0;
    QTest::newRow("no channels, zero bytes") << QList<int>{} << 0 << 0 << 0;
    QTest::newRow("number zero") << QList<int>{1, 0} << 2 << 0 << 2;
    QList<int> full(99, 1);
    full[98] = 99;
    QTest::newRow("the 99th record") << full << 99 << 99 << 99;
    QTest::newRow("a count past 99 stops at 99") << full << 200 << 0 << 0;
}

void TestRepeater::findRecord()
{
    QFETCH(QList<int>, numbers);
    QFETCH(int, count);
    QFETCH(int, number);
    QFETCH(int, position);
    RadioImage image;
    image.at(StationLayout::Name::ChannelCount) = std::uint8_t(count);
    for (int k = 0; k < numbers.size(); ++k)
        image.records[std::size_t(k)][ChannelRecord::Number] = std::uint8_t(numbers.at(k));
    QCOMPARE(RepeaterAssignment::findRecord(image, std::uint8_t(number)), position);
}

QTEST_APPLESS_MAIN(TestRepeater)
#include "tst_repeater.moc"
