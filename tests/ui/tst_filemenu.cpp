#include "files/channelfile.h"
#include "files/ioerror.h"
#include "files/windows1251.h"
#include "main/channeltablemodel.h"
#include "main/recentfiles.h"
#include "mainwindowfixture.h"

#include <cerrno>
#include <QDir>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QUrl>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QTemporaryDir>

// "Запись в файл" and "Чтение файла" from the menu, with the dialogs answered by the test.
class FileMenuTest : public QObject
{
    Q_OBJECT
private slots:
    void saveDialogAndCancel();
    void newNameIsWritten_data();
    void newNameIsWritten();
    void saveThenLoadInAnotherWindow();
    void lastChosenNameIsProposed();
    void loadOfIncompleteFile_data();
    void loadOfIncompleteFile();
    void loadOfMissingFile();
    void refusedCharacterWritesNothing();
    void dialogsStartWhereWorkWas_data();
    void dialogsStartWhereWorkWas();
    void recentDroppedAndNamedFilesLoad_data();
    void recentDroppedAndNamedFilesLoad();
    void exitAsksBeforeLosingWork_data();
    void exitAsksBeforeLosingWork();
};

namespace {
void writeFile(const QString &path, const QString &text)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(Windows1251::encode(text));
}
} // namespace

void FileMenuTest::saveDialogAndCancel()
{
    MainWindowFixture f;
    f.makeTemplate("2", "140000", "1000");
    f.ui.nextSaveName.clear();
    f.trigger("N3");
    QCOMPARE(f.ui.dialogs.size(), 1);
    const auto &d = f.ui.dialogs.first();
    QCOMPARE(d.title, QStringLiteral("Сохранение данных радиостанции на диск"));
    QCOMPARE(d.filter, QStringLiteral("Файлы(*.ini)|*.ini"));
    QCOMPARE(d.proposedName, QStringLiteral("K7TV_10.ini"));
    QCOMPARE(d.folder, QDir::homePath());
    QVERIFY(f.ui.messages.isEmpty());
}

void FileMenuTest::newNameIsWritten_data()
{
    QTest::addColumn<bool>("exists");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("written");
    QTest::newRow("new file, nothing asked") << false << false << false << true;
    QTest::newRow("existing file") << true << false << false << true;
}

void FileMenuTest::newNameIsWritten()
{
    // Replacing is confirmed by the dialog itself; a new name is simply written.
    QFETCH(bool, exists);
    QFETCH(bool, answer);
    QFETCH(bool, asked);
    QFETCH(bool, written);
    MainWindowFixture f;
    f.makeTemplate("2", "140000", "1000");
    QTemporaryDir dir;
    const QString path = dir.filePath("K7TV_10.ini");
    if (exists) {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
    }
    f.ui.nextSaveName = path;
    f.ui.answer = answer;
    f.trigger("N3");
    QCOMPARE(f.ui.questions.size(), asked ? 1 : 0);
    if (asked)
        QVERIFY(f.ui.questions.first().contains(QDir::toNativeSeparators(path)));
    QCOMPARE(QFileInfo(path).size() > 0, written);
    QVERIFY(f.ui.messages.isEmpty());
}

void FileMenuTest::saveThenLoadInAnotherWindow()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("station.ini");
    {
        MainWindowFixture f;
        f.trigger("N3065");
        f.trigger("N13");
        f.makeTemplate("4", "400000", "12,5");
        f.window->tableModel()->setData(f.window->tableModel()->index(1, ChannelTable::CtcRx), "88,5", Qt::EditRole);
        f.window->tableModel()->setData(f.window->tableModel()->index(2, ChannelTable::IdTone), Qt::Checked,
                                        Qt::CheckStateRole);
        f.ui.nextSaveName = path;
        f.trigger("N3");
        QVERIFY2(f.ui.messages.isEmpty(), qPrintable(f.ui.messages.join('\n')));
    }
    MainWindowFixture g;
    g.state.dataValid = true;
    g.ui.nextOpenName = path;
    g.trigger("N4");
    QVERIFY2(g.ui.messages.isEmpty(), qPrintable(g.ui.messages.join('\n')));
    QCOMPARE(g.window->windowTitle(), QStringLiteral("Ветрал 4М-15"));
    QVERIFY(g.action("N3065")->isChecked());
    QVERIFY(g.action("N13")->isChecked());
    QVERIFY(!g.state.dataValid);
    QVERIFY(g.isShown("Panel1"));
    QVERIFY(g.isShown("Memo1"));
    QVERIFY(g.isShown("StringGrid1"));
    auto *model = g.window->tableModel();
    QCOMPARE(model->rowCount(), 4);
    QCOMPARE(model->headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral(" Tx, кГЦ"));
    QCOMPARE(model->index(3, ChannelTable::Rx).data().toString(), QStringLiteral("400037,5"));
    QCOMPARE(model->index(1, ChannelTable::CtcRx).data().toString(), QStringLiteral("88,5"));
    QCOMPARE(model->index(2, ChannelTable::IdTone).data(Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Checked);
    QCOMPARE(model->index(1, ChannelTable::IdTone).data(Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Unchecked);
    const QStringList memo = g.widget<QPlainTextEdit>("Memo1")->toPlainText().split('\n');
    QCOMPARE(memo.size(), 27);
    QCOMPARE(memo.at(1), QStringLiteral("Серийный номер=100000"));
    QCOMPARE(memo.at(12), QStringLiteral("Тон10=2400"));
}

void FileMenuTest::lastChosenNameIsProposed()
{
    QTemporaryDir dir;
    MainWindowFixture f;
    f.makeTemplate("1", "140000", "1000");
    f.ui.nextSaveName = dir.filePath("first.ini");
    f.trigger("N3");
    f.ui.nextSaveName.clear();
    f.trigger("N3");
    QCOMPARE(f.ui.dialogs.size(), 2);
    QCOMPARE(f.ui.dialogs.at(1).proposedName, QStringLiteral("first.ini"));
    QCOMPARE(f.ui.dialogs.at(1).folder, dir.path());
}

void FileMenuTest::loadOfIncompleteFile_data()
{
    QTest::addColumn<QString>("channels"); // the file's channel sections
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("message"); // the only message, from its start
    QTest::newRow("without channel sections") << "[2]\r\nRx=150000\r\n"
                                              << 0 << "Fixed row count must be less than row count";
    QTest::newRow("channel section 2 cut off")
        << "[1]\r\nRx=150000\r\n[2]\r\nНомер=2\r\nRx=15" << 2
        << "Файл каналов загружен, но в нём недостаёт данных; проверьте таблицу и общие установки.\n"
           "Значения по умолчанию взяты для ключей:\n[Общие установки]: Id_номер, Тон1,";
}

void FileMenuTest::loadOfIncompleteFile()
{
    QFETCH(QString, channels);
    QFETCH(int, rows);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString path = dir.filePath("incomplete.ini");
    writeFile(path, "[Общие установки]\r\nГромкость=5\r\nТип=1\r\nТипВУ=2\r\n" + channels);
    MainWindowFixture f;
    f.makeTemplate("3", "140000", "1000");
    f.ui.nextOpenName = path;
    f.trigger("N4");
    QCOMPARE(f.ui.messages.size(), 1);
    QVERIFY2(f.ui.messages.first().startsWith(message), qPrintable(f.ui.messages.first()));
    QCOMPARE(f.window->windowTitle(), QStringLiteral("Ветрал 4М-11"));
    QVERIFY(f.action("N12")->isChecked());
    QCOMPARE(f.window->tableModel()->rowCount(), rows);
    QVERIFY(f.widget<QPlainTextEdit>("Memo1")->toPlainText().contains("Громкость=5"));
    QVERIFY(f.isShown("Memo1"));
}

void FileMenuTest::loadOfMissingFile()
{
    QTemporaryDir dir;
    MainWindowFixture f;
    f.makeTemplate("3", "140000", "1000");
    f.state.dataValid = true;
    f.ui.nextOpenName = dir.filePath("gone.ini");
    f.trigger("N4");
    QCOMPARE(f.ui.messages, QStringList{IoError::message(ENOENT)});
    QVERIFY(f.state.dataValid);
    QCOMPARE(f.window->tableModel()->rowCount(), 3);
}

void FileMenuTest::refusedCharacterWritesNothing()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("old.ini");
    writeFile(path, "old content\r\n");
    MainWindowFixture f;
    f.makeTemplate("2", "140000", "1000");
    f.widget<QPlainTextEdit>("Memo1")->appendPlainText("Заметка=✓");
    f.ui.nextSaveName = path;
    f.trigger("N3");
    QCOMPARE(f.ui.messages.size(), 1);
    QVERIFY2(f.ui.messages.first().contains("✓"), qPrintable(f.ui.messages.first()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("old content\r\n"));
}

void FileMenuTest::dialogsStartWhereWorkWas_data()
{
    QTest::addColumn<QString>("way");
    QTest::addColumn<QString>("dialog"); // "save", "open" or "compare"
    QTest::addColumn<QString>("name");   // proposed by the save dialog
    QTest::addColumn<QString>("folder"); // where the dialog starts, below the test's folder
    QTest::newRow("save after a load proposes the file loaded") << "load"
                                                                << "save"
                                                                << "a.ini"
                                                                << "";
    QTest::newRow("open starts in the folder of the last save") << "save"
                                                                << "open"
                                                                << ""
                                                                << "";
    QTest::newRow("the next run opens in the last folder") << "save, next run"
                                                           << "open"
                                                           << ""
                                                           << "";
    QTest::newRow("the next run saves into the last folder") << "save, next run"
                                                             << "save"
                                                             << "K7TV_10.ini"
                                                             << "";
    QTest::newRow("a comparison starts in the last folder") << "save"
                                                            << "compare"
                                                            << ""
                                                            << "";
    QTest::newRow("open starts where the file compared with was") << "compare with other/b.ini"
                                                                  << "open"
                                                                  << ""
                                                                  << "other";
}

void FileMenuTest::dialogsStartWhereWorkWas()
{
    QFETCH(QString, way);
    QFETCH(QString, dialog);
    QFETCH(QString, name);
    QFETCH(QString, folder);
    QTemporaryDir dir;
    MainWindowFixture f;
    f.makeTemplate("2", "140000", "1000");
    QVERIFY(QDir(dir.path()).mkdir("other"));
    QVERIFY(!ChannelFile::save(f.state, dir.filePath("other/b.ini")));
    f.ui.nextSaveName = dir.filePath("a.ini");
    f.trigger("N3");
    if (way.startsWith("compare with")) {
        f.ui.nextOpenName = dir.filePath(way.section(' ', 2));
        f.trigger("N24");
        QVERIFY2(f.ui.messages.isEmpty(), qPrintable(f.ui.messages.join('\n')));
    }
    if (way == "load") {
        f.ui.nextSaveName.clear();
        f.makeTemplate("3", "140000", "1000");
        f.ui.nextOpenName = dir.filePath("a.ini");
        f.trigger("N4");
        QCOMPARE(f.state.table.channelCount(), 2);
    }
    AppState nextState;
    RecordingServices nextUi;
    PortChoice nextPorts;
    std::unique_ptr<MainWindow> next;
    if (way.endsWith("next run"))
        next = std::make_unique<MainWindow>(nextState, nextUi, nextPorts);
    MainWindow &window = next ? *next : *f.window;
    RecordingServices &ui = next ? nextUi : f.ui;
    ui.dialogs.clear();
    ui.nextSaveName.clear();
    ui.nextOpenName.clear();
    if (dialog == "save")
        window.saveToFile();
    else
        window.findChild<QAction *>(dialog == "open" ? "N4" : "N24")->trigger();
    QCOMPARE(ui.dialogs.size(), 1);
    QCOMPARE(ui.dialogs.first().folder, QDir(dir.path()).filePath(folder));
    if (dialog == "save")
        QCOMPARE(ui.dialogs.first().proposedName, name);
}

void FileMenuTest::recentDroppedAndNamedFilesLoad_data()
{
    QTest::addColumn<QString>("way");
    QTest::addColumn<int>("channels"); // afterwards; 1: nothing loaded
    QTest::addColumn<bool>("asked");   // whether to take the entry off the list
    QTest::addColumn<int>("entries");  // recent entries afterwards
    QTest::newRow("the third recent entry") << "recent" << 5 << false << 5;
    QTest::newRow("a channel file dropped") << "drop a.ini" << 3 << false << 5;
    QTest::newRow("another file dropped is refused") << "drop a.txt" << 1 << false << 5;
    QTest::newRow("named as on the command line") << "name" << 4 << false << 5;
    QTest::newRow("a recent entry whose file is gone, taken off") << "recent gone, yes" << 1 << true << 4;
    QTest::newRow("a recent entry whose file is gone, kept") << "recent gone, no" << 1 << true << 5;
}

void FileMenuTest::recentDroppedAndNamedFilesLoad()
{
    QFETCH(QString, way);
    QFETCH(int, channels);
    QFETCH(bool, asked);
    QFETCH(int, entries);
    QTemporaryDir dir;
    MainWindowFixture f;
    // Files of 2 to 7 channels, saved in that order.
    for (int n = 2; n <= 7; ++n) {
        f.makeTemplate(QString::number(n), "140000", "1000");
        f.ui.nextSaveName = dir.filePath(QStringLiteral("%1.ini").arg(n));
        f.trigger("N3");
    }
    QFile::copy(dir.filePath("3.ini"), dir.filePath("a.txt"));
    QFile::copy(dir.filePath("3.ini"), dir.filePath("a.ini"));
    const auto recentEntries = [&] {
        QStringList recent;
        for (QAction *a : f.widget<QMenu>("N1")->actions())
            if (a->isVisible() && !a->isSeparator() && a->objectName().startsWith("N1Recent"))
                recent << a->objectName() + u':' + a->text();
        return recent;
    };
    const QStringList recent = recentEntries();
    const auto entry = [&](int n, int count) {
        return QStringLiteral("N1Recent%1:&%1 %2")
            .arg(n)
            .arg(QDir::toNativeSeparators(dir.filePath(QStringLiteral("%1.ini").arg(count))));
    };
    QCOMPARE(recent, (QStringList{entry(1, 7), entry(2, 6), entry(3, 5), entry(4, 4), entry(5, 3)}));
    f.makeTemplate("1", "140000", "1000");
    if (way.startsWith("recent")) {
        if (way.contains("gone"))
            QVERIFY(QFile::remove(dir.filePath("5.ini")));
        f.ui.answer = way.endsWith("yes");
        f.ui.nextOpenName.clear();
        f.trigger("N1Recent3");
    } else if (way.startsWith("drop")) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(dir.filePath(way.mid(5)))});
        QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(f.window.get(), &enter);
        QCOMPARE(enter.isAccepted(), channels != 1);
        QDropEvent drop(QPointF(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(f.window.get(), &drop);
    } else {
        f.window->loadFile(dir.filePath("4.ini"));
    }
    QCOMPARE(f.state.table.channelCount(), channels);
    QVERIFY2(f.ui.messages.isEmpty(), qPrintable(f.ui.messages.join('\n')));
    const QString question = QStringLiteral("Файл \"%1\" не найден: его переименовали, перенесли или удалили.\n"
                                            "Убрать его из списка последних файлов?")
                                 .arg(QDir::toNativeSeparators(dir.filePath("5.ini")));
    QCOMPARE(f.ui.questions, asked ? QStringList{question} : QStringList{});
    QCOMPARE(recentEntries().size(), entries);
    // The list is kept for the next run as it now stands.
    QCOMPARE(RecentFiles().files().size(), entries);
}

void FileMenuTest::exitAsksBeforeLosingWork_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<int>("answer"); // UiServices::Answer
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("closed");
    using A = UiServices::Answer;
    QTest::newRow("nothing changed since the template") << "" << int(A::Cancel) << false << true;
    QTest::newRow("a cell, Нет") << "cell" << int(A::No) << true << true;
    QTest::newRow("a cell, Отмена") << "cell" << int(A::Cancel) << true << false;
    QTest::newRow("a cell, Да: saved, then closed") << "cell" << int(A::Yes) << true << true;
    QTest::newRow("a cell, Да, save dialog cancelled") << "cell, no name" << int(A::Yes) << true << false;
    QTest::newRow("the settings text, Отмена") << "settings text" << int(A::Cancel) << true << false;
    QTest::newRow("a cell, then saved") << "cell, saved" << int(A::Cancel) << false << true;
    QTest::newRow("a cell, then undone") << "cell, undone" << int(A::Cancel) << false << true;
}

void FileMenuTest::exitAsksBeforeLosingWork()
{
    QFETCH(QString, change);
    QFETCH(int, answer);
    QFETCH(bool, asked);
    QFETCH(bool, closed);
    QTemporaryDir dir;
    MainWindowFixture f;
    f.makeTemplate("2", "140000", "1000");
    if (change.startsWith("cell"))
        f.window->tableModel()->setData(f.window->tableModel()->index(0, ChannelTable::Rx), "150000", Qt::EditRole);
    if (change == "settings text")
        QTest::keyClicks(f.widget<QPlainTextEdit>("Memo1"), "X");
    f.ui.nextSaveName = dir.filePath("kept.ini");
    if (change == "cell, saved")
        f.trigger("N3");
    if (change == "cell, undone")
        f.trigger("TableUndo");
    if (change == "cell, no name")
        f.ui.nextSaveName.clear();
    f.ui.threeWayAnswer = UiServices::Answer(answer);
    f.ui.questions.clear();
    QCOMPARE(f.window->close(), closed);
    QCOMPARE(f.ui.questions.value(0), asked ? QStringLiteral("Сохранить изменения?") : QString());
    QCOMPARE(f.ui.questions.size() > 0, asked);
    QCOMPARE(QFileInfo::exists(dir.filePath("kept.ini")),
             change == "cell, saved" || (asked && closed && answer == int(UiServices::Answer::Yes)));
}

QTEST_MAIN(FileMenuTest)
#include "tst_filemenu.moc"
