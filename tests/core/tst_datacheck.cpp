#include "check/datacheck.h"
#include "common/platformerror.h"
#include "image/radioimage.h"
#include "state/appstate.h"
#include "table/templatebuilder.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kSuccess = QStringLiteral("Все данные введены верно.");

// A table of `channels` rows from the band's low limit + 4000 kHz in steps of
// 1000 kHz, with the template's cells, boxes and settings lines.
AppState templateState(StationKind kind = StationKind::Band144_174, int channels = 3)
{
    AppState state;
    state.selectStation(kind);
    const StationProfile &p = state.profile;
    const auto refusal = TemplateBuilder::build({QString::number(channels), QString::number(p.lowKHz + 4000),
                                                 QStringLiteral("1000")},
                                                p.lowKHz, p.highKHz, state.table, state.settingsLines);
    if (refusal)
        qFatal("template refused: %s", qPrintable(refusal->text));
    return state;
}

int settingLine(const QStringList &lines, const QString &key)
{
    for (int i = 0; i < lines.size(); ++i)
        if (lines.at(i).contains(u'=') && lines.at(i).section(u'=', 0, 0) == key)
            return i;
    return -1;
}

// One edit of the template's data:
//   s:KEY=VALUE  set a settings line (appended when missing)   d:KEY  delete it
//   add:LINE     append a raw line   top:LINE  insert a line right after the section line
//   line0:LINE   replace the section line   clear  no settings lines at all
//   c:COL:ROW=TEXT  a cell   b:COL:ROW=0|1  a check box   rows:N  N channel rows   detach
void applyEdit(AppState &state, const QString &edit)
{
    const QString kind = edit.section(u':', 0, 0);
    const QString rest = edit.section(u':', 1);
    QStringList &lines = state.settingsLines;
    if (kind == QLatin1String("s") || kind == QLatin1String("d")) {
        const QString key = rest.section(u'=', 0, 0);
        const int at = settingLine(lines, key);
        if (kind == QLatin1String("d"))
            lines.removeAt(at);
        else if (at < 0)
            lines.append(rest);
        else
            lines[at] = rest;
    } else if (kind == QLatin1String("add")) {
        lines.append(rest);
    } else if (kind == QLatin1String("top")) {
        lines.insert(1, rest);
    } else if (kind == QLatin1String("line0")) {
        lines[0] = rest;
    } else if (kind == QLatin1String("clear")) {
        lines.clear();
    } else if (kind == QLatin1String("c") || kind == QLatin1String("b")) {
        const int column = rest.section(u':', 0, 0).toInt();
        const QString rowAndValue = rest.section(u':', 1);
        const int row = rowAndValue.section(u'=', 0, 0).toInt();
        const QString value = rowAndValue.section(u'=', 1);
        if (kind == QLatin1String("c"))
            state.table.setCell(column, row, value);
        else
            state.table.setChecked(column, row, value == QLatin1String("1"));
    } else if (kind == QLatin1String("rows")) {
        state.table.setRowCount(rest.toInt() + 1);
    } else if (kind == QLatin1String("detach")) {
        state.table.detachCheckBoxes();
    } else {
        qFatal("unknown edit %s", qPrintable(edit));
    }
}

void applyEdits(AppState &state, const QStringList &edits)
{
    for (const QString &edit : edits)
        applyEdit(state, edit);
}

QByteArray recordHex(const RadioImage &image, int index)
{
    const auto &record = image.records[std::size_t(index)];
    return QByteArray(reinterpret_cast<const char *>(record.data()), RadioImage::RecordSize).toHex(' ').toUpper();
}

// "BE01 11D881" -> "BE 01 11 D8 81"
QByteArray spaced(const char *hex)
{
    return QByteArray::fromHex(hex).toHex(' ').toUpper();
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<missing>");
    return file.readAll();
}

} // namespace

class TestDataCheck : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void refusals_data();
    void refusals();
    void conversionErrors_data();
    void conversionErrors();

    void passesTheTemplate();
    void codedSettings_data();
    void codedSettings();
    void codedRecords_data();
    void codedRecords();
    void workedChannelRecords();
    void tableSize_data();
    void tableSize();
    void imageAsFarAsBuiltOnRefusal();

    void tempFileIsWindows1251WithCrLf();
    void tempFileIsRewrittenAndItsFolderMade();
    void unencodableSettingsAreNotWritten();
    void unwritableTempFileThrows();

private:
    DataCheckResult check(AppState &state) { return DataCheck::run(state, m_dir->filePath("MyTemp.ini")); }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestDataCheck::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestDataCheck::refusals_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("edits");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("errorSound");

    const int vhf = int(StationKind::Band144_174);
    auto row = [vhf](const char *name, const QStringList &edits, const QString &message, bool sound = false) {
        QTest::newRow(name) << vhf << edits << message << sound;
    };

    const QString brightness = QStringLiteral("Уровень яркости изм. 1-5");
    row("empty settings text", {"clear"}, brightness);
    row("no section line", {"line0:Общие установки"}, brightness);
    row("brightness 0", {"s:Яркость диодов=0"}, brightness);
    row("brightness 6", {"s:Яркость диодов=6"}, brightness);
    row("brightness not a number", {"s:Яркость диодов=1a"}, brightness);
    row("brightness in hexadecimal", {"s:Яркость диодов=0x3"}, brightness);
    row("brightness before volume", {"s:Яркость диодов=9", "s:Громкость=0"}, brightness);

    const QString volume = QStringLiteral("Уровень громкости изм. 1-16");
    row("volume 0", {"s:Громкость=0"}, volume);
    row("volume 17", {"s:Громкость=17"}, volume);
    row("volume missing", {"d:Громкость"}, volume);
    row("key name in upper case", {"d:Громкость", "add:ГРОМКОСТЬ=17"}, volume);
    row("volume before key beep", {"s:Громкость=17", "s:Пик_кнопок=*"}, volume);

    const QString beep = QStringLiteral("Вводить в поле \"Пик_кнопок\" можно только + или -");
    row("key beep *", {"s:Пик_кнопок=*"}, beep);
    row("key beep empty", {"s:Пик_кнопок="}, beep);
    row("key beep ++", {"s:Пик_кнопок=++"}, beep);

    const QString special = QStringLiteral("Ошибка в номере спец. канала!!! В радиостанции нет такого номера канала");
    row("special channel not in table", {"s:СК=4"}, special);
    row("special channel missing", {"d:СК"}, special);
    row("special channel not a number", {"s:СК=a"}, special);
    row("empty table", {"rows:0"}, special);
    row("special channel before ФВ", {"s:СК=4", "s:ФВ=4"}, special);

    const QString fvLength = QStringLiteral("Код поля \"ФВ\" должен быть двузначным");
    const QString fvCode = QStringLiteral("В поле \"ФВ\" введен неправильный код");
    row("ФВ 4", {"s:ФВ=4"}, fvLength);
    row("ФВ missing", {"d:ФВ"}, fvLength);
    row("ФВ 100", {"s:ФВ=100"}, fvLength);
    row("ФВ 43", {"s:ФВ=43"}, fvCode);
    row("ФВ 30", {"s:ФВ=30"}, fvCode);
    row("ФВ 06", {"s:ФВ=06"}, fvCode);
    row("ФВ before МинГромкость", {"s:ФВ=43", "s:МинГромкость=9"}, fvCode);

    const QString minRange = QStringLiteral("Минимальный уровень громкости изменякться от 0 до 8");
    const QString minAbove = QStringLiteral("Громкость не д.б. меньше минимального уровня громкости");
    row("МинГромкость 9", {"s:МинГромкость=9"}, minRange);
    row("МинГромкость -1", {"s:МинГромкость=-1"}, minRange);
    row("МинГромкость missing", {"d:МинГромкость"}, minRange);
    row("МинГромкость above Громкость", {"s:МинГромкость=8", "s:Громкость=5"}, minAbove);
    row("МинГромкость range before volume", {"s:МинГромкость=9", "s:Громкость=5"}, minRange);
    row("МинГромкость before Код_DCS", {"s:МинГромкость=6", "s:Громкость=5", "s:Код_DCS=x"}, minAbove);

    row("Код_DCS x", {"s:Код_DCS=x"}, QStringLiteral("Вводить в поле \"Код_DCS\" можно только + или -"));
    row("Код_DCS empty", {"s:Код_DCS="}, QStringLiteral("Вводить в поле \"Код_DCS\" можно только + или -"));

    auto flag = [](const char *key) {
        return QStringLiteral("Вы не заполнили поле \"") + QString::fromUtf8(key)
               + QStringLiteral("\" или ввели не тот символ. Вводимые символы  + или -");
    };
    row("Ф_Скан missing", {"d:Ф_Скан"}, flag("Ф_Скан"));
    row("Ф_V 0", {"s:Ф_V=0"}, flag("Ф_V"));
    row("ВУ empty", {"s:ВУ="}, flag("ВУ"));
    row("ВУ before tones", {"s:ВУ=+-", "s:Тон1=1"}, flag("ВУ"));

    auto tone = [](int n) { return QStringLiteral("Ошибка в Тон%1 диапазон от 700Гц до 2550Гц").arg(n); };
    row("Тон1 699", {"s:Тон1=699"}, tone(1));
    row("Тон1 2551", {"s:Тон1=2551"}, tone(1));
    row("Тон10 missing", {"d:Тон10"}, tone(10));
    row("Тон5 not a number", {"s:Тон5=12x"}, tone(5));
    row("Тон2 before Тон3", {"s:Тон3=699", "s:Тон2=2551"}, tone(2));
    row("tones before Id", {"s:Тон7=0", "s:Id_номер=1"}, tone(7));

    const QString id = QStringLiteral("Id_Tон должен быть четырехзначным. Например: 0001");
    row("Id of three", {"s:Id_номер=001"}, id);
    row("Id of five", {"s:Id_номер=00001"}, id);
    row("Id missing", {"d:Id_номер"}, id);

    row("row without boxes", {"detach"},
        QStringLiteral("В строчке №1 нет флажков \"Скан.\", \"Id_Тон\" и \"Акт\". Создайте шаблон или загрузите файл заново."));
    row("CTC_Rx not in list", {"c:3:2=67.0"}, QStringLiteral("В строчке №2 в столбце \"CTC_Rx\" неизвестный код \"67.0\""));
    row("CTC_Tx not in list", {"c:4:3=023"}, QStringLiteral("В строчке №3 в столбце \"CTC_Tx\" неизвестный код \"023\""));
    row("DCS_Rx not in list", {"c:5:1=999"}, QStringLiteral("В строчке №1 в столбце \"DCS_Rx\" неизвестный код \"999\""));
    row("DCS_Tx not in list", {"c:5:1=023", "c:6:1=нет"},
        QStringLiteral("В строчке №1 в столбце \"DCS_Tx\" неизвестный код \"нет\""));

    const QString number = QStringLiteral(" введен неправильный номер канала");
    row("channel number empty", {"c:0:2="}, QStringLiteral("В строчке №2") + number);
    row("channel number 100", {"c:0:3=100"}, QStringLiteral("В строчке №3") + number);
    row("codes before channel number", {"c:0:2=", "c:3:2=x"},
        QStringLiteral("В строчке №2 в столбце \"CTC_Rx\" неизвестный код \"x\""));

    row("rx empty", {"c:1:2="}, QStringLiteral("В канале №2 не введена частота приема"));
    row("rx empty names the channel number", {"c:0:2=7", "c:1:2="}, QStringLiteral("В канале №7 не введена частота приема"));
    row("channel number before rx", {"c:0:2=", "c:1:2="}, QStringLiteral("В строчке №2") + number);
    row("tx empty", {"c:2:3="}, QStringLiteral("В канале №3 не введена частота передачи"));
    row("rx before tx", {"c:1:1=", "c:2:1="}, QStringLiteral("В канале №1 не введена частота приема"));

    const QString vhfRange = QStringLiteral(" частотный диапазон 140-174 MГц");
    const QString grid = QStringLiteral("Частота должна быть кратна 6,25кГц");
    row("rx below the band", {"c:1:1=139993,75"}, QStringLiteral("Ошибка в канале №1") + vhfRange);
    row("rx above the band", {"c:1:2=174006,25"}, QStringLiteral("Ошибка в канале №2") + vhfRange);
    row("tx above the band names the row", {"c:0:3=9", "c:2:3=180000"}, QStringLiteral("Ошибка в канале №3") + vhfRange);
    row("rx off the grid", {"c:1:1=144003"}, grid, false);
    row("tx off the grid plays the error sound", {"c:2:1=144003"}, grid, true);
    row("range before grid", {"c:1:1=139003"}, QStringLiteral("Ошибка в канале №1") + vhfRange);

    const QString pMin = QStringLiteral("Не желательно использовать в минимальной мощности 4 уровень");
    const QString pMax = QStringLiteral("Не желательно использовать в максимальной мощности 1 уровень");
    row("P_min 4", {"c:11:2=4"}, pMin);
    row("P_max 1", {"c:10:2=1"}, pMax);
    row("P_min before P_max", {"c:11:2=4", "c:10:2=1"}, pMin);
    row("earlier row first", {"c:10:1=1", "c:11:2=4"}, pMax);

    QTest::newRow("30-60 rx below the band") << int(StationKind::Band30_60) << QStringList{"c:1:1=29993,75"}
                                             << QStringLiteral("Ошибка в канале №1 частотный диапазон 30-60 MГц") << false;
    QTest::newRow("400-486 tx above the band") << int(StationKind::Band400_486) << QStringList{"c:2:2=486006,25"}
                                               << QStringLiteral("Ошибка в канале №2 частотный диапазон 400-486 MГц")
                                               << false;
    QTest::newRow("144-174 band in 400-486") << int(StationKind::Band400_486) << QStringList{"c:1:1=144000"}
                                             << QStringLiteral("Ошибка в канале №1 частотный диапазон 400-486 MГц")
                                             << false;
}

void TestDataCheck::refusals()
{
    QFETCH(int, kind);
    QFETCH(QStringList, edits);
    QFETCH(QString, message);
    QFETCH(bool, errorSound);

    AppState state = templateState(StationKind(kind));
    applyEdits(state, edits);
    state.dataValid = true;
    const DataCheckResult result = check(state);
    QCOMPARE(result.text(), message);
    QCOMPARE(result.refusal->sound == Sound::Error, errorSound);
    QCOMPARE(result.refusal->sound == Sound::None, !errorSound);
    QVERIFY(!result.passed());
    QVERIFY(!state.dataValid);
}

void TestDataCheck::conversionErrors_data()
{
    QTest::addColumn<QStringList>("edits");
    QTest::addColumn<QString>("error");
    QTest::newRow("ШП") << QStringList{"c:9:1=1а"} << QStringLiteral("'1а' is not a valid integer value");
    QTest::newRow("rx") << QStringList{"c:1:1=14оо"} << QStringLiteral("'14оо' is not a valid floating point value");
    QTest::newRow("tx with a point") << QStringList{"c:2:2=144000.5"}
                                     << QStringLiteral("'144000.5' is not a valid floating point value");
    QTest::newRow("transmit marker in the receive cell") << QStringList{"c:1:1=РЕТР_ПР"}
                                                         << QStringLiteral("'РЕТР_ПР' is not a valid floating point value");
    QTest::newRow("ФВ digit") << QStringList{"s:ФВ=4x"} << QStringLiteral("'x' is not a valid integer value");
    QTest::newRow("ФВ digits before the code rule") << QStringList{"s:ФВ=3x"} << QStringLiteral("'x' is not a valid integer value");
    QTest::newRow("channel number read by СК") << QStringList{"c:0:1=x"} << QStringLiteral("'x' is not a valid integer value");
    QTest::newRow("channel number of a row") << QStringList{"c:0:3=x"} << QStringLiteral("'x' is not a valid integer value");
    QTest::newRow("Тон_Rx") << QStringList{"c:7:1=а"} << QStringLiteral("'а' is not a valid integer value");
    QTest::newRow("Тон_Tx") << QStringList{"c:8:2=нет"} << QStringLiteral("'нет' is not a valid integer value");
    QTest::newRow("P_min") << QStringList{"c:11:1=один"} << QStringLiteral("'один' is not a valid integer value");
    QTest::newRow("P_max") << QStringList{"c:10:1=IV"} << QStringLiteral("'IV' is not a valid integer value");
    QTest::newRow("Время") << QStringList{"c:16:3=5 мин"} << QStringLiteral("'5 мин' is not a valid integer value");
}

void TestDataCheck::conversionErrors()
{
    QFETCH(QStringList, edits);
    QFETCH(QString, error);
    AppState state = templateState();
    applyEdits(state, edits);
    state.dataValid = true;
    QString thrown;
    try {
        check(state);
    } catch (const PlatformError &e) {
        thrown = e.text();
    }
    QCOMPARE(thrown, error);
    QVERIFY(!state.dataValid);
}

void TestDataCheck::passesTheTemplate()
{
    AppState state = templateState();
    state.moduleMenuIndex = 4;
    state.bandCode = 2;
    state.image.header[0] = 0x01;
    state.image.header[1] = 0x23;
    state.image.header[2] = 0xAB;

    const DataCheckResult result = check(state);
    QCOMPARE(result.text(), kSuccess);
    QVERIFY(result.passed());
    QVERIFY(state.dataValid);
    QCOMPARE(int(state.moduleCode), 4);
    QCOMPARE(int(state.bandCode), 2); // not the check's business

    const std::array<std::uint8_t, 12> header{0x01, 0x23, 0xAB, 1, 8, 3, 200, 0, 0x00, 0, 200, 0x06};
    QCOMPARE(state.image.header, header);
    const std::array<std::uint8_t, 10> tones{70, 75, 100, 120, 140, 155, 170, 199, 210, 240};
    QCOMPARE(state.image.tones, tones);
    QCOMPARE(state.image.idCode, std::uint16_t(0x0001));
    // volume 1, position 1, ФВ 2, minimum volume 1, tones 3+3+4·8
    QCOMPARE(int(state.settingsDigitCount), 43);

    QCOMPARE(recordHex(state.image, 0), spaced("BE01 11D881 116801 C8C8 0000 010104 FF 00 00"));
    QCOMPARE(recordHex(state.image, 1), spaced("BE02 11DB01 116A81 C8C8 0000 010104 FF 00 00"));
    QCOMPARE(recordHex(state.image, 2), spaced("BE03 11DD81 116D01 C8C8 0000 010104 FF 00 00"));
    QCOMPARE(state.image.writeOrder(state.moduleCode, state.bandCode).size(), 25 + 3 * 18);
}

void TestDataCheck::codedSettings_data()
{
    QTest::addColumn<int>("channels");
    QTest::addColumn<QStringList>("edits");
    QTest::addColumn<QString>("field"); // hN header byte, tN tone, id, digits
    QTest::addColumn<int>("value");

    QTest::newRow("brightness 2") << 3 << QStringList{"s:Яркость диодов=2"} << "h3" << 6;
    QTest::newRow("brightness 5") << 3 << QStringList{"s:Яркость диодов=5"} << "h3" << 21;
    QTest::newRow("volume 16") << 3 << QStringList{"s:Громкость=16"} << "h4" << 16;
    QTest::newRow("blanks around the value") << 3 << QStringList{"d:Громкость", "add: Громкость = 12 "} << "h4" << 12;
    QTest::newRow("first of two keys") << 3 << QStringList{"add:Громкость=3"} << "h4" << 8;
    QTest::newRow("section name in lower case") << 3 << QStringList{"line0:[общие установки]", "s:Громкость=9"} << "h4" << 9;
    QTest::newRow("key beep missing") << 3 << QStringList{"d:Пик_кнопок"} << "h6" << 200;
    QTest::newRow("key beep -") << 3 << QStringList{"s:Пик_кнопок=-"} << "h6" << 100;
    QTest::newRow("СК 3 among 5 3 7") << 3 << QStringList{"c:0:1=5", "c:0:2=3", "c:0:3=7", "s:СК=3"} << "h7" << 1;
    QTest::newRow("СК first of equal numbers") << 3 << QStringList{"c:0:2=9", "c:0:3=9", "s:СК=9"} << "h7" << 1;
    QTest::newRow("СК moved to the top") << 3 << QStringList{"d:СК", "top:СК=2"} << "h7" << 1;
    QTest::newRow("ФВ 42") << 3 << QStringList{"s:ФВ=42"} << "h8" << 0x42;
    QTest::newRow("ФВ 05") << 3 << QStringList{"s:ФВ=05"} << "h8" << 0x05;
    QTest::newRow("МинГромкость equal to volume") << 3 << QStringList{"s:МинГромкость=5", "s:Громкость=5"} << "h9" << 5;
    QTest::newRow("Код_DCS missing") << 3 << QStringList{"d:Код_DCS"} << "h10" << 200;
    QTest::newRow("Код_DCS -") << 3 << QStringList{"s:Код_DCS=-"} << "h10" << 100;
    QTest::newRow("ВУ only") << 3 << QStringList{"s:Ф_Скан=-", "s:Ф_V=-", "s:ВУ=+"} << "h11" << 16;
    QTest::newRow("all options") << 3 << QStringList{"s:ВУ=+"} << "h11" << 22;
    QTest::newRow("no options") << 3 << QStringList{"s:Ф_Скан=-", "s:Ф_V=-"} << "h11" << 0;
    QTest::newRow("channel count 12") << 12 << QStringList{} << "h5" << 12;
    QTest::newRow("Тон8 1989") << 3 << QStringList{} << "t8" << 199;
    QTest::newRow("Тон1 705") << 3 << QStringList{"s:Тон1=705"} << "t1" << 70;
    QTest::newRow("Тон2 715") << 3 << QStringList{"s:Тон2=715"} << "t2" << 72;
    QTest::newRow("Тон10 2550") << 3 << QStringList{"s:Тон10=2550"} << "t10" << 255;
    QTest::newRow("Id 12AB") << 3 << QStringList{"s:Id_номер=12AB"} << "id" << 0x12AB;
    QTest::newRow("Id star hash 0 0") << 3 << QStringList{"s:Id_номер=*#00"} << "id" << 0xFE00;
    QTest::newRow("Id 00E1") << 3 << QStringList{"s:Id_номер=00E1"} << "id" << 0x00E1;
    QTest::newRow("Id with €") << 3 << QStringList{"s:Id_номер=€001"} << "id" << 0x0001;
    QTest::newRow("fewest digits") << 3
                                   << QStringList{"s:Громкость=9", "s:Тон3=990", "s:Тон4=990", "s:Тон5=990", "s:Тон6=990",
                                                  "s:Тон7=990", "s:Тон8=990", "s:Тон9=990", "s:Тон10=990"}
                                   << "digits" << 35;
    QTest::newRow("most digits") << 12
                                 << QStringList{"s:Громкость=16", "s:СК=11", "s:Тон1=1000", "s:Тон2=1000"} << "digits"
                                 << 47;
}

void TestDataCheck::codedSettings()
{
    QFETCH(int, channels);
    QFETCH(QStringList, edits);
    QFETCH(QString, field);
    QFETCH(int, value);

    AppState state = templateState(StationKind::Band144_174, channels);
    applyEdits(state, edits);
    const DataCheckResult result = check(state);
    QCOMPARE(result.text(), kSuccess);

    int coded = -1;
    if (field == QLatin1String("id"))
        coded = state.image.idCode;
    else if (field == QLatin1String("digits"))
        coded = state.settingsDigitCount;
    else if (field.startsWith(u'h'))
        coded = state.image.header[std::size_t(field.mid(1).toInt())];
    else if (field.startsWith(u't'))
        coded = state.image.tones[std::size_t(field.mid(1).toInt() - 1)];
    QCOMPARE(coded, value);
}

void TestDataCheck::codedRecords_data()
{
    QTest::addColumn<QStringList>("edits");
    QTest::addColumn<QByteArray>("record"); // of row 1

    auto row = [](const char *name, const QStringList &edits, const char *hex) {
        QTest::newRow(name) << edits << spaced(hex);
    };
    row("template row", {}, "BE01 11D881 116801 C8C8 0000 010104 FF 00 00");
    row("two-decimal texts", {"c:1:1=144000,00", "c:2:1=144000,00"}, "BE01 11D881 116801 C8C8 0000 010104 FF 00 00");
    row("rx repeater", {"c:1:1=РЕТР_ПП"}, "BE01 000000 116801 C8C8 0000 010104 DF 00 00");
    row("tx repeater", {"c:2:1=РЕТР_ПР"}, "BE01 11D881 000000 C8C8 0000 010104 EF 00 00");
    row("both repeaters", {"c:1:1=РЕТР_ПП", "c:2:1=РЕТР_ПР"}, "BE01 000000 000000 C8C8 0000 010104 CF 00 00");
    row("rx at the low limit", {"c:1:1=140000"}, "BE01 11CE81 116801 C8C8 0000 010104 FF 00 00");
    row("rx at the high limit", {"c:1:1=174000"}, "BE01 122381 116801 C8C8 0000 010104 FF 00 00");
    row("rx 144006,25", {"c:1:1=144006,25"}, "BE01 11D885 116801 C8C8 0000 010104 FF 00 00");
    row("rx 144006,249 truncated", {"c:1:1=144006,249"}, "BE01 11D881 116801 C8C8 0000 010104 FF 00 00");
    row("CTCSS first positions", {"c:3:1=88,5", "c:4:1=69,4"}, "BE01 11D881 116801 052C 0000 010104 FF 00 00");
    row("DCS rx by partner", {"c:5:1=754"}, "B601 11D881 116801 12C8 0000 010104 FF 00 00");
    row("DCS tx by position", {"s:Код_DCS=-", "c:6:1=754"}, "B601 11D881 116801 C854 0000 010104 FF 00 00");
    row("DCS mode drops CTCSS", {"c:5:1=023", "c:3:1=67,0", "c:4:1=71,9"}, "B601 11D881 116801 08C8 0000 010104 FF 00 00");
    row("DCS mode ignores CTCSS cells", {"c:6:1=023", "c:3:1=xyz"}, "B601 11D881 116801 C808 0000 010104 FF 00 00");
    row("tone numbers", {"c:7:1=3", "c:8:1=10"}, "8E01 11D881 116801 C8C8 030A 010104 FF 00 00");
    row("Tx_Off OFF", {"c:15:1=OFF"}, "BE01 11D881 116801 C8C8 0000 010104 FB 00 00");
    row("Tx_Off RSSI", {"c:15:1=RSSI"}, "BE01 11D881 116801 C8C8 0000 010104 FE 00 00");
    row("Tx_Off in lower case", {"c:15:1=off"}, "BE01 11D881 116801 C8C8 0000 010104 FF 00 00");
    row("time 15", {"c:16:1=15"}, "BE01 11D881 116801 C8C8 0000 010104 F7 0F 00");
    row("width 12,5", {"c:13:1=12,5"}, "FE01 11D881 116801 C8C8 0000 010104 FF 00 00");
    row("width 12,50 is not 12,5", {"c:13:1=12,50"}, "BE01 11D881 116801 C8C8 0000 010104 FF 00 00");
    row("boxes inverted", {"b:12:1=0", "b:14:1=1", "b:17:1=0"}, "3801 11D881 116801 C8C8 0000 010104 FF 00 00");
    row("ШП 6", {"c:9:1=6"}, "BE01 11D881 116801 C8C8 0000 060104 FF 00 00");
    row("P_min 4 with a blank is not 4", {"c:11:1=4 "}, "BE01 11D881 116801 C8C8 0000 010404 FF 00 00");
    row("channel number 99", {"c:0:1=99", "s:СК=99"}, "BE63 11D881 116801 C8C8 0000 010104 FF 00 00");
}

void TestDataCheck::codedRecords()
{
    QFETCH(QStringList, edits);
    QFETCH(QByteArray, record);
    AppState state = templateState();
    applyEdits(state, edits);
    const DataCheckResult result = check(state);
    QCOMPARE(result.text(), kSuccess);
    QCOMPARE(recordHex(state.image, 0), record);
}

void TestDataCheck::workedChannelRecords()
{
    AppState state = templateState();
    applyEdits(state, {"c:1:1=144000", "c:2:1=144000", "c:3:1=67,0",
                       "c:1:2=145500", "c:2:2=144900", "c:4:2=71,9", "c:7:2=3", "c:9:2=2", "c:10:2=3", "c:11:2=2",
                       "c:13:2=12,5", "b:14:2=1", "c:15:2=RSSI", "c:16:2=5"});
    QCOMPARE(check(state).text(), kSuccess);
    QCOMPARE(recordHex(state.image, 0), spaced("BE 01 11 D8 81 11 68 01 01 C8 00 00 01 01 04 FF 00 00"));
    QCOMPARE(recordHex(state.image, 1), spaced("6E 02 11 DC 41 11 6A 41 C8 02 03 00 02 02 03 F6 05 00"));
}

void TestDataCheck::tableSize_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("message");
    QTest::newRow("99 rows") << 99 << kSuccess;
    QTest::newRow("100 rows") << 100
                              << QStringLiteral("Строчка №100 лишняя: в радиостанцию можно записать не более 99 каналов");
}

void TestDataCheck::tableSize()
{
    QFETCH(int, rows);
    QFETCH(QString, message);
    AppState state = templateState(StationKind::Band144_174, 99);
    ChannelTable &table = state.table;
    table.setRowCount(rows + 1);
    for (int r = 100; r <= rows; ++r) {
        for (int c = 0; c < ChannelTable::ColumnCount; ++c)
            table.setCell(c, r, table.cell(c, 99));
    }
    table.addCheckBoxes();

    const DataCheckResult result = check(state);
    QCOMPARE(result.text(), message);
    if (result.passed()) {
        QCOMPARE(int(state.image.header[RadioImage::ChannelCount]), 99);
        QCOMPARE(int(state.image.records[98][1]), 99);
    }
}

void TestDataCheck::imageAsFarAsBuiltOnRefusal()
{
    AppState state = templateState();
    for (auto &record : state.image.records)
        record.fill(0x55);
    state.image.header[RadioImage::Brightness] = 0x55;
    applyEdits(state, {"c:11:2=4", "s:Яркость диодов=3"});

    const DataCheckResult result = check(state);
    QVERIFY(!result.passed());
    QCOMPARE(int(state.image.header[RadioImage::Brightness]), 11);
    QCOMPARE(int(state.image.header[RadioImage::OptionFlags]), 6);
    QCOMPARE(recordHex(state.image, 0), spaced("BE01 11D881 116801 C8C8 0000 010104 FF 00 00"));
    // Row 2 stopped at "P_min": neither power level is coded, nor what follows.
    QCOMPARE(recordHex(state.image, 1), spaced("BE02 11DB01 116A81 C8C8 0000 010000 FF 00 00"));
    QCOMPARE(recordHex(state.image, 2), QByteArray(18, '\0').toHex(' '));
    QCOMPARE(recordHex(state.image, 98), QByteArray(18, '\0').toHex(' '));
}

void TestDataCheck::tempFileIsWindows1251WithCrLf()
{
    AppState state = templateState();
    state.settingsLines = {QStringLiteral("[Общие установки]"), QStringLiteral("Тон1=€")};
    const DataCheckResult result = check(state);
    QCOMPARE(result.text(), QStringLiteral("Уровень яркости изм. 1-5"));
    QCOMPARE(readFile(m_dir->filePath("MyTemp.ini")).toHex(' '),
             QByteArray("5b ce e1 f9 e8 e5 20 f3 f1 f2 e0 ed ee e2 ea e8 5d 0d 0a d2 ee ed 31 3d 88 0d 0a"));
}

void TestDataCheck::tempFileIsRewrittenAndItsFolderMade()
{
    const QString path = m_dir->filePath(QStringLiteral("config/vetral/MyTemp.ini"));
    AppState state = templateState();
    QCOMPARE(DataCheck::run(state, path).text(), kSuccess);
    const QByteArray full = readFile(path);
    QVERIFY(full.startsWith("[\xce\xe1\xf9\xe8\xe5 \xf3\xf1\xf2\xe0\xed\xee\xe2\xea\xe8]\r\nId_\xed\xee\xec\xe5\xf0=0001\r\n"));

    state.settingsLines = {QStringLiteral("[Общие установки]")};
    DataCheck::run(state, path);
    QCOMPARE(readFile(path), QByteArray("[\xce\xe1\xf9\xe8\xe5 \xf3\xf1\xf2\xe0\xed\xee\xe2\xea\xe8]\r\n"));
}

void TestDataCheck::unencodableSettingsAreNotWritten()
{
    AppState state = templateState();
    applyEdits(state, {"s:Id_номер=✓001"});
    state.dataValid = true;
    const DataCheckResult result = check(state);
    QVERIFY(!result.passed());
    QVERIFY(!state.dataValid);
    QCOMPARE(result.text(), QStringLiteral("В общих установках (строка 2) есть символ \"✓\", который нельзя "
                                                 "записать в кодировке Windows-1251. Замените его."));
    QVERIFY(!QFile::exists(m_dir->filePath("MyTemp.ini")));
}

void TestDataCheck::unwritableTempFileThrows()
{
    AppState state = templateState();
    state.dataValid = true;
    QString thrown;
    try {
        DataCheck::run(state, m_dir->path()); // a folder, not a file
    } catch (const PlatformError &e) {
        thrown = e.text();
    }
    QVERIFY2(thrown.contains(QDir::toNativeSeparators(m_dir->path())), qPrintable(thrown));
    QVERIFY(!state.dataValid);
}

QTEST_GUILESS_MAIN(TestDataCheck)
#include "tst_datacheck.moc"
