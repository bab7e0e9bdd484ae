#include "common/platformerror.h"
#include "table/channelplan.h"
#include "station/stationprofile.h"
#include "table/settingstext.h"
#include "table/templatebuilder.h"

#include <QTest>

class TemplateTest : public QObject
{
    Q_OBJECT
private slots:
    void frequencies_data();
    void frequencies();
    void defaultsOfEveryColumn();
    void refusals_data();
    void refusals();
    void notANumberChangesNothing_data();
    void notANumberChangesNothing();
    void zeroChannels();
    void unchecksTheData_data();
    void unchecksTheData();
    void newTemplateReplacesOldBoxes();
    void settingsKeysByName_data();
    void settingsKeysByName();
    void keyFilters_data();
    void keyFilters();
};

void TemplateTest::frequencies_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("count");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("step");
    QTest::addColumn<QStringList>("expected");
    const int b144 = int(StationKind::Band144_174);
    QTest::newRow("10 from 140000 by 1000") << b144 << "10"
                                            << "140000"
                                            << "1000" << QStringList{"140000", "141000", "142000", "143000", "144000",
                                                                     "145000", "146000", "147000", "148000", "149000"};
    QTest::newRow("clamped at the high limit")
        << b144 << "10"
        << "170000"
        << "1000" << QStringList{"170000", "171000", "172000", "173000", "174000",
                                 "174000", "174000", "174000", "174000", "174000"};
    QTest::newRow("fraction with a comma") << b144 << "3"
                                           << "140006,25"
                                           << "6,25" << QStringList{"140006,25", "140012,5", "140018,75"};
    QTest::newRow("step 0") << b144 << "3"
                            << "150000"
                            << "0" << QStringList{"150000", "150000", "150000"};
    QTest::newRow("start at the high limit") << b144 << "2"
                                             << "174000"
                                             << "12,5" << QStringList{"174000", "174000"};
    QTest::newRow("30-60") << int(StationKind::Band30_60) << "2"
                           << "30000"
                           << "12,5" << QStringList{"30000", "30012,5"};
    QTest::newRow("400-486 high end") << int(StationKind::Band400_486) << "2"
                                      << "485993,75"
                                      << "6,25" << QStringList{"485993,75", "486000"};
    QTest::newRow("two-digit count 99 ends clamped") << b144 << "99"
                                                     << "173000"
                                                     << "0" << QStringList(99, "173000");
}

void TemplateTest::frequencies()
{
    QFETCH(int, kind);
    QFETCH(QString, count);
    QFETCH(QString, start);
    QFETCH(QString, step);
    QFETCH(QStringList, expected);
    const StationProfile &p = StationProfiles::get(StationKind(kind));
    ChannelTable table;
    QStringList settings;
    QVERIFY(!TemplateBuilder::build({count, start, step}, p.lowKHz, p.highKHz, table, settings));
    QCOMPARE(table.channelCount(), expected.size());
    for (int r = 1; r <= table.channelCount(); ++r) {
        QCOMPARE(table.cell(ChannelTable::Rx, r), expected.at(r - 1));
        QCOMPARE(table.cell(ChannelTable::Tx, r), expected.at(r - 1));
    }
}

void TemplateTest::defaultsOfEveryColumn()
{
    ChannelTable table;
    QStringList settings{"old"};
    QVERIFY(!TemplateBuilder::build({"3", "140000", "1000"}, 140000, 174000, table, settings));
    QCOMPARE(table.rowCount(), 4);
    for (int c = 0; c < ChannelTable::ColumnCount; ++c)
        QCOMPARE(table.cell(c, 0), ChannelTable::headerTexts()[c]);
    const QStringList expected{"2", "",  "",  "Нет", "Нет", "Нет", "Нет",  "Нет", "Нет",
                               "1", "4", "1", "",    "25",  "",    "Норм", "Нет", ""};
    for (int c : {0, 3, 4, 5, 6, 7, 8, 9, 10, 11, 13, 15, 16})
        QCOMPARE(table.cell(c, 2), expected.at(c));
    for (int r = 1; r <= 3; ++r) {
        QVERIFY(table.hasBoxes(r));
        QVERIFY(table.isChecked(ChannelTable::Scan, r));
        QVERIFY(!table.isChecked(ChannelTable::IdTone, r));
        QVERIFY(table.isChecked(ChannelTable::Active, r));
    }
    QCOMPARE(table.checkBoxRowCount(), 4);
    QCOMPARE(settings, SettingsText::templateLines());
    QCOMPARE(settings.size(), 26);
    QCOMPARE(settings.first(), QStringLiteral("[Общие установки]"));
    QCOMPARE(settings.at(9), QStringLiteral("Тон8=1989"));
    QCOMPARE(settings.last(), QStringLiteral("СК=1"));
}

void TemplateTest::refusals_data()
{
    QTest::addColumn<QString>("count");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("step");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("errorSound");
    const QString count = "Вы не ввели количество каналов или ввели слишком много";
    QTest::newRow("empty count") << ""
                                 << "140000"
                                 << "1000" << count << true;
    QTest::newRow("three-digit count") << "100"
                                       << "140000"
                                       << "1000" << count << true;
    QTest::newRow("count refused before a bad start") << "100"
                                                      << "x"
                                                      << "1000" << count << true;
    QTest::newRow("start off the grid") << "10"
                                        << "140006,3"
                                        << "1000"
                                        << "Частота должна быть кратна 6,25кГц" << true;
    QTest::newRow("start 3 kHz") << "10"
                                 << "140003"
                                 << "1000"
                                 << "Частота должна быть кратна 6,25кГц" << true;
    QTest::newRow("step off the grid") << "10"
                                       << "140000"
                                       << "1001"
                                       << "Шаг смещения должен быть кратен 6,25кГц" << true;
    QTest::newRow("start checked before step") << "10"
                                               << "140001"
                                               << "1001"
                                               << "Частота должна быть кратна 6,25кГц" << true;
    const QString band = "Введенная частота не соответствует частотному диапазону, частотный диапазон 140-174 МГц";
    QTest::newRow("below the band") << "10"
                                    << "100000"
                                    << "1000" << band << false;
    QTest::newRow("above the band") << "10"
                                    << "174006,25"
                                    << "1000" << band << false;
    QTest::newRow("band checked after step") << "10"
                                             << "100000"
                                             << "1001"
                                             << "Шаг смещения должен быть кратен 6,25кГц" << true;
}

void TemplateTest::refusals()
{
    QFETCH(QString, count);
    QFETCH(QString, start);
    QFETCH(QString, step);
    QFETCH(QString, message);
    QFETCH(bool, errorSound);
    ChannelTable table;
    table.setCell(ChannelTable::Rx, 1, "keep");
    QStringList settings{"keep"};
    const auto refusal = TemplateBuilder::build({count, start, step}, 140000, 174000, table, settings);
    QVERIFY(refusal);
    QCOMPARE(refusal->text, message);
    QCOMPARE(refusal->sound, errorSound ? Sound::Error : Sound::None);
    QCOMPARE(table.rowCount(), 11);
    QCOMPARE(table.cell(ChannelTable::Rx, 1), QStringLiteral("keep"));
    QCOMPARE(settings, QStringList{"keep"});
}

void TemplateTest::notANumberChangesNothing_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("step");
    QTest::addColumn<QString>("named");
    QTest::newRow("empty start") << ""
                                 << "1000"
                                 << "''";
    QTest::newRow("two commas") << "1,,5"
                                << "1000"
                                << "'1,,5'";
    QTest::newRow("empty step") << "140000"
                                << ""
                                << "''";
}

void TemplateTest::notANumberChangesNothing()
{
    QFETCH(QString, start);
    QFETCH(QString, step);
    QFETCH(QString, named);
    ChannelTable table;
    QStringList settings{"keep"};
    try {
        TemplateBuilder::build({"5", start, step}, 140000, 174000, table, settings);
        QFAIL("no conversion error");
    } catch (const PlatformError &e) {
        QVERIFY2(e.text().startsWith(named), qPrintable(e.text()));
    }
    QCOMPARE(table.rowCount(), 11);
    QCOMPARE(settings, QStringList{"keep"});
}

// On the program's data the template takes the selected station's band and
// leaves the data unchecked, whether it is built, refused or fails.
void TemplateTest::unchecksTheData_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("message");
    QTest::newRow("built") << int(StationKind::Band144_174) << "140000"
                           << "";
    QTest::newRow("outside the station's band")
        << int(StationKind::Band30_60) << "140000"
        << "Введенная частота не соответствует частотному диапазону, частотный диапазон 30-60 МГц";
    QTest::newRow("not a number") << int(StationKind::Band144_174) << "x"
                                  << "'x' is not a valid floating point value";
}

void TemplateTest::unchecksTheData()
{
    QFETCH(int, kind);
    QFETCH(QString, start);
    QFETCH(QString, message);
    ChannelPlan state;
    state.selectStation(StationKind(kind));
    QString shown;
    try {
        const MaybeRefusal refusal = TemplateBuilder::build({"3", start, "1000"}, state);
        shown = refusal ? refusal->text : QString();
    } catch (const PlatformError &e) {
        shown = e.text();
    }
    QCOMPARE(shown, message);
    QCOMPARE(state.table.channelCount(), message.isEmpty() ? 3 : 10);
}

void TemplateTest::zeroChannels()
{
    ChannelTable table;
    QStringList settings;
    QVERIFY(!TemplateBuilder::build({"00", "140000", "1000"}, 140000, 174000, table, settings));
    QCOMPARE(table.rowCount(), 1);
    QCOMPARE(table.cell(ChannelTable::Number, 0), QStringLiteral("№ кан."));
    QCOMPARE(settings.size(), 26);
}

void TemplateTest::newTemplateReplacesOldBoxes()
{
    ChannelTable table;
    QStringList settings;
    QVERIFY(!TemplateBuilder::build({"5", "140000", "1000"}, 140000, 174000, table, settings));
    table.setChecked(ChannelTable::IdTone, 2, true);
    QVERIFY(!TemplateBuilder::build({"3", "150000", "0"}, 140000, 174000, table, settings));
    QCOMPARE(table.rowCount(), 4);
    QVERIFY(!table.isChecked(ChannelTable::IdTone, 2));
    QCOMPARE(table.cell(ChannelTable::Rx, 3), QStringLiteral("150000"));
}

// Every user of the settings keys names them through the one table: a key
// must find its own row, whatever the table's order.
void TemplateTest::settingsKeysByName_data()
{
    using K = SettingsText::Key;
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("templateLine");
    QTest::newRow("serial") << int(K::Serial) << "Серийный номер"
                            << "";
    QTest::newRow("Id") << int(K::Id) << "Id_номер"
                        << "Id_номер=0001";
    QTest::newRow("tone 1") << int(SettingsText::tone(1)) << "Тон1"
                            << "Тон1=700";
    QTest::newRow("tone 10") << int(SettingsText::tone(10)) << "Тон10"
                             << "Тон10=2400";
    QTest::newRow("P_4") << int(K::P4) << "P_4"
                         << "P_4=40";
    QTest::newRow("volume") << int(K::Volume) << "Громкость"
                            << "Громкость=8";
    QTest::newRow("ФВ") << int(K::Fv) << "ФВ"
                        << "ФВ=00";
    QTest::newRow("ВУ") << int(K::Vu) << "ВУ"
                        << "ВУ=-";
    QTest::newRow("special channel") << int(K::SpecialChannel) << "СК"
                                     << "СК=1";
}

void TemplateTest::settingsKeysByName()
{
    QFETCH(int, key);
    QFETCH(QString, name);
    QFETCH(QString, templateLine);
    const auto k = SettingsText::Key(key);
    QCOMPARE(SettingsText::spec(k).key, k);
    QCOMPARE(SettingsText::name(k), name);
    const QStringList lines = SettingsText::templateLines();
    QCOMPARE(lines.contains(templateLine), !templateLine.isEmpty());
    QVERIFY(templateLine.isEmpty() || templateLine == SettingsText::line(k, *SettingsText::spec(k).templateValue));
}

void TemplateTest::keyFilters_data()
{
    QTest::addColumn<QChar>("key");
    QTest::addColumn<bool>("count");
    QTest::addColumn<bool>("frequency");
    QTest::newRow("digit") << QChar('7') << true << true;
    QTest::newRow("backspace") << QChar(8) << true << true;
    QTest::newRow("comma") << QChar(',') << false << true;
    QTest::newRow("point") << QChar('.') << false << false;
    QTest::newRow("enter") << QChar(13) << false << false;
    QTest::newRow("letter") << QChar(u'ф') << false << false;
    QTest::newRow("minus") << QChar('-') << false << false;
}

void TemplateTest::keyFilters()
{
    QFETCH(QChar, key);
    QFETCH(bool, count);
    QFETCH(bool, frequency);
    const auto c = TemplateBuilder::filterCountKey(key);
    QCOMPARE(!c.has_value(), count);
    if (c) {
        QCOMPARE(c->text, QStringLiteral("Вводите только цифры от 0 до 9"));
        QCOMPARE(c->sound, Sound::Default);
    }
    const auto f = TemplateBuilder::filterFrequencyKey(key);
    QCOMPARE(!f.has_value(), frequency);
    if (f)
        QCOMPARE(f->text, QStringLiteral("Вводите только цифры от 0 до 9 и запятую"));
}

QTEST_GUILESS_MAIN(TemplateTest)
#include "tst_template.moc"
