// Saving a channel file: its text and layout, round trips through a load,
// and a save that is refused or fails leaving the old file whole.
#include "support/channelfilefixtures.h"

using namespace ChannelFileFixtures;

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
};

void TestChannelFile::roundTrip_data()
{
    QTest::addColumn<StationKind>("kind");
    QTest::addColumn<int>("module");
    QTest::addColumn<int>("channels");
    // Cyrillic names reach the file system through its own wide calls on Windows.
    QTest::addColumn<QString>("name");
    QTest::newRow("30-60") << StationKind::Band30_60 << 1 << 3 << QStringLiteral("K7TV_10.ini");
    QTest::newRow("144-174, Cyrillic name")
        << StationKind::Band144_174 << 0 << 10 << QStringLiteral("Такси Ветрал №10.ini");
    QTest::newRow("400-486, Cyrillic folder")
        << StationKind::Band400_486 << 5 << 99 << QStringLiteral("Станции/К7ТВ ёЁ.ini");
}

void TestChannelFile::roundTrip()
{
    QFETCH(StationKind, kind);
    QFETCH(int, module);
    QFETCH(int, channels);
    QFETCH(QString, name);
    const ChannelPlan saved = makeState(kind, static_cast<std::uint8_t>(module), channels);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    QCOMPARE(ChannelFile::save(saved, path), MaybeRefusal());

    ChannelPlan loaded =
        makeState(kind == StationKind::Band144_174 ? StationKind::Band30_60 : StationKind::Band144_174, 3, 2);
    const auto result = ChannelFile::load(path, loaded);
    QCOMPARE(result.refusal, MaybeRefusal());
    QCOMPARE(result.selectedStation, std::optional<StationKind>(kind));
    QCOMPARE(result.channelCount, channels);
    QCOMPARE(loaded.stationKind, kind);
    QCOMPARE(loaded.bandCode, saved.bandCode);
    QCOMPARE(loaded.moduleCode, module);
    QCOMPARE(loaded.chosenModule, module);
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
    ChannelPlan state;
    state.selectStation(StationKind::Band400_486);
    state.setModuleCode(2); // "Модуль Смартранк"
    state.settingsLines = SettingsText::templateLines();
    state.table.setRowCount(2);
    state.table.addCheckBoxes();
    state.table.setCell(ChannelTable::Number, 1, QStringLiteral("7"));
    state.table.setCell(ChannelTable::Tx, 1, QStringLiteral("400012,5"));
    state.table.setChecked(ChannelTable::Active, 1, false);
    QStringList lines = SettingsText::templateLines();
    lines << "Тип=3"
          << "ТипВУ=2"
          << ""
          << "[1]"
          << "Номер=7"
          << "Rx="
          << "Tx=400012,5"
          << "CTCSS_Rx="
          << "CTCSS_Tx="
          << "DCS_Rx="
          << "DCS_Tx="
          << "Тон_Rx="
          << "Тон_Tx="
          << "ШП="
          << "P_max="
          << "P_min="
          << "Сканировать=да"
          << "Sw="
          << "Id_Тон=нет"
          << "Tx_Off="
          << "Время="
          << "Активен=нет";
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
    QTest::newRow("codes replaced in place") << QStringList{"[Общие установки]", "Тип=7", "Id_номер=0001", "тиПВу=9"}
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
    ChannelPlan state;
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
    const ChannelPlan state = makeState(StationKind::Band144_174, 0, 2);
    QCOMPARE(ChannelFile::save(state, path), MaybeRefusal());
    QCOMPARE(readAll(path), ChannelFile::encode(state));
}

void TestChannelFile::rowWithoutBoxesIsWrittenUnticked()
{
    ChannelPlan state = makeState(StationKind::Band144_174, 0, 2);
    state.selectStation(StationKind::Band30_60); // detaches every box, keeps the texts
    const Profile file = Profile::fromText(ChannelFile::text(state));
    for (const QString key : {"Сканировать", "Id_Тон", "Активен"})
        QCOMPARE(file.value(QStringLiteral("2"), key), std::optional<QString>(QStringLiteral("нет")));
    QCOMPARE(file.value(QStringLiteral("2"), QStringLiteral("Номер")), std::optional<QString>(QStringLiteral("6")));
}

void TestChannelFile::refusedSaveLeavesTheOldFile_data()
{
    QTest::addColumn<int>("line"); // memo line to replace (1-based), or 0
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
    ChannelPlan state = makeState(StationKind::Band144_174, 0, 3);
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
    QTest::newRow("missing folder") << "нет/K7TV_10.ini" << IoError::message(ENOENT);
    QTest::newRow("folder as the file") << "folder"
                                        << "Файл \"{path}\" не записан: это папка, а не файл.";
    QTest::newRow("path through a file") << "plain.ini/K7TV_10.ini" << IoError::message(ENOTDIR);
    QTest::newRow("name too long") << QString(300, u'x') + ".ini" << IoError::message(ENAMETOOLONG);
#ifdef Q_OS_WIN
    // Names that Windows gives its devices in every folder, also with an extension.
    const QString device = QStringLiteral("Файл \"{path}\" не записан: это не обычный файл, а устройство или канал; "
                                          "он оставлен без изменений.");
    QTest::newRow("NUL with an extension") << "nul.ini" << device;
    QTest::newRow("serial port") << "COM1" << device;
    QTest::newRow("console, any case") << "Con.txt" << device;
#endif
}

void TestChannelFile::saveFailures()
{
    QFETCH(QString, name);
    QFETCH(QString, message);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));
    writeAll(dir.filePath(QStringLiteral("plain.ini")), "old");
    const ChannelPlan state = makeState(StationKind::Band144_174, 0, 1);
    QCOMPARE(failureOf([&] { ChannelFile::save(state, dir.filePath(name)); }),
             QString(message).replace(QStringLiteral("{path}"), QDir::toNativeSeparators(dir.filePath(name))));
    QCOMPARE(readAll(dir.filePath(QStringLiteral("plain.ini"))), QByteArray("old"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             (QStringList{"folder", "plain.ini"}));
    QVERIFY(QDir(dir.filePath(QStringLiteral("folder"))).isEmpty());
}

// The file system refuses the new content half way (file size limit): the
// save reports the write failure and the old file is still there, whole.

// The file system refuses the new content half way (file size limit): the
// save reports the write failure and the old file is still there, whole.
void TestChannelFile::interruptedWriteLeavesTheOldFile()
{
#ifdef Q_OS_UNIX
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("K7TV_10.ini"));
    const QByteArray old = ChannelFile::encode(makeState(StationKind::Band30_60, 1, 40));
    writeAll(path, old);
    const ChannelPlan state = makeState(StationKind::Band400_486, 2, 60);

    rlimit saved{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit limited = saved;
    limited.rlim_cur = 512;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
    const QString failure = failureOf([&] { ChannelFile::save(state, path); });
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    QCOMPARE(failure, QStringLiteral("Не удалось записать в файл %1: файл больше, чем разрешено системой").arg(path));
    QCOMPARE(readAll(path), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{"K7TV_10.ini"});
#else
    QSKIP("needs a POSIX file size limit");
#endif
}

void TestChannelFile::tooManyOpenFiles()
{
#ifdef Q_OS_UNIX
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("K7TV_10.ini"));
    const ChannelPlan state = makeState(StationKind::Band144_174, 0, 1);
    QCOMPARE(ChannelFile::save(state, path), MaybeRefusal());
    ChannelPlan loaded;

    const int lowestFree = ::open("/dev/null", O_RDONLY);
    QVERIFY(lowestFree >= 0);
    ::close(lowestFree);
    rlimit saved{};
    QCOMPARE(getrlimit(RLIMIT_NOFILE, &saved), 0);
    rlimit limited = saved;
    limited.rlim_cur = static_cast<rlim_t>(lowestFree);
    QCOMPARE(setrlimit(RLIMIT_NOFILE, &limited), 0);
    const QString saveFailure = failureOf([&] { ChannelFile::save(state, path); });
    const QString loadFailure = failureOf([&] { ChannelFile::load(path, loaded); });
    setrlimit(RLIMIT_NOFILE, &saved);

    QCOMPARE(saveFailure, QStringLiteral("Открыто слишком много файлов."));
    QCOMPARE(loadFailure, QStringLiteral("Открыто слишком много файлов."));
    QCOMPARE(loaded.settingsLines, QStringList());
#else
    QSKIP("needs a POSIX open file limit");
#endif
}

void TestChannelFile::ioMessages_data()
{
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("message");
    QTest::newRow("ENOENT") << ENOENT << "Файл не найден.";
    QTest::newRow("ENAMETOOLONG") << ENAMETOOLONG << "Недопустимое имя файла.";
    QTest::newRow("EMFILE") << EMFILE << "Открыто слишком много файлов.";
    QTest::newRow("EACCES") << EACCES << "Доступ к файлу запрещен.";
    QTest::newRow("EPERM") << EPERM << "Доступ к файлу запрещен.";
    QTest::newRow("EROFS") << EROFS << "Доступ к файлу запрещен.";
    // Numbers of other errors must not be taken for the four above.
    QTest::newRow("EINTR") << EINTR << QStringLiteral("Ошибка ввода-вывода %1.").arg(EINTR);
    QTest::newRow("EIO") << EIO << QStringLiteral("Ошибка ввода-вывода %1.").arg(EIO);
    QTest::newRow("ENOSPC") << ENOSPC << QStringLiteral("Ошибка ввода-вывода %1.").arg(ENOSPC);
}

void TestChannelFile::ioMessages()
{
    QFETCH(int, error);
    QFETCH(QString, message);
    QCOMPARE(IoError::message(error), message);
}

QTEST_APPLESS_MAIN(TestChannelFile)
#include "tst_channelfile.moc"
