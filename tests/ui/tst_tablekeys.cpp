#include "editorsfixture.h"
#include "files/channelfile.h"
#include "main/mainmenu.h"

#include <QPlainTextEdit>
#include <QTemporaryDir>

using Column = ChannelTable::Column;

// How an open list, the menu and the focus keys meet, and rows past a byte.
class TableKeysTest : public QObject
{
    Q_OBJECT
private slots:
    void menuGivesOpenListBack_data();
    void menuGivesOpenListBack();
    void loadedFileNotOverwrittenByStaleList();
    void tabMovesFocusInFields_data();
    void tabMovesFocusInFields();
    void keysInOpenList_data();
    void keysInOpenList();
    void ctrlTabLeaves_data();
    void ctrlTabLeaves();
    void enterPastByteRows_data();
    void enterPastByteRows();
};

void TableKeysTest::menuGivesOpenListBack_data()
{
    QTest::addColumn<QByteArray>("entry");
    for (const MainMenuEntry &e : MainMenu::entries())
        if (e.handler)
            QTest::newRow(e.caption) << QByteArray(e.name);
}

void TableKeysTest::menuGivesOpenListBack()
{
    QFETCH(QByteArray, entry);
    EditorsFixture f;
    f.click(Column::CtcRx, 2);
    f.list(1)->setCurrentIndex(7); // "100,0", not picked
    f.trigger(entry.constData());
    QCOMPARE(f.text(Column::CtcRx, 2), QStringLiteral("100,0"));
    QVERIFY(f.list(1)->isHidden());
    QVERIFY(f.editors->openList() == nullptr);
}

void TableKeysTest::loadedFileNotOverwrittenByStaleList()
{
    EditorsFixture f;
    QTemporaryDir dir;
    const QString path = dir.filePath("K7TV_10.ini");
    QVERIFY(!ChannelFile::save(f.state, path));
    f.click(Column::CtcRx, 2);
    f.list(1)->setCurrentIndex(7);
    f.ui.nextOpenName = path;
    f.trigger("N4");
    f.activate();
    f.click(Column::Rx, 5);
    QCOMPARE(f.text(Column::CtcRx, 2), QStringLiteral("Нет"));
    QVERIFY(f.shownLists().isEmpty());
    QVERIFY(f.ui.messages.isEmpty());
}

void TableKeysTest::tabMovesFocusInFields_data()
{
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<int>("key");
    QTest::newRow("count Tab") << QByteArray("Edit1") << int(Qt::Key_Tab);
    QTest::newRow("start Shift+Tab") << QByteArray("Edit2") << int(Qt::Key_Backtab);
    QTest::newRow("step Tab") << QByteArray("Edit3") << int(Qt::Key_Tab);
    QTest::newRow("repeater channel Tab") << QByteArray("Edit4") << int(Qt::Key_Tab);
    QTest::newRow("repeater channel Shift+Tab") << QByteArray("Edit4") << int(Qt::Key_Backtab);
}

void TableKeysTest::tabMovesFocusInFields()
{
    QFETCH(QByteArray, field);
    QFETCH(int, key);
    EditorsFixture f;
    f.state.dataValid = true;
    f.trigger("N11");
    auto *edit = f.widget<QLineEdit>(field.constData());
    edit->setText("12");
    edit->setFocus();
    QVERIFY(edit->hasFocus());
    QTest::keyClick(edit, Qt::Key(key));
    QVERIFY(f.ui.messages.isEmpty());
    QVERIFY(f.ui.sounds.isEmpty());
    QVERIFY(!edit->hasFocus());
    QCOMPARE(edit->text(), QStringLiteral("12"));
}

void TableKeysTest::keysInOpenList_data()
{
    QTest::addColumn<QKeyCombination>("key");
    QTest::addColumn<bool>("dropDown"); // the key goes to the open drop-down
    QTest::addColumn<int>("column");    // current cell afterwards
    QTest::addColumn<int>("openList");  // list then open over it, 0: none
    QTest::addColumn<QString>("cell");  // the list's cell afterwards
    QTest::addColumn<bool>("tableFocus");
    const QString chosen = "031";
    QTest::newRow("Tab") << QKeyCombination(Qt::Key_Tab) << false << int(Column::DcsRx) << 0 << chosen << true;
    QTest::newRow("Shift+Tab") << QKeyCombination(Qt::Key_Backtab) << false << int(Column::DcsRx) << 0 << chosen
                               << true;
    QTest::newRow("Left") << QKeyCombination(Qt::Key_Left) << false << int(Column::CtcTx) << 1 << chosen << false;
    QTest::newRow("Right") << QKeyCombination(Qt::Key_Right) << false << int(Column::DcsTx) << 2 << chosen << false;
    QTest::newRow("Esc closes, the cell as it was")
        << QKeyCombination(Qt::Key_Escape) << false << int(Column::DcsRx) << 0 << "Нет" << true;
    QTest::newRow("Tab in the drop-down")
        << QKeyCombination(Qt::Key_Tab) << true << int(Column::DcsRx) << 0 << chosen << true;
    QTest::newRow("Left in the drop-down")
        << QKeyCombination(Qt::Key_Left) << true << int(Column::CtcTx) << 1 << chosen << false;
    QTest::newRow("Right in the drop-down")
        << QKeyCombination(Qt::Key_Right) << true << int(Column::DcsTx) << 2 << chosen << false;
    QTest::newRow("Ctrl+Tab leaves the table")
        << (Qt::CTRL | Qt::Key_Tab) << false << int(Column::DcsRx) << 0 << chosen << false;
}

void TableKeysTest::keysInOpenList()
{
    QFETCH(QKeyCombination, key);
    QFETCH(bool, dropDown);
    QFETCH(int, column);
    QFETCH(int, openList);
    QFETCH(QString, cell);
    QFETCH(bool, tableFocus);
    EditorsFixture f;
    f.click(Column::DcsRx, 3);
    QComboBox *combo = f.list(2);
    QWidget *target = combo;
    if (dropDown) {
        combo->showPopup();
        combo->view()->setCurrentIndex(combo->view()->model()->index(4, 0)); // "031", highlighted
        target = combo->view();
    } else {
        combo->setCurrentIndex(4); // "031", not picked
    }
    QTest::keyClick(target, key.key(), key.keyboardModifiers());
    QCOMPARE(f.text(Column::DcsRx, 3), cell);
    QCOMPARE(f.grid->currentIndex(), f.index(column, 3));
    QVERIFY(f.ui.messages.isEmpty());
    QVERIFY(!combo->view()->isVisible());
    QCOMPARE(f.grid->hasFocus(), tableFocus);
    if (openList == 0) {
        QVERIFY(f.shownLists().isEmpty());
    } else {
        QCOMPARE(f.shownLists(), QList<QComboBox *>{f.list(openList)});
        QVERIFY(f.list(openList)->hasFocus());
    }
}

void TableKeysTest::ctrlTabLeaves_data()
{
    QTest::addColumn<QByteArray>("control");
    QTest::addColumn<QKeyCombination>("key");
    QTest::addColumn<bool>("leaves");
    QTest::newRow("table Tab moves to the next cell")
        << QByteArray("StringGrid1") << QKeyCombination(Qt::Key_Tab) << false;
    QTest::newRow("table Ctrl+Tab") << QByteArray("StringGrid1") << (Qt::CTRL | Qt::Key_Tab) << true;
    QTest::newRow("table Ctrl+Shift+Tab")
        << QByteArray("StringGrid1") << (Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab) << true;
    QTest::newRow("settings text Tab types a tab") << QByteArray("Memo1") << QKeyCombination(Qt::Key_Tab) << false;
    QTest::newRow("settings text Ctrl+Tab") << QByteArray("Memo1") << (Qt::CTRL | Qt::Key_Tab) << true;
}

void TableKeysTest::ctrlTabLeaves()
{
    QFETCH(QByteArray, control);
    QFETCH(QKeyCombination, key);
    QFETCH(bool, leaves);
    EditorsFixture f;
    f.click(Column::Rx, 2);
    auto *widget = f.widget(control.constData());
    widget->setFocus();
    const QString memo = f.widget<QPlainTextEdit>("Memo1")->toPlainText();
    QTest::keyClick(widget, key.key(), key.keyboardModifiers());
    QCOMPARE(widget->hasFocus(), !leaves);
    QVERIFY(f.window->isAncestorOf(QApplication::focusWidget()));
    const bool typedTab = !leaves && control == "Memo1";
    QCOMPARE(f.widget<QPlainTextEdit>("Memo1")->toPlainText().contains(u'\t'), typedTab);
    QCOMPARE(f.grid->currentIndex(), f.index(!leaves && control == "StringGrid1" ? Column::Tx : Column::Rx, 2));
    if (leaves)
        QCOMPARE(f.widget<QPlainTextEdit>("Memo1")->toPlainText(), memo);
}

void TableKeysTest::enterPastByteRows_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::newRow("row 256 Rx") << 256 << int(Column::Rx);
    QTest::newRow("row 300 Rx") << 300 << int(Column::Rx);
    QTest::newRow("row 300 Tx") << 300 << int(Column::Tx);
}

void TableKeysTest::enterPastByteRows()
{
    // A file may hold many more channels than a template: rows beyond 255
    // must be addressed as themselves.
    QFETCH(int, row);
    QFETCH(int, column);
    EditorsFixture f(2);
    AppState big;
    big.table.setRowCount(301);
    for (int r = 1; r <= 300; ++r) {
        big.table.setCell(Column::Number, r, QString::number(r));
        big.table.setCell(Column::Rx, r, QString::number(140000 + r));
        big.table.setCell(Column::Tx, r, QString::number(150000 + r));
    }
    big.table.addCheckBoxes();
    big.settingsLines = f.state.settingsLines;
    QTemporaryDir dir;
    const QString path = dir.filePath("big.ini");
    QVERIFY(!ChannelFile::save(big, path));
    f.ui.nextOpenName = path;
    f.trigger("N4");
    QCOMPARE(f.state.table.checkBoxRowCount(), 301);
    f.activate();
    f.grid->scrollTo(f.index(column, row));
    f.click(column, row);
    QCOMPARE(f.editors->selected().row, row);
    QTest::keyClick(f.grid, Qt::Key_Return);
    const QString copied = QString::number((column == Column::Rx ? 140000 : 150000) + row);
    QCOMPARE(f.text(Column::Rx, row), copied);
    QCOMPARE(f.text(Column::Tx, row), copied);
    const int wrapped = row % 256;
    if (wrapped == 0)
        return;
    QCOMPARE(f.text(Column::Rx, wrapped), QString::number(140000 + wrapped));
    QCOMPARE(f.text(Column::Tx, wrapped), QString::number(150000 + wrapped));
}

QTEST_MAIN(TableKeysTest)
#include "tst_tablekeys.moc"
