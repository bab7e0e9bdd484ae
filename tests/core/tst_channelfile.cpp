#include "common/platformerror.h"
#include "files/channelfile.h"
#include "files/channelfileformat.h"
#include "files/ioerror.h"
#include "files/profile.h"
#include "files/windows1251.h"
#include "state/appstate.h"
#include "table/settingstext.h"

#include <QDir>
#include <QRandomGenerator>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtTest>
#include <cerrno>
#include <functional>

#ifdef Q_OS_UNIX
#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

Q_DECLARE_METATYPE(StationKind)
Q_DECLARE_METATYPE(TextEncoding)

namespace {

const QString kGeneral = QStringLiteral("Общие установки");

// The 27 lines a load writes, with values other than the loader's defaults.
QStringList settingsLines()
{
    const QStringList values{"A1B2C3", "12AB", "700", "750", "1000", "1200", "1400", "1550", "1700", "1990", "2100",
                             "2400", "5", "10", "25", "40", "3", "12", "2", "-", "12", "-", "+", "+", "+", "2"};
    QStringList lines{SettingsText::sectionLine()};
    for (std::size_t i = 0; i < ChannelFileFormat::settingsKeys().size(); ++i)
        lines << ChannelFileFormat::settingsKeys()[i].name + u'=' + values.at(static_cast<qsizetype>(i));
    return lines;
}

AppState makeState(StationKind kind, std::uint8_t module, int channels)
{
    AppState state;
    state.selectStation(kind);
    state.setModuleCode(module);
    state.settingsLines = settingsLines();
    ChannelTable &t = state.table;
    t.setRowCount(channels + 1);
    t.setHeader(ChannelTable::headerTexts());
    t.addCheckBoxes();
    for (int r = 1; r <= channels; ++r) {
        const QStringList texts{QString::number(r * 3), r % 4 ? QStringLiteral("144006,25") : QStringLiteral("РЕТР_ПП"),
                                QString::number(140000 + r), r % 2 ? "67,0" : "Нет", "254,1", "023", r % 3 ? "Нет" : "754",
                                "10", "Нет", "6", "4", "1", "", r % 2 ? "12,5" : "25", "", r % 3 ? "RSSI" : "Норм",
                                r % 2 ? "15" : "Нет", ""};
        for (int c = 0; c < ChannelTable::ColumnCount; ++c)
            t.setCell(c, r, texts.at(c));
        t.setChecked(ChannelTable::Scan, r, r % 2 == 0);
        t.setChecked(ChannelTable::IdTone, r, r % 3 == 0);
        t.setChecked(ChannelTable::Active, r, r % 5 != 0);
    }
    return state;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

ChannelFile::LoadResult loadText(const QString &text, AppState &state)
{
    return ChannelFile::loadBytes(Windows1251::encode(text), state);
}

QString failureOf(const std::function<void()> &action)
{
    try {
        action();
    } catch (const PlatformError &error) {
        return error.text();
    }
    return QStringLiteral("<no failure>");
}

} // namespace

class TestChannelFile : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data();
    void roundTrip();
    void fileLayout();
    void generalSection_data();
    void generalSection();
    void savingOverALongerFile();
    void rowWithoutBoxesIsWrittenUnticked();
    void refusedSaveLeavesTheOldFile_data();
    void refusedSaveLeavesTheOldFile();
    void saveFailures_data();
    void saveFailures();
    void interruptedWriteLeavesTheOldFile();
    void tooManyOpenFiles();
    void ioMessages_data();
    void ioMessages();

    void gapEndsTheChannels();
    void sectionWithOnlyRx();
    void checkBoxValues_data();
    void checkBoxValues();
    void codes_data();
    void codes();
    void settingsTextIsRebuilt();
    void withoutSectionOne_data();
    void withoutSectionOne();
    void longValuesAreCut();
    void moreChannelsThanTheImageTakes();
    void hugeFile();
    void encodings_data();
    void encodings();
    void loadFailures_data();
    void loadFailures();
    void readOnlyFileIsRefused();
};

void TestChannelFile::roundTrip_data()
{
    QTest::addColumn<StationKind>("kind");
    QTest::addColumn<int>("module");
    QTest::addColumn<int>("channels");
    QTest::newRow("30-60") << StationKind::Band30_60 << 1 << 3;
    QTest::newRow("144-174") << StationKind::Band144_174 << 0 << 10;
    QTest::newRow("400-486") << StationKind::Band400_486 << 5 << 99;
}

void TestChannelFile::roundTrip()
{
    QFETCH(StationKind, kind);
    QFETCH(int, module);
    QFETCH(int, channels);
    const AppState saved = makeState(kind, static_cast<std::uint8_t>(module), channels);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("K7TV_10.ini"));
    QCOMPARE(ChannelFile::save(saved, path), MaybeRefusal());

    AppState loaded = makeState(kind == StationKind::Band144_174 ? StationKind::Band30_60 : StationKind::Band144_174, 3, 2);
    loaded.dataValid = true;
    const auto result = ChannelFile::load(path, loaded);
    QCOMPARE(result.refusal, MaybeRefusal());
    QCOMPARE(result.selectedStation, std::optional<StationKind>(kind));
    QCOMPARE(result.channelCount, channels);
    QCOMPARE(loaded.stationKind, kind);
    QCOMPARE(loaded.bandCode, saved.bandCode);
    QCOMPARE(loaded.moduleCode, module);
    QCOMPARE(loaded.moduleMenuIndex, module);
    QVERIFY(!loaded.dataValid);
    QCOMPARE(loaded.settingsLines, saved.settingsLines);
    QCOMPARE(loaded.table.rowCount(), channels + 1);
    QCOMPARE(loaded.table.checkBoxRowCount(), channels + 1);
    for (int c = 0; c < ChannelTable::ColumnCount; ++c)
        QCOMPARE(loaded.table.cell(c, 0), ChannelTable::loadedHeaderTexts()[static_cast<std::size_t>(c)]);
    for (int r = 1; r <= channels; ++r) {
        for (int c = 0; c < ChannelTable::ColumnCount; ++c) {
            QCOMPARE(loaded.table.cell(c, r), saved.table.cell(c, r));
            QCOMPARE(loaded.table.isChecked(c, r), saved.table.isChecked(c, r));
        }
    }
}

void TestChannelFile::fileLayout()
{
    AppState state;
    state.selectStation(StationKind::Band400_486);
    state.setModuleCode(2); // "Модуль Смартранк"
    state.settingsLines = SettingsText::templateLines();
    state.table.setRowCount(2);
    state.table.addCheckBoxes();
    state.table.setCell(ChannelTable::Number, 1, QStringLiteral("7"));
    state.table.setCell(ChannelTable::Tx, 1, QStringLiteral("400012,5"));
    state.table.setChecked(ChannelTable::Active, 1, false);
    QStringList lines = SettingsText::templateLines();
    lines << "Тип=3" << "ТипВУ=2" << "" << "[1]"
          << "Номер=7" << "Rx=" << "Tx=400012,5" << "CTCSS_Rx=" << "CTCSS_Tx=" << "DCS_Rx=" << "DCS_Tx="
          << "Тон_Rx=" << "Тон_Tx=" << "ШП=" << "P_max=" << "P_min=" << "Сканировать=да" << "Sw=" << "Id_Тон=нет"
          << "Tx_Off=" << "Время=" << "Активен=нет";
    const QByteArray bytes = ChannelFile::encode(state);
    QCOMPARE(bytes, Windows1251::encode(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")));
}

void TestChannelFile::generalSection_data()
{
    QTest::addColumn<QStringList>("memo");
    QTest::addColumn<QStringList>("file");
    QTest::newRow("memo without the section")
        << QStringList{"Id_номер=0001", "СК=1"}
        << QStringList{"Id_номер=0001", "СК=1", "", "[Общие установки]", "Тип=0", "ТипВУ=0"};
    QTest::newRow("codes replaced in place")
        << QStringList{"[Общие установки]", "Тип=7", "Id_номер=0001", "тиПВу=9"}
        << QStringList{"[Общие установки]", "Тип=0", "Id_номер=0001", "тиПВу=0"};
    QTest::newRow("behind the section's last line")
        << QStringList{"[Общие установки]", "СК=1", "просто текст", "", "[Прочее]", "x=1"}
        << QStringList{"[Общие установки]", "СК=1", "просто текст", "Тип=0", "ТипВУ=0", "", "[Прочее]", "x=1"};
    QTest::newRow("empty memo") << QStringList{} << QStringList{"[Общие установки]", "Тип=0", "ТипВУ=0"};
}

void TestChannelFile::generalSection()
{
    QFETCH(QStringList, memo);
    QFETCH(QStringList, file);
    AppState state;
    state.settingsLines = memo;
    state.table.setRowCount(1);
    QCOMPARE(Profile::fromText(ChannelFile::text(state)).lines(), file);
}

void TestChannelFile::savingOverALongerFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("K7TV_10.ini"));
    QByteArray old;
    for (int i = 1; i <= 150; ++i)
        old += "[" + QByteArray::number(i) + "]\r\nRx=150000\r\nOld=" + QByteArray(40, 'x') + "\r\n";
    writeAll(path, old);
    const AppState state = makeState(StationKind::Band144_174, 0, 2);
    QCOMPARE(ChannelFile::save(state, path), MaybeRefusal());
    QCOMPARE(readAll(path), ChannelFile::encode(state));
}

void TestChannelFile::rowWithoutBoxesIsWrittenUnticked()
{
    AppState state = makeState(StationKind::Band144_174, 0, 2);
    state.selectStation(StationKind::Band30_60); // detaches every box, keeps the texts
    const Profile file = Profile::fromText(ChannelFile::text(state));
    for (const QString key : {"Сканировать", "Id_Тон", "Активен"})
        QCOMPARE(file.value(QStringLiteral("2"), key), std::optional<QString>(QStringLiteral("нет")));
    QCOMPARE(file.value(QStringLiteral("2"), QStringLiteral("Номер")), std::optional<QString>(QStringLiteral("6")));
}

void TestChannelFile::refusedSaveLeavesTheOldFile_data()
{
    QTest::addColumn<int>("line");  // memo line to replace (1-based), or 0
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("memo") << 3 << 0 << 0 << "Id_номер=12✓B"
                          << "Символ «✓» (U+2713) в строке 3 общих установок нельзя записать в файл: "
                             "его нет в кодировке Windows-1251. Файл не сохранён.";
    QTest::newRow("cell, outside the basic plane")
        << 0 << 2 << int(ChannelTable::Rx) << "144000😀"
        << "Символ «😀» (U+1F600) в строке 2 таблицы каналов, столбец «Rx, кГц», нельзя записать в файл: "
           "его нет в кодировке Windows-1251. Файл не сохранён.";
    QTest::newRow("line break in a cell")
        << 0 << 3 << int(ChannelTable::Time) << "1\n5"
        << "Разрыв строки (U+000A) в строке 3 таблицы каналов, столбец «Время», нельзя записать в файл. Файл не сохранён.";
    QTest::newRow("carriage return in the memo")
        << 1 << 0 << 0 << "[Общие установки]\r"
        << "Разрыв строки (U+000D) в строке 1 общих установок нельзя записать в файл. Файл не сохранён.";
}

void TestChannelFile::refusedSaveLeavesTheOldFile()
{
    QFETCH(int, line);
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QString, text);
    QFETCH(QString, message);
    AppState state = makeState(StationKind::Band144_174, 0, 3);
    if (line > 0)
        state.settingsLines[line - 1] = text;
    else
        state.table.setCell(column, row, text);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("K7TV_10.ini"));
    const QByteArray old = "[Общие установки]\r\nТип=3\r\n";
    writeAll(path, old);

    QCOMPARE(ChannelFile::save(state, path), MaybeRefusal(Refusal{message, Sound::Error}));
    QCOMPARE(readAll(path), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).size(), 1);
    QCOMPARE(failureOf([&] { ChannelFile::encode(state); }), message);
}

void TestChannelFile::saveFailures_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");
    QTest::newRow("missing folder") << "нет/K7TV_10.ini" << "File not found.";
    QTest::newRow("folder as the file") << "folder" << "File access denied.";
    QTest::newRow("path through a file") << "plain.ini/K7TV_10.ini" << "Invalid filename.";
    QTest::newRow("name too long") << QString(300, u'x') + ".ini" << "Invalid filename.";
}

void TestChannelFile::saveFailures()
{
    QFETCH(QString, name);
    QFETCH(QString, message);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));
    writeAll(dir.filePath(QStringLiteral("plain.ini")), "old");
    const AppState state = makeState(StationKind::Band144_174, 0, 1);
    QCOMPARE(failureOf([&] { ChannelFile::save(state, dir.filePath(name)); }), message);
    QCOMPARE(readAll(dir.filePath(QStringLiteral("plain.ini"))), QByteArray("old"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             (QStringList{"folder", "plain.ini"}));
    QVERIFY(QDir(dir.filePath(QStringLiteral("folder"))).isEmpty());
}

// The file system refuses the new content half way (file size limit): the
// save reports the write failure and the old file is still there, whole.
void TestChannelFile::interruptedWriteLeavesTheOldFile()
{
#ifdef Q_OS_UNIX
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("K7TV_10.ini"));
    const QByteArray old = ChannelFile::encode(makeState(StationKind::Band30_60, 1, 40));
    writeAll(path, old);
    const AppState state = makeState(StationKind::Band400_486, 2, 60);

    rlimit saved {};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit limited = saved;
    limited.rlim_cur = 512;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
    const QString failure = failureOf([&] { ChannelFile::save(state, path); });
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    QCOMPARE(failure, QStringLiteral("Unable to write to ") + path);
    QCOMPARE(readAll(path), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{"K7TV_10.ini"});
#else
    QSKIP("needs a POSIX file size limit");
#endif
}

void TestChannelFile::tooManyOpenFiles()
{
#ifdef Q_OS_UNIX
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("K7TV_10.ini"));
    const AppState state = makeState(StationKind::Band144_174, 0, 1);
    QCOMPARE(ChannelFile::save(state, path), MaybeRefusal());
    AppState loaded;

    const int lowestFree = ::open("/dev/null", O_RDONLY);
    QVERIFY(lowestFree >= 0);
    ::close(lowestFree);
    rlimit saved {};
    QCOMPARE(getrlimit(RLIMIT_NOFILE, &saved), 0);
    rlimit limited = saved;
    limited.rlim_cur = static_cast<rlim_t>(lowestFree);
    QCOMPARE(setrlimit(RLIMIT_NOFILE, &limited), 0);
    const QString saveFailure = failureOf([&] { ChannelFile::save(state, path); });
    const QString loadFailure = failureOf([&] { ChannelFile::load(path, loaded); });
    setrlimit(RLIMIT_NOFILE, &saved);

    QCOMPARE(saveFailure, QStringLiteral("Too many open files."));
    QCOMPARE(loadFailure, QStringLiteral("Too many open files."));
    QCOMPARE(loaded.settingsLines, QStringList());
#else
    QSKIP("needs a POSIX open file limit");
#endif
}

void TestChannelFile::ioMessages_data()
{
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("message");
    QTest::newRow("ENOENT") << ENOENT << "File not found.";
    QTest::newRow("ENAMETOOLONG") << ENAMETOOLONG << "Invalid filename.";
    QTest::newRow("EMFILE") << EMFILE << "Too many open files.";
    QTest::newRow("EACCES") << EACCES << "File access denied.";
    QTest::newRow("EPERM") << EPERM << "File access denied.";
    QTest::newRow("EROFS") << EROFS << "File access denied.";
    // Numbers of other errors must not be taken for the four above.
    QTest::newRow("EINTR") << EINTR << QStringLiteral("I/O error %1.").arg(EINTR);
    QTest::newRow("EIO") << EIO << QStringLiteral("I/O error %1.").arg(EIO);
    QTest::newRow("ENOSPC") << ENOSPC << QStringLiteral("I/O error %1.").arg(ENOSPC);
}

void TestChannelFile::ioMessages()
{
    QFETCH(int, error);
    QFETCH(QString, message);
    QCOMPARE(IoError::message(error), message);
}

void TestChannelFile::gapEndsTheChannels()
{
    AppState state;
    const auto result = loadText("[1]\nRx=1\n[2]\nRx=2\n[3]\nRx=3\n[5]\nRx=5\n", state);
    QCOMPARE(result.channelCount, 3);
    QCOMPARE(state.table.rowCount(), 4);
    QCOMPARE(state.table.cell(ChannelTable::Rx, 3), QStringLiteral("3"));
}

void TestChannelFile::sectionWithOnlyRx()
{
    AppState state;
    loadText("[1]\nRx=150000\n", state);
    const QStringList expected{"1", "150000", "144000", "Нет", "Нет", "Нет", "Нет", "Нет", "Нет",
                               "1", "1", "1", "", "25", "", "Норм", "Нет", ""};
    for (int c = 0; c < ChannelTable::ColumnCount; ++c) {
        QCOMPARE(state.table.cell(c, 1), expected.at(c));
        QVERIFY(!state.table.isChecked(c, 1));
    }
}

void TestChannelFile::checkBoxValues_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("ticked");
    QTest::newRow("да") << "=да" << true;
    QTest::newRow("Да") << "=Да" << true;
    QTest::newRow("нет") << "=нет" << false;
    QTest::newRow("нет with blanks") << " =  нет " << false;
    QTest::newRow("Нет") << "=Нет" << true;
    QTest::newRow("empty") << "=" << true;
    QTest::newRow("missing") << "" << false;
}

void TestChannelFile::checkBoxValues()
{
    QFETCH(QString, line);
    QFETCH(bool, ticked);
    QString text = QStringLiteral("[1]\nRx=1\n");
    if (!line.isEmpty()) {
        for (const QString key : {"Сканировать", "Id_Тон", "Активен"})
            text += key + line + u'\n';
    }
    AppState state;
    loadText(text, state);
    for (const int column : {ChannelTable::Scan, ChannelTable::IdTone, ChannelTable::Active})
        QCOMPARE(state.table.isChecked(column, 1), ticked);
}

void TestChannelFile::codes_data()
{
    QTest::addColumn<QString>("lines");
    QTest::addColumn<int>("kind");  // -1: none selected
    QTest::addColumn<int>("band");
    QTest::addColumn<int>("module");
    QTest::addColumn<int>("menu");
    QTest::newRow("Тип 2") << "Тип=2" << int(StationKind::Band30_60) << 1 << 0 << 0;
    QTest::newRow("Тип 9") << "Тип=9\nТипВУ=2" << -1 << 9 << 2 << 2;
    QTest::newRow("hex") << "Тип=0x3\nТипВУ=$5" << int(StationKind::Band400_486) << 3 << 5 << 5;
    QTest::newRow("low byte") << "тип=$103\nТипВУ=-251" << int(StationKind::Band400_486) << 3 << 5 << 5;
    QTest::newRow("not numbers") << "Тип=три\nТипВУ=1.0" << int(StationKind::Band144_174) << 0 << 0 << 0;
    QTest::newRow("module code above 5") << "Тип=1\nТипВУ=7" << int(StationKind::Band30_60) << 1 << 7 << 4;
}

void TestChannelFile::codes()
{
    QFETCH(QString, lines);
    QFETCH(int, kind);
    QFETCH(int, band);
    QFETCH(int, module);
    QFETCH(int, menu);
    AppState state = makeState(StationKind::Band400_486, 4, 1);
    const auto result = loadText("[Общие установки]\n" + lines + "\n[1]\nRx=1\n", state);
    QCOMPARE(result.selectedStation.has_value(), kind >= 0);
    QCOMPARE(int(state.stationKind), kind >= 0 ? kind : int(StationKind::Band400_486));
    QCOMPARE(state.profile.bandCode, kind >= 0 ? band : 3);
    QCOMPARE(state.bandCode, band);
    QCOMPARE(state.moduleCode, module);
    QCOMPARE(state.moduleMenuIndex, menu);
    // A later save writes the codes as they now stand.
    const Profile saved = Profile::fromText(ChannelFile::text(state));
    QCOMPARE(saved.value(kGeneral, QStringLiteral("Тип")), std::optional<QString>(QString::number(band)));
    QCOMPARE(saved.value(kGeneral, QStringLiteral("ТипВУ")), std::optional<QString>(QString::number(module)));
}

void TestChannelFile::settingsTextIsRebuilt()
{
    AppState state;
    loadText("[общие установки]\nСК=5\n; remark\nгромкость = 12\nТип=3\nчужой=1\nId_номер=ABCD\nСК=6\n[1]\nRx=1\n", state);
    const QStringList expected{"[Общие установки]", "Серийный номер=100000", "Id_номер=ABCD", "Тон1=1000",
                               "Тон2=1000", "Тон3=1000", "Тон4=1000", "Тон5=1000", "Тон6=1000", "Тон7=1000",
                               "Тон8=1000", "Тон9=1000", "Тон10=1000", "P_1=1", "P_2=1", "P_3=1", "P_4=1",
                               "Яркость диодов=1", "Громкость=12", "МинГромкость=1", "Пик_кнопок=+", "ФВ=00",
                               "Код_DCS=+", "Ф_Скан=-", "Ф_V=-", "ВУ=-", "СК=5"};
    QCOMPARE(state.settingsLines, expected);
}

void TestChannelFile::withoutSectionOne_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("band");
    QTest::addColumn<QString>("volumeLine");
    QTest::newRow("no section 1") << Windows1251::encode("[Общие установки]\nТип=3\nГромкость=5\n[2]\nRx=1\n") << 3
                                  << "Громкость=5";
    QTest::newRow("section 1 without keys") << QByteArray("[1]\nnothing here\n[2]\nRx=1\n") << 0 << "Громкость=8";
    QTest::newRow("not INI at all") << QByteArray("Dear technician,\nplease find the channels attached.\n") << 0
                                    << "Громкость=8";
    QByteArray garbage(65536, '\0');
    QRandomGenerator random(7);
    for (char &byte : garbage)
        byte = static_cast<char>(random.bounded(256));
    garbage.replace('[', '{');
    QTest::newRow("binary garbage") << garbage << 0 << "Громкость=8";
}

void TestChannelFile::withoutSectionOne()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, band);
    QFETCH(QString, volumeLine);
    AppState state = makeState(StationKind::Band30_60, 4, 5);
    state.dataValid = true;
    const auto result = ChannelFile::loadBytes(bytes, state);
    QCOMPARE(result.refusal, MaybeRefusal(Refusal{QStringLiteral("Fixed row count must be less than row count")}));
    QCOMPARE(result.channelCount, 0);
    QCOMPARE(state.table.rowCount(), 1);
    QCOMPARE(state.table.cell(ChannelTable::Tx, 0), QStringLiteral(" Tx, кГЦ"));
    QCOMPARE(state.settingsLines.size(), 27);
    QCOMPARE(state.settingsLines.at(18), volumeLine);
    QCOMPARE(state.bandCode, band);
    QCOMPARE(state.moduleCode, 0);
    QVERIFY(!state.dataValid);
}

void TestChannelFile::longValuesAreCut()
{
    AppState state;
    loadText("[Общие установки]\nId_номер=" + QString(5000, u'A') + "\n" + QString(100000, u'z')
                 + "\n[1]\nRx=" + QString(3000, u'1') + "\nTx=2\n",
             state);
    QCOMPARE(state.settingsLines.at(2), QStringLiteral("Id_номер=") + QString(2047, u'A'));
    QCOMPARE(state.table.cell(ChannelTable::Rx, 1), QString(2047, u'1'));
    QCOMPARE(state.table.cell(ChannelTable::Tx, 1), QStringLiteral("2"));
}

void TestChannelFile::moreChannelsThanTheImageTakes()
{
    QString text;
    for (int i = 1; i <= 120; ++i)
        text += QStringLiteral("[%1]\nНомер=%1\n").arg(i);
    AppState state;
    QCOMPARE(loadText(text, state).channelCount, 120);
    QCOMPARE(state.table.cell(ChannelTable::Number, 120), QStringLiteral("120"));
    QCOMPARE(state.table.checkBoxRowCount(), 121);
    QVERIFY(state.table.isChecked(ChannelTable::Active, 120) == false);

    // A damaged file of countless sections stops at a table of MaxChannelRows.
    text.clear();
    for (int i = 1; i <= ChannelFile::MaxChannelRows + 50; ++i)
        text += QStringLiteral("[%1]\nk=\n").arg(i);
    QCOMPARE(loadText(text, state).channelCount, ChannelFile::MaxChannelRows);
}

// 20 MB: 200 000 lines of junk keys in the general section, one
// of junk in channel section 1 before its real key, and one line of 6 MB.
void TestChannelFile::hugeFile()
{
    QByteArray bytes = Windows1251::encode(QStringLiteral("[Общие установки]\r\nТип=3\r\n"));
    bytes.reserve(21 << 20);
    for (int i = 0; i < 200000; ++i)
        bytes += "junk" + QByteArray::number(i) + "=" + QByteArray(30, 'j') + "\r\n";
    bytes += "[1]\r\n";
    while (bytes.size() < (14 << 20))
        bytes += "Rx" + QByteArray::number(bytes.size()) + "=" + QByteArray(40, 'r') + "\r\n";
    bytes += "Rx=155000\r\n" + QByteArray(6 << 20, 'q') + "\r\n[2]\r\nRx=156000\r\n";
    AppState state;
    const auto result = ChannelFile::loadBytes(bytes, state);
    QCOMPARE(result.channelCount, 2);
    QCOMPARE(state.stationKind, StationKind::Band400_486);
    QCOMPARE(state.table.cell(ChannelTable::Rx, 1), QStringLiteral("155000"));
    QCOMPARE(state.table.cell(ChannelTable::Rx, 2), QStringLiteral("156000"));
}

void TestChannelFile::encodings_data()
{
    const QString text = QStringLiteral("[Общие установки]\r\nСерийный номер=АБВ\r\nТип=3\r\n[1]\r\nTx_Off=Норм\r\nАктивен=нет\r\n");
    const auto encoded = [&](QStringConverter::Encoding encoding, bool bom) {
        QStringEncoder encoder(encoding, bom ? QStringConverter::Flag::WriteBom : QStringConverter::Flag::Default);
        return QByteArray(encoder.encode(text));
    };
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<TextEncoding>("encoding");
    QTest::newRow("Windows-1251") << Windows1251::encode(text) << TextEncoding::Windows1251;
    QTest::newRow("UTF-8") << encoded(QStringConverter::Utf8, false) << TextEncoding::Utf8;
    QTest::newRow("UTF-8 with BOM") << encoded(QStringConverter::Utf8, true) << TextEncoding::Utf8;
    QTest::newRow("UTF-16LE with BOM") << encoded(QStringConverter::Utf16LE, true) << TextEncoding::Utf16LE;
    QTest::newRow("UTF-16BE with BOM") << encoded(QStringConverter::Utf16BE, true) << TextEncoding::Utf16BE;
}

void TestChannelFile::encodings()
{
    QFETCH(QByteArray, bytes);
    QFETCH(TextEncoding, encoding);
    AppState state;
    const auto result = ChannelFile::loadBytes(bytes, state);
    QCOMPARE(result.encoding, encoding);
    QCOMPARE(state.settingsLines.at(1), QStringLiteral("Серийный номер=АБВ"));
    QCOMPARE(state.stationKind, StationKind::Band400_486);
    QCOMPARE(state.table.cell(ChannelTable::TxOff, 1), QStringLiteral("Норм"));
    QVERIFY(!state.table.isChecked(ChannelTable::Active, 1));
}

void TestChannelFile::loadFailures_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");
    QTest::newRow("missing file") << "missing.ini" << "File not found.";
    QTest::newRow("folder") << "folder" << "File access denied.";
    QTest::newRow("path through a file") << "plain.ini/K7TV_10.ini" << "Invalid filename.";
#ifdef Q_OS_UNIX
    QTest::newRow("pipe") << "pipe" << "File access denied.";
#endif
}

void TestChannelFile::loadFailures()
{
    QFETCH(QString, name);
    QFETCH(QString, message);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));
    writeAll(dir.filePath(QStringLiteral("plain.ini")), "[1]\nRx=1\n");
#ifdef Q_OS_UNIX
    QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("pipe"))).constData(), 0600), 0);
#endif
    AppState state = makeState(StationKind::Band30_60, 3, 4);
    state.dataValid = true;
    const QByteArray before = ChannelFile::encode(state);
    QCOMPARE(failureOf([&] { ChannelFile::load(dir.filePath(name), state); }), message);
    QCOMPARE(ChannelFile::encode(state), before);
    QVERIFY(state.dataValid);
}

void TestChannelFile::readOnlyFileIsRefused()
{
#ifdef Q_OS_UNIX
    if (::geteuid() == 0)
        QSKIP("root opens read-only files for writing");
#endif
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("K7TV_10.ini"));
    writeAll(path, "[1]\nRx=1\n");
    QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner));
    AppState state;
    QCOMPARE(failureOf([&] { ChannelFile::load(path, state); }), QStringLiteral("File access denied."));
    QCOMPARE(failureOf([&] { ChannelFile::save(state, path); }), QStringLiteral("File access denied."));
    QCOMPARE(readAll(path), QByteArray("[1]\nRx=1\n"));
}

QTEST_APPLESS_MAIN(TestChannelFile)
#include "tst_channelfile.moc"
