// Loading a channel file: the sections and keys it takes, the defaults of
// missing ones, the codes, encodings and the files it cannot load.
#include "support/channelfilefixtures.h"

using namespace ChannelFileFixtures;

class TestChannelFileLoad : public QObject
{
    Q_OBJECT

private slots:
    void lackingParts_data();
    void lackingParts();
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

void TestChannelFileLoad::lackingParts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("channels");
    QTest::addColumn<QString>("warning"); // lines after the first
    ChannelPlan state = makeState(StationKind::Band144_174, 2, 5);
    const QString whole = ChannelFile::text(state);
    const auto without = [&](const QString &from, const QString &to) {
        const qsizetype start = whole.indexOf(from);
        return QString(whole).remove(start, to.isEmpty() ? whole.size() : whole.indexOf(to, start) - start);
    };
    const QString channelKeys = "Tx, CTCSS_Rx, CTCSS_Tx, DCS_Rx, DCS_Tx, Тон_Rx, Тон_Tx, ШП, P_max, P_min, "
                                "Сканировать, Sw, Id_Тон, Tx_Off, Время, Активен";
    const QString read5 = "файл каналов читается из раздела [Общие установки] и разделов каналов [1]-[5], идущих "
                          "подряд.";
    const QString read2 = QString(read5).replace("[5]", "[2]");
    QTest::newRow("a whole file") << whole << 5 << "";
    QTest::newRow("saved from a template, without a serial number")
        << QString(whole).remove("Серийный номер=A1B2C3\r\n") << 5 << "";
    QTest::newRow("gap after section 3") << QStringLiteral("[1]\nRx=1\n[2]\nRx=2\n[3]\nRx=3\n[5]\nRx=5\n") << 3
                                         << "Значения по умолчанию взяты для ключей:\n[Общие установки]: все ключи\n"
                                            "[1]-[3]: Номер, "
                                                + channelKeys
                                                + "\nНе прочитан раздел [5]: " + QString(read5).replace("[5]", "[3]");
    QTest::newRow("section 3 misspelt") << QString(whole).replace("[3]", "[З]") << 2
                                        << "Не прочитаны разделы [З], [4], [5]: " + read2;
    QTest::newRow("section 3 missing") << without("[3]", "[4]") << 2 << "Не прочитаны разделы [4], [5]: " + read2;
    QTest::newRow("cut off in section 5")
        << without("Tx=140005", "") << 5 << "Значения по умолчанию взяты для ключей:\n[5]: " + channelKeys;
    QTest::newRow("cut off behind the name of section 5")
        << without("Номер=15", "") << 4 << "Не прочитан раздел [5]: " + QString(read5).replace("[5]", "[4]");
    QTest::newRow("Tx missing in every section") << QString(whole).remove(QRegularExpression("Tx=14000.\r\n")) << 5
                                                 << "Значения по умолчанию взяты для ключей:\n[1]-[5]: Tx";
    QTest::newRow("keys missing in the general section, and an unknown section")
        << QString(whole).remove("Id_номер=12AB\r\n").remove("Тип=0\r\n") + "[Заметки]\r\nкто=техник\r\n"
        << 5
        << "Значения по умолчанию взяты для ключей:\n[Общие установки]: Id_номер, Тип\nНе прочитан раздел "
           "[Заметки]: "
               + read5;
    // Every other section of 24 holds only Rx, and 20 follow a gap.
    QString allKeys;
    for (const auto &key : ChannelFileFormat::channelKeys())
        allKeys += key.name + "=1\n";
    QString many;
    QString manyWarning = "Значения по умолчанию взяты для ключей:\n[Общие установки]: все ключи\n";
    for (int i = 1; i <= 24; ++i) {
        many += QStringLiteral("[%1]\n").arg(i) + (i % 2 ? QStringLiteral("Rx=1\n") : allKeys);
        if (i % 2 && i < 19)
            manyWarning += QStringLiteral("[%1]: Номер, %2\n").arg(i).arg(channelKeys);
    }
    manyWarning += "и ещё в 3 разделах\nНе прочитаны разделы";
    for (int i = 26; i <= 45; ++i) {
        many += QStringLiteral("[%1]\nRx=1\n").arg(i);
        if (i <= 35)
            manyWarning += QStringLiteral("%1[%2]").arg(i == 26 ? " " : ", ").arg(i);
    }
    QTest::newRow("long lists are cut") << many << 24
                                        << manyWarning + " и ещё 10: " + QString(read5).replace("[5]", "[24]");
}

void TestChannelFileLoad::lackingParts()
{
    QFETCH(QString, text);
    QFETCH(int, channels);
    QFETCH(QString, warning);
    ChannelPlan state;
    const auto result = loadText(text, state);
    QCOMPARE(result.channelCount, channels);
    QCOMPARE(state.table.rowCount(), channels + 1);
    const QString expected =
        warning.isEmpty()
            ? QString()
            : "Файл каналов загружен, но в нём недостаёт данных; проверьте таблицу и общие установки.\n" + warning;
    QCOMPARE(ChannelFile::lackingText(result.lacking), expected);
}

void TestChannelFileLoad::sectionWithOnlyRx()
{
    ChannelPlan state;
    loadText("[1]\nRx=150000\n", state);
    const QStringList expected{"1", "150000", "144000", "Нет", "Нет", "Нет", "Нет",  "Нет", "Нет",
                               "1", "1",      "1",      "",    "25",  "",    "Норм", "Нет", ""};
    for (int c = 0; c < ChannelTable::ColumnCount; ++c) {
        QCOMPARE(state.table.cell(c, 1), expected.at(c));
        QVERIFY(!state.table.isChecked(c, 1));
    }
}

void TestChannelFileLoad::checkBoxValues_data()
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

void TestChannelFileLoad::checkBoxValues()
{
    QFETCH(QString, line);
    QFETCH(bool, ticked);
    QString text = QStringLiteral("[1]\nRx=1\n");
    if (!line.isEmpty()) {
        for (const QString key : {"Сканировать", "Id_Тон", "Активен"})
            text += key + line + u'\n';
    }
    ChannelPlan state;
    loadText(text, state);
    for (const int column : {ChannelTable::Scan, ChannelTable::IdTone, ChannelTable::Active})
        QCOMPARE(state.table.isChecked(column, 1), ticked);
}

void TestChannelFileLoad::codes_data()
{
    QTest::addColumn<QString>("lines");
    QTest::addColumn<int>("kind"); // -1: none selected
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

void TestChannelFileLoad::codes()
{
    QFETCH(QString, lines);
    QFETCH(int, kind);
    QFETCH(int, band);
    QFETCH(int, module);
    QFETCH(int, menu);
    ChannelPlan state = makeState(StationKind::Band400_486, 4, 1);
    const auto result = loadText("[Общие установки]\n" + lines + "\n[1]\nRx=1\n", state);
    QCOMPARE(result.selectedStation.has_value(), kind >= 0);
    QCOMPARE(int(state.stationKind), kind >= 0 ? kind : int(StationKind::Band400_486));
    QCOMPARE(state.profile().bandCode, kind >= 0 ? band : 3);
    QCOMPARE(state.bandCode, band);
    QCOMPARE(state.moduleCode, module);
    QCOMPARE(state.chosenModule, menu);
    // A later save writes the codes as they now stand.
    const Profile saved = Profile::fromText(ChannelFile::text(state));
    QCOMPARE(saved.value(kGeneral, QStringLiteral("Тип")), std::optional<QString>(QString::number(band)));
    QCOMPARE(saved.value(kGeneral, QStringLiteral("ТипВУ")), std::optional<QString>(QString::number(module)));
}

void TestChannelFileLoad::settingsTextIsRebuilt()
{
    ChannelPlan state;
    loadText("[общие установки]\nСК=5\n; remark\nгромкость = 12\nТип=3\nчужой=1\nId_номер=ABCD\nСК=6\n[1]\nRx=1\n",
             state);
    const QStringList expected{"[Общие установки]",
                               "Серийный номер=100000",
                               "Id_номер=ABCD",
                               "Тон1=1000",
                               "Тон2=1000",
                               "Тон3=1000",
                               "Тон4=1000",
                               "Тон5=1000",
                               "Тон6=1000",
                               "Тон7=1000",
                               "Тон8=1000",
                               "Тон9=1000",
                               "Тон10=1000",
                               "P_1=1",
                               "P_2=1",
                               "P_3=1",
                               "P_4=1",
                               "Яркость диодов=1",
                               "Громкость=12",
                               "МинГромкость=1",
                               "Пик_кнопок=+",
                               "ФВ=00",
                               "Код_DCS=+",
                               "Ф_Скан=-",
                               "Ф_V=-",
                               "ВУ=-",
                               "СК=5"};
    QCOMPARE(state.settingsLines, expected);
}

void TestChannelFileLoad::withoutSectionOne_data()
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

void TestChannelFileLoad::withoutSectionOne()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, band);
    QFETCH(QString, volumeLine);
    ChannelPlan state = makeState(StationKind::Band30_60, 4, 5);
    const auto result = ChannelFile::loadBytes(bytes, state);
    QCOMPARE(result.refusal, MaybeRefusal(Refusal{QStringLiteral("Fixed row count must be less than row count")}));
    QCOMPARE(result.channelCount, 0);
    QCOMPARE(state.table.rowCount(), 1);
    QCOMPARE(state.table.cell(ChannelTable::Tx, 0), QStringLiteral(" Tx, кГЦ"));
    QCOMPARE(state.settingsLines.size(), 27);
    QCOMPARE(state.settingsLines.at(18), volumeLine);
    QCOMPARE(state.bandCode, band);
    QCOMPARE(state.moduleCode, 0);
}

void TestChannelFileLoad::longValuesAreCut()
{
    ChannelPlan state;
    loadText("[Общие установки]\nId_номер=" + QString(5000, u'A') + "\n" + QString(100000, u'z')
                 + "\n[1]\nRx=" + QString(3000, u'1') + "\nTx=2\n",
             state);
    QCOMPARE(state.settingsLines.at(2), QStringLiteral("Id_номер=") + QString(2047, u'A'));
    QCOMPARE(state.table.cell(ChannelTable::Rx, 1), QString(2047, u'1'));
    QCOMPARE(state.table.cell(ChannelTable::Tx, 1), QStringLiteral("2"));
}

void TestChannelFileLoad::moreChannelsThanTheImageTakes()
{
    QString text;
    for (int i = 1; i <= 120; ++i)
        text += QStringLiteral("[%1]\nНомер=%1\n").arg(i);
    ChannelPlan state;
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

// 20 MB: 200 000 lines of junk keys in the general section, one
// of junk in channel section 1 before its real key, and one line of 6 MB.
void TestChannelFileLoad::hugeFile()
{
    QByteArray bytes = Windows1251::encode(QStringLiteral("[Общие установки]\r\nТип=3\r\n"));
    bytes.reserve(21 << 20);
    for (int i = 0; i < 200000; ++i)
        bytes += "junk" + QByteArray::number(i) + "=" + QByteArray(30, 'j') + "\r\n";
    bytes += "[1]\r\n";
    while (bytes.size() < (14 << 20))
        bytes += "Rx" + QByteArray::number(bytes.size()) + "=" + QByteArray(40, 'r') + "\r\n";
    bytes += "Rx=155000\r\n" + QByteArray(6 << 20, 'q') + "\r\n[2]\r\nRx=156000\r\n";
    ChannelPlan state;
    const auto result = ChannelFile::loadBytes(bytes, state);
    QCOMPARE(result.channelCount, 2);
    QCOMPARE(state.stationKind, StationKind::Band400_486);
    QCOMPARE(state.table.cell(ChannelTable::Rx, 1), QStringLiteral("155000"));
    QCOMPARE(state.table.cell(ChannelTable::Rx, 2), QStringLiteral("156000"));
}

void TestChannelFileLoad::encodings_data()
{
    const QString text =
        QStringLiteral("[Общие установки]\r\nСерийный номер=АБВ\r\nТип=3\r\n[1]\r\nTx_Off=Норм\r\nАктивен=нет\r\n");
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
    // Mostly Windows-1251: one line in UTF-8 does not make the file UTF-8.
    QTest::newRow("Windows-1251 with a UTF-8 line")
        << Windows1251::encode(text) + QStringLiteral("; правка\r\n").toUtf8() << TextEncoding::Windows1251;
    // Capitals before "»", "—" or "№" form valid UTF-8 pairs ("Т»" reads as "һ"), a
    // line of nothing else is valid UTF-8 as a whole.
    QTest::newRow("Windows-1251 whose letters and marks form UTF-8 pairs")
        << Windows1251::encode(text + QStringLiteral("; ЦЕНТР «ТРАКТ»: ЁМКОСТЬ №5 ПРОВЕРЕНА\r\n; Т—2, Л№7\r\n"))
        << TextEncoding::Windows1251;
}

void TestChannelFileLoad::encodings()
{
    QFETCH(QByteArray, bytes);
    QFETCH(TextEncoding, encoding);
    ChannelPlan state;
    const auto result = ChannelFile::loadBytes(bytes, state);
    QCOMPARE(result.encoding, encoding);
    QCOMPARE(state.settingsLines.at(1), QStringLiteral("Серийный номер=АБВ"));
    QCOMPARE(state.stationKind, StationKind::Band400_486);
    QCOMPARE(state.table.cell(ChannelTable::TxOff, 1), QStringLiteral("Норм"));
    QVERIFY(!state.table.isChecked(ChannelTable::Active, 1));
}

void TestChannelFileLoad::loadFailures_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes"); // written to "given.ini"
    QTest::addColumn<QString>("message");  // {path} stands for the path given, as the system writes it
    const QString utf8Text = QStringLiteral("[Общие установки]\r\nГромкость=3\r\n[1]\r\nRx=150000\r\n");
    const QByteArray utf8 = utf8Text.toUtf8();
    const QByteArray cp1251Comment = Windows1251::encode(QStringLiteral("; поправил техник\r\n"));
    const QString mixed = QStringLiteral("Файл не загружен: в нём смешаны кодировки. Строка %1 записана в UTF-8, "
                                         "а строка %2 - нет. Сохраните файл целиком в одной кодировке, UTF-8 или "
                                         "Windows-1251.");
    // The technician's note of 525 bytes, added in Windows-1251: its bytes
    // that fit no UTF-8 character outnumber the file's Russian letters.
    const QByteArray note = Windows1251::encode(QStringLiteral("Примечание=")
                                                + QStringLiteral("Станция после ремонта, частоты сверены "
                                                                 "с журналом «Связь». ")
                                                      .repeated(10))
                                .first(525)
                            + "\r\n";
    const QByteArray utf8File =
        QStringLiteral("[Общие установки]\r\nId_номер=0777\r\nГромкость=3\r\n[1]\r\nRx=150000\r\nTx_Off=RSSI\r\n")
            .toUtf8();
    const QString folder = QStringLiteral("Файл \"{path}\" не прочитан: это папка, а не файл.");
    const QString device = QStringLiteral("Файл \"{path}\" не прочитан: это не обычный файл, а устройство или канал.");
    QTest::newRow("missing file") << "missing.ini" << QByteArray() << IoError::message(ENOENT);
    QTest::newRow("folder") << "folder" << QByteArray() << folder;
    QTest::newRow("path through a file") << "plain.ini/K7TV_10.ini" << QByteArray() << IoError::message(ENOTDIR);
#ifdef Q_OS_UNIX
    QTest::newRow("pipe") << "pipe" << QByteArray() << device;
    QTest::newRow("device") << "/dev/null" << QByteArray() << device;
    QTest::newRow("over 16 MB") << "large.ini" << QByteArray()
                                << QStringLiteral("Файл \"{path}\" не прочитан: в нём 16777217 байт, а больше 16 МБ "
                                                  "файл каналов не бывает (обычно он меньше 100 КБ).");
#endif
    QTest::newRow("UTF-8 with a Windows-1251 line") << "given.ini" << utf8 + cp1251Comment << mixed.arg(1).arg(5);
    QTest::newRow("UTF-8 with BOM, Windows-1251 first line")
        << "given.ini"
        << "\xEF\xBB\xBF" + cp1251Comment + utf8 << mixed.arg(2).arg(1);
    QTest::newRow("UTF-8, a stray byte in a line") << "given.ini"
                                                   << QByteArray(utf8).replace("Rx=150000", "Rx=150\xA0"
                                                                                            "000")
                                                   << mixed.arg(1).arg(4);
    QTest::newRow("UTF-8 with a long Windows-1251 note")
        << "given.ini" << utf8File.first(utf8File.indexOf("[1]")) + note + utf8File.sliced(utf8File.indexOf("[1]"))
        << mixed.arg(1).arg(4);
    const QString volume = QStringLiteral("Громкость");
    QTest::newRow("Windows-1251 with a UTF-8 key")
        << "given.ini"
        << cp1251Comment + Windows1251::encode(utf8Text).replace(Windows1251::encode(volume), volume.toUtf8())
        << mixed.arg(3).arg(1);
}

void TestChannelFileLoad::loadFailures()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));
    writeAll(dir.filePath(QStringLiteral("plain.ini")), "[1]\nRx=1\n");
    writeAll(dir.filePath(QStringLiteral("given.ini")), bytes);
    {
        // One byte over the limit, without writing 16 MB (a sparse file).
        QFile large(dir.filePath(QStringLiteral("large.ini")));
        QVERIFY(large.open(QIODevice::WriteOnly) && large.resize(ChannelFile::MaxFileBytes + 1));
    }
#ifdef Q_OS_UNIX
    QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("pipe"))).constData(), 0600), 0);
#endif
    ChannelPlan state = makeState(StationKind::Band30_60, 3, 4);
    const QByteArray before = ChannelFile::encode(state);
    const QString path = QDir(dir.path()).filePath(name);
    QCOMPARE(failureOf([&] { ChannelFile::load(path, state); }),
             QString(message).replace("{path}", QDir::toNativeSeparators(path)));
    QCOMPARE(ChannelFile::encode(state), before);
}

void TestChannelFileLoad::readOnlyFileIsRefused()
{
#ifdef Q_OS_UNIX
    if (::geteuid() == 0)
        QSKIP("root opens read-only files for writing");
#endif
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("K7TV_10.ini"));
    writeAll(path, "[1]\nRx=1\n");
    QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner));
    ChannelPlan state;
    QCOMPARE(failureOf([&] { ChannelFile::load(path, state); }), IoError::message(EACCES));
    QCOMPARE(failureOf([&] { ChannelFile::save(state, path); }), IoError::message(EACCES));
    QCOMPARE(readAll(path), QByteArray("[1]\nRx=1\n"));
}

QTEST_APPLESS_MAIN(TestChannelFileLoad)
#include "tst_channelfileload.moc"
