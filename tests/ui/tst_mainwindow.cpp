#include "main/channeltablemodel.h"
#include "main/mainmenu.h"
#include "mainwindowfixture.h"

#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTableView>
#include <QTemporaryDir>

class MainWindowTest : public QObject
{
    Q_OBJECT
private slots:
    void menuInOrder();
    void startState();
    void templateFlow();
    void templateRefusalClearsFlagKeepsTable();
    void conversionErrorShownThroughGuard();
    void keyFilters_data();
    void keyFilters();
    void stationTypeSwitch();
    void moduleChangesOnlyCheckMark();
    void repeaterNeedsCheckedData();
    void transferExitShowsWorkArea();
    void tableResetBeginsBeforeTheChange_data();
    void tableResetBeginsBeforeTheChange();
};

namespace {
QStringList entries(QMenu *menu)
{
    QStringList out;
    for (QAction *a : menu->actions())
        out << (a->isSeparator() ? QStringLiteral("-") : a->objectName() + u':' + a->text());
    return out;
}
} // namespace

void MainWindowTest::menuInOrder()
{
    MainWindowFixture f;
    QStringList top;
    for (QAction *a : f.window->menuBar()->actions())
        top << a->text();
    QCOMPARE(top, (QStringList{"Каналы", "Доп. оборудование", "Ретранслятор", "Контроль", "Станция", "Выход"}));
    QCOMPARE(entries(f.widget<QMenu>("N1")),
             (QStringList{"N2:Создать шаблон", "-", "N3:Запись в файл", "N4:Чтение файла", "-",
                          "N1Recent1:", "N1Recent2:", "N1Recent3:", "N1Recent4:", "N1Recent5:", "-",
                          "N24:Сравнить с файлом…", "-", "N1ExportCsv:Экспорт в CSV…", "N1ImportCsv:Импорт из CSV…",
                          "N1Print:Печать…", "N1SavePdf:Сохранить в PDF…"}));
    for (QAction *a : f.widget<QMenu>("N1")->actions().mid(4, 6))
        QVERIFY(!a->isVisible()); // no file used yet
    QVERIFY(f.widget<QMenu>("N1")->actions().at(10)->isVisible());
    QCOMPARE(entries(f.widget<QMenu>("N8")),
             (QStringList{"N10:Нет модуля", "N06200031:Маскиратор 06ЛМ200-03Д", "N12:Модуль Смартранк",
                          "N9:Маскиратор Тирель", "N13:Маскиратор типа \"Занавес\"", "N14:Маскиратор 06ЛМ016Д"}));
    QCOMPARE(f.widget<QMenu>("N8")->title(), QStringLiteral("Модули "));
    QCOMPARE(entries(f.widget<QMenu>("N16")).mid(0, 3),
             (QStringList{"N22:Создать протокол", "-", "N17:Запись/Чтение данных"}));
    QCOMPARE(entries(f.widget<QMenu>("N16")).mid(5),
             (QStringList{"N25:Сравнить со станцией…", "-", "SupportBundle:Архив для службы поддержки…"}));
    QCOMPARE(entries(f.widget<QMenu>("N18")),
             (QStringList{"N3062:30-60 МГц", "N3063:144-174 МГц", "N3064:300-345 МГц", "N3065:400-486 Мгц"}));
    QVERIFY(!f.action("N3064")->isEnabled());
    QCOMPARE(f.widget<QMenu>("N1")->menuAction()->toolTip(), QStringLiteral("Программирование каналов радоистанции"));
    QCOMPARE(f.action("N19")->toolTip(), QStringLiteral("Проверка введенных данных"));
    QCOMPARE(f.action("N20")->toolTip(), QStringLiteral("Закрытие программы"));

    // The table the menu is built from, entry by entry.
    for (const MainMenuEntry &e : MainMenu::entries()) {
        if (e.kind == MainMenuEntry::Separator || e.kind == MainMenuEntry::Recent)
            continue;
        QObject *o = f.window->findChild<QObject *>(QLatin1String(e.name));
        QVERIFY2(o, e.name);
        const auto *menu = qobject_cast<QMenu *>(o);
        QCOMPARE(menu ? menu->title() : qobject_cast<QAction *>(o)->text(), e.text());
    }
}

void MainWindowTest::startState()
{
    MainWindowFixture f;
    QCOMPARE(f.window->windowTitle(), QStringLiteral("Ветрал 4М-13"));
    QVERIFY(!f.isShown("Panel1"));
    QVERIFY(!f.isShown("Memo1"));
    QVERIFY(!f.isShown("StringGrid1"));
    QVERIFY(!f.isShown("Panel3"));
    QVERIFY(f.isShown("Panel2"));
    QVERIFY(f.action("N3063")->isChecked());
    QVERIFY(f.action("N10")->isChecked());
    QCOMPARE(f.widget<QLineEdit>("Edit2")->text(), QStringLiteral("140000"));
    QCOMPARE(f.widget<QLineEdit>("Edit1")->text(), QStringLiteral("10"));
    QCOMPARE(f.widget<QLineEdit>("Edit3")->text(), QStringLiteral("1000"));
    QCOMPARE(f.window->tableModel()->rowCount(), 10);
    QVERIFY(!f.state.dataValid);
    QCOMPARE(f.window->centralWidget()->size(), QSize(797, 397));
}

void MainWindowTest::templateFlow()
{
    MainWindowFixture f;
    f.trigger("N2");
    QVERIFY(f.isShown("Panel1"));
    QVERIFY(!f.isShown("Memo1"));
    QVERIFY(!f.isShown("StringGrid1"));
    f.makeTemplate("10", "140000", "1000");
    QVERIFY(f.ui.messages.isEmpty());
    QVERIFY(f.isShown("Memo1"));
    QVERIFY(f.isShown("StringGrid1"));
    auto *model = f.window->tableModel();
    QCOMPARE(model->rowCount(), 10);
    QCOMPARE(model->headerData(ChannelTable::Rx, Qt::Horizontal, Qt::DisplayRole).toString(),
             QStringLiteral(" Rx, кГц"));
    QCOMPARE(model->index(0, ChannelTable::Rx).data().toString(), QStringLiteral("140000"));
    QCOMPARE(model->index(9, ChannelTable::Tx).data().toString(), QStringLiteral("149000"));
    QCOMPARE(model->index(9, ChannelTable::TxOff).data().toString(), QStringLiteral("Норм"));
    QCOMPARE(model->index(0, ChannelTable::Scan).data(Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Checked);
    QCOMPARE(model->index(0, ChannelTable::IdTone).data(Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Unchecked);
    const QStringList memo = f.widget<QPlainTextEdit>("Memo1")->toPlainText().split(u'\n');
    QCOMPARE(memo.size(), 26);
    QCOMPARE(memo.at(1), QStringLiteral("Id_номер=0001"));
    QCOMPARE(f.state.settingsLines, memo);
}

void MainWindowTest::templateRefusalClearsFlagKeepsTable()
{
    MainWindowFixture f;
    f.makeTemplate("3", "140000", "1000");
    f.state.dataValid = true;
    f.makeTemplate("", "140000", "1000");
    QCOMPARE(f.ui.messages, QStringList{"Вы не ввели количество каналов или ввели слишком много"});
    QCOMPARE(f.ui.sounds, QList<Sound>{Sound::Error});
    QVERIFY(!f.state.dataValid);
    QCOMPARE(f.window->tableModel()->rowCount(), 3);

    f.ui.clear();
    f.makeTemplate("10", "100000", "1000");
    QCOMPARE(f.ui.messages,
             QStringList{"Введенная частота не соответствует частотному диапазону, частотный диапазон 140-174 МГц"});
    QVERIFY(f.ui.sounds.isEmpty());
}

void MainWindowTest::conversionErrorShownThroughGuard()
{
    MainWindowFixture f;
    f.makeTemplate("5", "1,,5", "1000");
    QCOMPARE(f.ui.messages.size(), 1);
    QVERIFY2(f.ui.messages.first().contains("'1,,5'"), qPrintable(f.ui.messages.first()));
    QVERIFY(!f.isShown("StringGrid1"));
    QCOMPARE(f.window->tableModel()->rowCount(), 10);
}

void MainWindowTest::keyFilters_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message"); // empty: accepted
    QTest::addColumn<bool>("pressesOk");
    const QString digits = "Вводите только цифры от 0 до 9";
    const QString comma = "Вводите только цифры от 0 до 9 и запятую";
    QTest::newRow("count digit") << "Edit1" << int(Qt::Key_5) << "5"
                                 << "" << false;
    QTest::newRow("count comma") << "Edit1" << int(Qt::Key_Comma) << "," << digits << false;
    QTest::newRow("count enter") << "Edit1" << int(Qt::Key_Return) << "\r"
                                 << "" << true;
    QTest::newRow("start comma") << "Edit2" << int(Qt::Key_Comma) << ","
                                 << "" << false;
    QTest::newRow("start letter") << "Edit2" << int(Qt::Key_A) << "a" << comma << false;
    QTest::newRow("step enter") << "Edit3" << int(Qt::Key_Enter) << "\r"
                                << "" << true;
}

void MainWindowTest::keyFilters()
{
    QFETCH(QString, field);
    QFETCH(int, key);
    QFETCH(QString, text);
    QFETCH(QString, message);
    QFETCH(bool, pressesOk);
    MainWindowFixture f;
    f.trigger("N2");
    auto *edit = f.widget<QLineEdit>(qPrintable(field));
    const QString before = edit->text();
    if (!pressesOk)
        edit->clear();
    edit->setFocus();
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(edit, &press);
    if (pressesOk) {
        // The template of the fields as they stand is made.
        QVERIFY(f.ui.messages.isEmpty());
        QCOMPARE(edit->text(), before);
        QVERIFY(f.isShown("StringGrid1"));
        QCOMPARE(f.state.table.channelCount(), 10);
    } else if (message.isEmpty()) {
        QVERIFY(f.ui.messages.isEmpty());
        QCOMPARE(edit->text(), text);
    } else {
        QCOMPARE(f.ui.messages, QStringList{message});
        QCOMPARE(f.ui.sounds, QList<Sound>{Sound::Default});
        QCOMPARE(edit->text(), QString());
    }
}

void MainWindowTest::stationTypeSwitch()
{
    MainWindowFixture f;
    f.makeTemplate("4", "140000", "1000");
    f.state.dataValid = true;
    f.trigger("N3062");
    QCOMPARE(f.window->windowTitle(), QStringLiteral("Ветрал 4М-11"));
    QVERIFY(!f.isShown("Panel1"));
    QVERIFY(!f.isShown("Memo1"));
    QVERIFY(!f.isShown("StringGrid1"));
    QVERIFY(f.action("N3062")->isChecked());
    QVERIFY(!f.action("N3063")->isChecked());
    QCOMPARE(f.widget<QLineEdit>("Edit2")->text(), QStringLiteral("30000"));
    QCOMPARE(int(f.state.bandCode), 1);
    QVERIFY(!f.state.dataValid); // what was checked was checked for another station
    QVERIFY(!f.state.table.hasBoxes(1));
    QCOMPARE(f.state.table.cell(ChannelTable::Rx, 2), QStringLiteral("141000"));
    f.trigger("N2");
    QVERIFY(f.isShown("Panel1"));
    QVERIFY(!f.isShown("StringGrid1"));
    f.trigger("N3065");
    QCOMPARE(f.window->windowTitle(), QStringLiteral("Ветрал 4М-15"));
    QCOMPARE(f.widget<QLineEdit>("Edit2")->text(), QStringLiteral("400000"));
    QCOMPARE(int(f.state.bandCode), 3);
}

void MainWindowTest::moduleChangesOnlyCheckMark()
{
    MainWindowFixture f;
    f.makeTemplate("2", "140000", "1000");
    f.trigger("N12");
    QCOMPARE(int(f.state.moduleCode), 2);
    QVERIFY(f.action("N12")->isChecked());
    QVERIFY(!f.action("N10")->isChecked());
    QVERIFY(f.isShown("StringGrid1"));
    QVERIFY(f.state.table.hasBoxes(1));
}

void MainWindowTest::repeaterNeedsCheckedData()
{
    MainWindowFixture f;
    f.trigger("N11");
    QCOMPARE(f.ui.messages,
             QStringList{"Прежде чем производить настройку рентраслятора проверьте введеные данные !!!"});
    QVERIFY(!f.isShown("Panel3"));
    f.state.dataValid = true;
    f.trigger("N11");
    QVERIFY(f.isShown("Panel3"));
    f.trigger("N3063"); // hides the work area; the panel keeps its own state
    QVERIFY(f.isShown("Panel3"));
    QVERIFY(!f.widget("Panel3")->isVisible());
}

void MainWindowTest::transferExitShowsWorkArea()
{
    MainWindowFixture f;
    f.trigger("N3062");
    f.window->showMinimized();
    f.window->restoreAfterTransfer();
    QVERIFY(!(f.window->windowState() & Qt::WindowMinimized));
    QVERIFY(f.isShown("Panel1"));
    QVERIFY(f.isShown("Memo1"));
    QVERIFY(f.isShown("StringGrid1"));
    QCOMPARE(f.window->tableModel()->rowCount(), 10);
}

namespace {
// What the views see of the table: rows, a header, a cell, a box.
QStringList shape(const ChannelTableModel &model)
{
    const QModelIndex box = model.index(0, ChannelTable::Scan);
    return {QString::number(model.rowCount()),
            model.headerData(ChannelTable::Tx, Qt::Horizontal, Qt::DisplayRole).toString(),
            model.index(0, ChannelTable::Rx).data().toString(), box.data(Qt::CheckStateRole).toString()};
}
} // namespace

void MainWindowTest::tableResetBeginsBeforeTheChange_data()
{
    QTest::addColumn<QString>("operation");
    QTest::newRow("template") << "template";
    QTest::newRow("station type") << "station type";
    QTest::newRow("file load") << "file load";
}

void MainWindowTest::tableResetBeginsBeforeTheChange()
{
    QFETCH(QString, operation);
    QTemporaryDir dir;
    MainWindowFixture f;
    f.makeTemplate("10", "140000", "1000");
    auto *model = f.window->tableModel();
    if (operation == "file load") {
        f.makeTemplate("2", "150000", "1000");
        f.ui.nextSaveName = dir.filePath("two.ini");
        f.trigger("N3");
        f.makeTemplate("10", "140000", "1000");
    }
    const QStringList before = shape(*model);
    QStringList seen;
    int resets = 0;
    connect(model, &QAbstractItemModel::modelAboutToBeReset, this, [&] {
        seen = shape(*model);
        ++resets;
    });
    if (operation == "template") {
        f.makeTemplate("3", "150000", "1000");
    } else if (operation == "station type") {
        f.trigger("N3062");
    } else {
        f.ui.nextOpenName = dir.filePath("two.ini");
        f.trigger("N4");
    }
    QVERIFY2(f.ui.messages.isEmpty(), qPrintable(f.ui.messages.join('\n')));
    QCOMPARE(resets, 1);
    QCOMPARE(seen, before);
    QVERIFY(shape(*model) != before);
}

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
