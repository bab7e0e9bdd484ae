// "Контроль" refusing: every rule's message in order, the conversion
// errors, and the temporary settings file it writes.
#include "common/platformerror.h"
#include "support/checkfixtures.h"

using namespace CheckFixtures;

class TestDataCheck : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void refusals_data();
    void refusals();
    void conversionErrors_data();
    void conversionErrors();

    void tempFileIsWindows1251WithCrLf();
    void tempFileIsRewrittenAndItsFolderMade();
    void unencodableSettingsAreNotWritten();
    void unwritableTempFileThrows();

private:
    DataCheckResult check(const ChannelPlan &plan) { return (*m_check)(plan); }
    std::unique_ptr<CheckRunner> m_check;
};

void TestDataCheck::init()
{
    m_check = std::make_unique<CheckRunner>();
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
    row("Id of four with letters that are no Id digits", {"s:Id_номер=12XY"}, id);
    row("Id of four with a Cyrillic letter", {"s:Id_номер=12АВ"}, id);
    row("Id of four with a blank", {"s:Id_номер=1 23"}, id);
    row("Id with €", {"s:Id_номер=€001"}, id);

    row("row without boxes", {"detach"},
        QStringLiteral(
            "В строчке №1 нет флажков \"Скан.\", \"Id_Тон\" и \"Акт\". Создайте шаблон или загрузите файл заново."));
    row("CTC_Rx not in list", {"c:CtcRx:2=67.0"},
        QStringLiteral("В строчке №2 в столбце \"CTC_Rx\" неизвестный код \"67.0\""));
    row("CTC_Tx not in list", {"c:CtcTx:3=023"},
        QStringLiteral("В строчке №3 в столбце \"CTC_Tx\" неизвестный код \"023\""));
    row("DCS_Rx not in list", {"c:DcsRx:1=999"},
        QStringLiteral("В строчке №1 в столбце \"DCS_Rx\" неизвестный код \"999\""));
    row("DCS_Tx not in list", {"c:DcsRx:1=023", "c:DcsTx:1=нет"},
        QStringLiteral("В строчке №1 в столбце \"DCS_Tx\" неизвестный код \"нет\""));

    const QString number = QStringLiteral(" введен неправильный номер канала");
    row("channel number empty", {"c:Number:2="}, QStringLiteral("В строчке №2") + number);
    row("channel number 100", {"c:Number:3=100"}, QStringLiteral("В строчке №3") + number);
    row("codes before channel number", {"c:Number:2=", "c:CtcRx:2=x"},
        QStringLiteral("В строчке №2 в столбце \"CTC_Rx\" неизвестный код \"x\""));

    row("rx empty", {"c:Rx:2="}, QStringLiteral("В канале №2 не введена частота приема"));
    row("rx empty names the channel number", {"c:Number:2=7", "c:Rx:2="},
        QStringLiteral("В канале №7 не введена частота приема"));
    row("channel number before rx", {"c:Number:2=", "c:Rx:2="}, QStringLiteral("В строчке №2") + number);
    row("tx empty", {"c:Tx:3="}, QStringLiteral("В канале №3 не введена частота передачи"));
    row("rx before tx", {"c:Rx:1=", "c:Tx:1="}, QStringLiteral("В канале №1 не введена частота приема"));

    const QString vhfRange = QStringLiteral(" частотный диапазон 140-174 MГц");
    const QString grid = QStringLiteral("Частота должна быть кратна 6,25кГц");
    row("rx below the band", {"c:Rx:1=139993,75"}, QStringLiteral("Ошибка в канале №1") + vhfRange);
    row("rx above the band", {"c:Rx:2=174006,25"}, QStringLiteral("Ошибка в канале №2") + vhfRange);
    row("tx above the band names the row", {"c:Number:3=9", "c:Tx:3=180000"},
        QStringLiteral("Ошибка в канале №3") + vhfRange);
    row("rx off the grid", {"c:Rx:1=144003"}, grid, false);
    row("tx off the grid plays the error sound", {"c:Tx:1=144003"}, grid, true);
    row("range before grid", {"c:Rx:1=139003"}, QStringLiteral("Ошибка в канале №1") + vhfRange);

    const QString pMin = QStringLiteral("Не желательно использовать в минимальной мощности 4 уровень");
    const QString pMax = QStringLiteral("Не желательно использовать в максимальной мощности 1 уровень");
    row("P_min 4", {"c:PMin:2=4"}, pMin);
    row("P_max 1", {"c:PMax:2=1"}, pMax);
    row("P_min before P_max", {"c:PMin:2=4", "c:PMax:2=1"}, pMin);
    row("earlier row first", {"c:PMax:1=1", "c:PMin:2=4"}, pMax);

    QTest::newRow("30-60 rx below the band")
        << int(StationKind::Band30_60) << QStringList{"c:Rx:1=29993,75"}
        << QStringLiteral("Ошибка в канале №1 частотный диапазон 30-60 MГц") << false;
    QTest::newRow("400-486 tx above the band")
        << int(StationKind::Band400_486) << QStringList{"c:Tx:2=486006,25"}
        << QStringLiteral("Ошибка в канале №2 частотный диапазон 400-486 MГц") << false;
    QTest::newRow("144-174 band in 400-486")
        << int(StationKind::Band400_486) << QStringList{"c:Rx:1=144000"}
        << QStringLiteral("Ошибка в канале №1 частотный диапазон 400-486 MГц") << false;
}

void TestDataCheck::refusals()
{
    QFETCH(int, kind);
    QFETCH(QStringList, edits);
    QFETCH(QString, message);
    QFETCH(bool, errorSound);

    ChannelPlan plan = templatePlan(StationKind(kind));
    applyEdits(plan, edits);
    const DataCheckResult result = check(plan);
    QCOMPARE(result.text(), message);
    QCOMPARE(result.refusal->sound == Sound::Error, errorSound);
    QCOMPARE(result.refusal->sound == Sound::None, !errorSound);
    QVERIFY(!result.passed());
}

void TestDataCheck::conversionErrors_data()
{
    QTest::addColumn<QStringList>("edits");
    QTest::addColumn<QString>("error");
    QTest::newRow("ШП") << QStringList{"c:Sh:1=1а"} << QStringLiteral("'1а' is not a valid integer value");
    QTest::newRow("rx") << QStringList{"c:Rx:1=14оо"} << QStringLiteral("'14оо' is not a valid floating point value");
    QTest::newRow("tx with a point") << QStringList{"c:Tx:2=144000.5"}
                                     << QStringLiteral("'144000.5' is not a valid floating point value");
    QTest::newRow("transmit marker in the receive cell")
        << QStringList{"c:Rx:1=РЕТР_ПР"} << QStringLiteral("'РЕТР_ПР' is not a valid floating point value");
    QTest::newRow("ФВ digit") << QStringList{"s:ФВ=4x"} << QStringLiteral("'x' is not a valid integer value");
    QTest::newRow("ФВ digits before the code rule")
        << QStringList{"s:ФВ=3x"} << QStringLiteral("'x' is not a valid integer value");
    QTest::newRow("channel number read by СК")
        << QStringList{"c:Number:1=x"} << QStringLiteral("'x' is not a valid integer value");
    QTest::newRow("channel number of a row")
        << QStringList{"c:Number:3=x"} << QStringLiteral("'x' is not a valid integer value");
    QTest::newRow("Тон_Rx") << QStringList{"c:ToneRx:1=а"} << QStringLiteral("'а' is not a valid integer value");
    QTest::newRow("Тон_Tx") << QStringList{"c:ToneTx:2=нет"} << QStringLiteral("'нет' is not a valid integer value");
    QTest::newRow("P_min") << QStringList{"c:PMin:1=один"} << QStringLiteral("'один' is not a valid integer value");
    QTest::newRow("P_max") << QStringList{"c:PMax:1=IV"} << QStringLiteral("'IV' is not a valid integer value");
    QTest::newRow("Время") << QStringList{"c:Time:3=5 мин"} << QStringLiteral("'5 мин' is not a valid integer value");
}

void TestDataCheck::conversionErrors()
{
    QFETCH(QStringList, edits);
    QFETCH(QString, error);
    ChannelPlan plan = templatePlan();
    applyEdits(plan, edits);
    QString thrown;
    try {
        check(plan);
    } catch (const PlatformError &e) {
        thrown = e.text();
    }
    QCOMPARE(thrown, error);
}

void TestDataCheck::tempFileIsWindows1251WithCrLf()
{
    ChannelPlan plan = templatePlan();
    plan.settingsLines = {QStringLiteral("[Общие установки]"), QStringLiteral("Тон1=€")};
    const DataCheckResult result = check(plan);
    QCOMPARE(result.text(), QStringLiteral("Уровень яркости изм. 1-5"));
    QCOMPARE(readFile(m_check->tempFile()).toHex(' '),
             QByteArray("5b ce e1 f9 e8 e5 20 f3 f1 f2 e0 ed ee e2 ea e8 5d 0d 0a d2 ee ed 31 3d 88 0d 0a"));
}

void TestDataCheck::tempFileIsRewrittenAndItsFolderMade()
{
    const QString path = QDir(m_check->folder()).filePath(QStringLiteral("config/vetral/MyTemp.ini"));
    ChannelPlan plan = templatePlan();
    QCOMPARE(DataCheck::run(plan, path).text(), kSuccess);
    const QByteArray full = readFile(path);
    QVERIFY(full.startsWith(
        "[\xce\xe1\xf9\xe8\xe5 \xf3\xf1\xf2\xe0\xed\xee\xe2\xea\xe8]\r\nId_\xed\xee\xec\xe5\xf0=0001\r\n"));

    plan.settingsLines = {QStringLiteral("[Общие установки]")};
    DataCheck::run(plan, path);
    QCOMPARE(readFile(path), QByteArray("[\xce\xe1\xf9\xe8\xe5 \xf3\xf1\xf2\xe0\xed\xee\xe2\xea\xe8]\r\n"));
}

void TestDataCheck::unencodableSettingsAreNotWritten()
{
    ChannelPlan plan = templatePlan();
    applyEdits(plan, {"s:Id_номер=✓001"});
    const DataCheckResult result = check(plan);
    QVERIFY(!result.passed());
    QCOMPARE(result.text(), QStringLiteral("В общих установках (строка 2) есть символ \"✓\", который нельзя "
                                           "записать в кодировке Windows-1251. Замените его."));
    QVERIFY(!QFile::exists(m_check->tempFile()));
}

void TestDataCheck::unwritableTempFileThrows()
{
    ChannelPlan plan = templatePlan();
    QString thrown;
    try {
        DataCheck::run(plan, m_check->folder()); // a folder, not a file
    } catch (const PlatformError &e) {
        thrown = e.text();
    }
    QVERIFY2(thrown.contains(QDir::toNativeSeparators(m_check->folder())), qPrintable(thrown));
}

QTEST_GUILESS_MAIN(TestDataCheck)
#include "tst_datacheck.moc"
