// The channel table as CSV: the reader and writer of the format, the forms a
// spreadsheet program leaves the cells in, the refusals with their line and
// column, and the round trip in both encodings.
#include "checkfixtures.h"
#include "csvfixtures.h"
#include "exchange/csvtext.h"

#include <QtTest>

using namespace CheckFixtures;
using CsvFixtures::importedTable;
using CsvFixtures::refusalText;
using CsvFixtures::rowsOf;

namespace {

// The export's first line.
const QByteArray kHeader = "№ кан.; Rx, кГц; Tx, кГц;CTC_Rx;CTC_Tx;DCS_Rx;DCS_Tx;Тон_Rx;Тон_Tx;  ШП;P_max;P_min;"
                           "Скан.;  SW;Id_Тон;Tx_Off;Время;Акт\r\n";
// One channel row as the template makes it, in the file.
const QByteArray kTemplateRow = "1;144000;144000;Нет;Нет;Нет;Нет;Нет;Нет;1;4;1;+;25;;Норм;Нет;+\r\n";

QString records(const CsvText::Parsed &parsed)
{
    QStringList out;
    for (const CsvText::Record &record : parsed.records)
        out << QString::number(record.line) + u':' + record.fields.join(u'|');
    if (parsed.fault)
        out << QStringLiteral("fault %1.%2: %3")
                   .arg(parsed.fault->line)
                   .arg(parsed.fault->field)
                   .arg(parsed.fault->what);
    return out.join(u'\n');
}

} // namespace

class TestChannelCsv : public QObject
{
    Q_OBJECT

private slots:
    // Records and fields as the reader takes them, with the line each begins on.
    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("records");
        const auto row = [](const char *tag, const char *text, const char *records) {
            QTest::newRow(tag) << QString(text) << QString(records);
        };
        row("plain", "a;b\r\nc;d\r\n", "1:a|b\n2:c|d");
        row("no line end at the end", "a;b", "1:a|b");
        row("LF and lone CR", "a\nb\rc", "1:a\n2:b\n3:c");
        row("empty fields", ";a;\r\n", "1:|a|");
        row("quoted separator and quote", "\"a;\"\"b\"\"\";c", "1:a;\"b\"|c");
        row("quoted line break spans lines", "\"a\r\nb\";c\r\nd\r\n", "1:a\r\nb|c\n3:d");
        row("quote inside an unquoted field", "a\"b;c", "1:a\"b|c");
        row("empty lines at the end dropped", "a\r\n\r\n\r\n", "1:a");
        row("empty line inside kept", "a\r\n\r\nb", "1:a\n2:\n3:b");
        row("unclosed quote", "a\r\nb;\"c\r\nd;e\r\n",
            "1:a\nfault 2.2: кавычка, открытая здесь, не закрыта до конца файла");
        row("text after a closing quote", "a;\"b\"c;d",
            "fault 1.2: после закрывающей кавычки стоит \"c\", а не \";\" или конец строки");
        row("more records than allowed", "a\nb\nc\nd", "1:a\n2:b\n3:c\nfault 4.1: в файле больше 3 строк");
    }
    void parse()
    {
        QFETCH(QString, text);
        QFETCH(QString, records);
        QCOMPARE(::records(CsvText::parse(text, 3)), records);
    }

    // What a spreadsheet program writes for a cell, and the cell it stands for.
    void cellText_data()
    {
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("cell");
        const auto row = [](const char *tag, const char *column, const char *field, const char *cell) {
            QTest::newRow(tag) << QString(column) << QString(field) << QString(cell);
        };
        row("DCS code lost its zero", "DcsRx", "23", "023");
        row("DCS code not in the list", "DcsRx", "999", "999");
        row("tone lost its decimal", "CtcRx", "67", "67,0");
        row("tone with a decimal point", "CtcTx", "254.1", "254,1");
        row("tone none in lower case", "CtcRx", "нет", "Нет");
        row("whole frequency", "Rx", "146500", "146500,00");
        row("frequency with one decimal", "Tx", "144012,5", "144012,50");
        row("frequency with a decimal point", "Rx", "144006.25", "144006,25");
        row("frequency with a leading zero and blanks", "Rx", " 0146500 ", "146500,00");
        row("frequency of three decimals left to the check", "Rx", "146500,125", "146500,125");
        row("repeater mark", "Tx", "РЕТР_ПР", "РЕТР_ПР");
        row("width with two decimals", "Sw", "12,50", "12,5");
        row("power as a decimal", "PMax", "4,0", "4");
        row("time with blanks", "Time", " 5 ", "5");
        row("Tx_Off in other case", "TxOff", "rssi", "RSSI");
        row("Tx_Off unknown", "TxOff", "Выкл", "Выкл");
        row("channel number as it is", "Number", "01", "01");
    }
    void cellText()
    {
        QFETCH(QString, column);
        QFETCH(QString, field);
        QFETCH(QString, cell);
        QCOMPARE(ChannelCsv::cellText(columnNamed(column), field), cell);
    }

    // A whole file as a spreadsheet program saves it again: the table it stands for.
    void spreadsheetFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<TextEncoding>("encoding");
        const QString templateRow = "1|144000,00|144000,00|Нет|Нет|Нет|Нет|Нет|Нет|1|4|1|+|25|-|Норм|Нет|+";
        QTest::newRow("the export, UTF-8 with mark")
            << QByteArray("\xEF\xBB\xBF") + kHeader + kTemplateRow << QStringList{templateRow} << TextEncoding::Utf8;
        QTest::newRow("UTF-8 without mark, LF, trimmed headers")
            << QByteArray(QString::fromUtf8(kHeader).replace(" Rx", "Rx").replace("  ", "").toUtf8() + kTemplateRow)
                   .replace("\r\n", "\n")
            << QStringList{templateRow} << TextEncoding::Utf8;
        QTest::newRow("Windows-1251") << Windows1251::encode(QString::fromUtf8(kHeader + kTemplateRow))
                                      << QStringList{templateRow} << TextEncoding::Windows1251;
        QTest::newRow("header of a file load, capital Ц")
            << QString::fromUtf8(kHeader + kTemplateRow).replace("Tx, кГц", "Tx, кГЦ").toUtf8()
            << QStringList{templateRow} << TextEncoding::Utf8;
        QTest::newRow("numbers as a spreadsheet leaves them, empty columns after the table")
            << kHeader + "7;145500;144900,5;67;254.1;23;754;10;Нет;6;4;1;;12,5;+;RSSI;15;;;;\r\n"
            << QStringList{"7|145500,00|144900,50|67,0|254,1|023|754|10|Нет|6|4|1|-|12,5|+|RSSI|15|-"}
            << TextEncoding::Utf8;
        QTest::newRow("boxes in other words") << kHeader + "1;1;1;;;;;;;;;;да;;1;;;нет\r\n"
                                              << QStringList{"1|1,00|1,00||||||||||+||+|||-"} << TextEncoding::Utf8;
        QTest::newRow("quoted cells over two lines")
            << kHeader + "1;144000;144000;Нет;Нет;Нет;Нет;Нет;Нет;1;4;1;+;25;;\"a;\"\"b\"\"\r\nc\";Нет;+\r\n"
            << QStringList{"1|144000,00|144000,00|Нет|Нет|Нет|Нет|Нет|Нет|1|4|1|+|25|-|a;\"b\"\r\nc|Нет|+"}
            << TextEncoding::Utf8;
    }
    void spreadsheetFile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, rows);
        QFETCH(TextEncoding, encoding);
        const auto result = ChannelCsv::decode(bytes);
        QCOMPARE(rowsOf(importedTable(result)), rows);
        QCOMPARE(importedTable(result).cell(1, 0), ChannelTable::headerTexts()[1]);
        QCOMPARE(std::get<ChannelCsv::Imported>(result).encoding, encoding);
    }

    // A file that is not a channel table: refused with its first failing
    // line and column.
    void refused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("empty") << QByteArray()
                               << "Файл CSV не принят: строка 1: файл пуст, а в первой строке должны стоять заголовки "
                                  "столбцов таблицы каналов.";
        QTest::newRow("another table") << QByteArray("Порт;Серийный номер;Id\r\nCOM3;0A0001;0101\r\n")
                                       << "Файл CSV не принят: строка 1, столбец 4 (\"CTC_Rx\"): в строке заголовков 3 "
                                          "полей, а в таблице каналов 18 столбцов.";
        QTest::newRow("header that does not match")
            << QString::fromUtf8(kHeader + kTemplateRow).replace(" Tx, кГц", "Tx").toUtf8()
            << "Файл CSV не принят: строка 1, столбец 3 (\"Tx, кГц\"): заголовок \"Tx\", а должен быть \"Tx, кГц\" - "
               "это не таблица каналов.";
        QTest::newRow("comma separated") << QString::fromUtf8(kHeader).replace(';', ',').toUtf8()
                                         << "Файл CSV не принят: строка 1, столбец 2 (\"Rx, кГц\"): в строке "
                                            "заголовков 1 полей, а в таблице каналов 18 столбцов.";
        QTest::newRow("header only") << kHeader
                                     << "Файл CSV не принят: строка 2: в файле нет ни одной строки каналов, только "
                                        "заголовки.";
        QTest::newRow("row with too few fields")
            << kHeader + kTemplateRow + "2;144000;144000;Нет;Нет;Нет;Нет;Нет;Нет;1;4;1\r\n"
            << "Файл CSV не принят: строка 3, столбец 13 (\"Скан.\"): в строке 12 полей, а в таблице каналов 18 "
               "столбцов.";
        QTest::newRow("empty line between rows")
            << kHeader + "\r\n" + kTemplateRow
            << "Файл CSV не принят: строка 2, столбец 2 (\"Rx, кГц\"): в строке 1 полей, а в таблице каналов 18 "
               "столбцов.";
        QTest::newRow("row with a field too many")
            << kHeader + kTemplateRow.chopped(2) + ";;x\r\n"
            << "Файл CSV не принят: строка 2, столбец 20: лишнее поле \"x\": в таблице каналов 18 столбцов.";
        QTest::newRow("box that is neither + nor empty")
            << kHeader + QByteArray(kTemplateRow).replace(";+;25", ";x;25")
            << "Файл CSV не принят: строка 2, столбец 13 (\"Скан.\"): \"x\" вместо \"+\" (отмечено) или пустого поля.";
        QTest::newRow("line after a quoted line break")
            << kHeader + "\"1\r\n\";1;1;;;;;;;;;;?;;;;;\r\n"
            << "Файл CSV не принят: строка 2, столбец 13 (\"Скан.\"): \"?\" вместо \"+\" (отмечено) или пустого поля.";
        QTest::newRow("unclosed quote") << kHeader + kTemplateRow + "2;\"144000\r\n"
                                        << "Файл CSV не принят: строка 3, столбец 2 (\"Rx, кГц\"): кавычка, открытая "
                                           "здесь, не закрыта до конца файла.";
        QTest::newRow("UTF-8 but for one line")
            << kHeader + kTemplateRow + Windows1251::encode(QString::fromUtf8(kTemplateRow))
            << "Файл CSV не принят: строка 3: строка не в кодировке UTF-8, в которой записан остальной файл; "
               "сохраните файл в одной кодировке.";
        QByteArray tooLong = kHeader;
        for (int row = 1; row <= ChannelFile::MaxChannelRows + 1; ++row)
            tooLong += kTemplateRow;
        QTest::newRow("more rows than a channel file holds")
            << tooLong << "Файл CSV не принят: строка 10001, столбец 1 (\"№ кан.\"): в файле больше 10000 строк.";
    }
    void refused()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, refusal);
        QCOMPARE(refusalText(ChannelCsv::decode(bytes)), refusal);
    }

    // Export and import give back the table, in either encoding.
    void roundTrip_data()
    {
        QTest::addColumn<ChannelCsv::Encoding>("encoding");
        QTest::addColumn<QByteArray>("start");
        QTest::newRow("UTF-8") << ChannelCsv::Encoding::Utf8 << QByteArray("\xEF\xBB\xBF") + kHeader;
        QTest::newRow("Windows-1251") << ChannelCsv::Encoding::Windows1251
                                      << Windows1251::encode(QString::fromUtf8(kHeader));
    }
    void roundTrip()
    {
        QFETCH(ChannelCsv::Encoding, encoding);
        QFETCH(QByteArray, start);
        const ChannelPlan state = CsvFixtures::stationFormState(12);
        const auto encoded = ChannelCsv::encode(state.table, encoding);
        const QByteArray bytes = std::get<QByteArray>(encoded);
        QVERIFY(bytes.startsWith(start));
        QCOMPARE(bytes.count("\r\n"), 13);
        QCOMPARE(rowsOf(importedTable(ChannelCsv::decode(bytes))), rowsOf(state.table));
    }

    // A row without boxes (after a station type change) goes out with clear
    // boxes and comes back with boxes; a cell the code page cannot hold is
    // refused with its place, and nothing is written.
    void exportCases_data()
    {
        QTest::addColumn<QStringList>("edits");
        QTest::addColumn<ChannelCsv::Encoding>("encoding");
        QTest::addColumn<QString>("outcome"); // the second channel row read back, or the refusal
        QTest::newRow("boxes detached") << QStringList{"detach"} << ChannelCsv::Encoding::Utf8
                                        << "2|145000|145000|Нет|Нет|Нет|Нет|Нет|Нет|1|4|1|-|25|-|Норм|Нет|-";
        QTest::newRow("sign in UTF-8") << QStringList{"c:TxOff:2=✓"} << ChannelCsv::Encoding::Utf8
                                       << "2|145000|145000|Нет|Нет|Нет|Нет|Нет|Нет|1|4|1|+|25|-|✓|Нет|+";
        QTest::newRow("sign in Windows-1251")
            << QStringList{"c:TxOff:2=✓"} << ChannelCsv::Encoding::Windows1251
            << "Таблица не записана в CSV: строка 3, столбец 16 (\"Tx_Off\"): Символ \"✓\" нельзя записать в "
               "кодировке Windows-1251.";
    }
    void exportCases()
    {
        QFETCH(QStringList, edits);
        QFETCH(ChannelCsv::Encoding, encoding);
        QFETCH(QString, outcome);
        ChannelPlan state = templatePlan(StationKind::Band144_174, 2);
        applyEdits(state, edits);
        QTemporaryDir dir;
        const QString path = dir.filePath("t.csv");
        if (const MaybeRefusal refusal = ChannelCsv::save(state.table, path, encoding)) {
            QCOMPARE(refusal->text, outcome);
            QVERIFY(!QFile::exists(path));
            return;
        }
        const ChannelTable back = importedTable(ChannelCsv::load(path));
        QCOMPARE(rowsOf(back).at(1), QString(outcome).replace("145000", "145000,00"));
    }

    void inserted_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QStringList>("numbers"); // column "№ кан." of the result, and the ticked Id_Тон boxes
        QTest::newRow("before the first row") << 1 << QStringList{"7", "8", "1", "2", "3", "Id_Тон: 2"};
        QTest::newRow("in the middle") << 3 << QStringList{"1", "2", "7", "8", "3", "Id_Тон: 4"};
        QTest::newRow("after the last row") << 4 << QStringList{"1", "2", "3", "7", "8", "Id_Тон: 5"};
        QTest::newRow("past the end appends") << 40 << QStringList{"1", "2", "3", "7", "8", "Id_Тон: 5"};
    }
    void inserted()
    {
        QFETCH(int, row);
        QFETCH(QStringList, numbers);
        const ChannelPlan target = templatePlan(StationKind::Band144_174, 3);
        ChannelPlan source = templatePlan(StationKind::Band144_174, 2);
        applyEdits(source, {"c:Number:1=7", "c:Number:2=8", "b:IdTone:2=1"});
        const ChannelTable result = ChannelCsv::inserted(target.table, row, source.table);
        QStringList got;
        QStringList ticked;
        for (int r = 1; r < result.rowCount(); ++r) {
            got << result.cell(ChannelTable::Number, r);
            if (result.isChecked(ChannelTable::IdTone, r))
                ticked << QString::number(r);
        }
        got << "Id_Тон: " + ticked.join(u',');
        QCOMPARE(got, numbers);
    }
};

QTEST_GUILESS_MAIN(TestChannelCsv)
#include "tst_channelcsv.moc"
