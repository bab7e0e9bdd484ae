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
    QTest::addColumn<int>("presses");
    QTest::addColumn<bool>("chosen");   // "031" was chosen in the list (typed) before the key
    QTest::addColumn<bool>("dropDown"); // the key goes to the open drop-down
    QTest::addColumn<int>("column");    // current cell afterwards
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("openList");     // list then open over it, 0: none
    QTest::addColumn<bool>("droppedDown"); // its drop-down is shown
    QTest::addColumn<QString>("cell");     // the list's cell afterwards
    QTest::addColumn<bool>("tableFocus");
    const QString chosen = "031";
    const int dcs = Column::DcsRx;
    const auto row = [&](const char *tag, QKeyCombination combination, int presses, bool isChosen,
                         bool dropDown) -> QTestData & {
        return QTest::newRow(tag) << combination << presses << isChosen << dropDown;
    };
    row("Tab", Qt::Key_Tab, 1, true, false) << dcs << 3 << 0 << false << chosen << true;
    row("Shift+Tab", Qt::Key_Backtab, 1, true, false) << dcs << 3 << 0 << false << chosen << true;
    row("Left", Qt::Key_Left, 1, true, false) << int(Column::CtcTx) << 3 << 1 << false << chosen << false;
    row("Right", Qt::Key_Right, 1, true, false) << int(Column::DcsTx) << 3 << 2 << false << chosen << false;
    row("Esc closes, the cell as it was", Qt::Key_Escape, 1, true, false) << dcs << 3 << 0 << false << "Нет" << true;
    row("Tab in the drop-down", Qt::Key_Tab, 1, true, true) << dcs << 3 << 0 << false << chosen << true;
    row("Left in the drop-down", Qt::Key_Left, 1, true, true)
        << int(Column::CtcTx) << 3 << 1 << false << chosen << false;
    row("Right in the drop-down", Qt::Key_Right, 1, true, true)
        << int(Column::DcsTx) << 3 << 2 << false << chosen << false;
    row("Ctrl+Tab leaves the table", Qt::CTRL | Qt::Key_Tab, 1, true, false)
        << dcs << 3 << 0 << false << chosen << false;
    // The arrows move in the table and change nothing on the way; only an
    // item chosen first goes back into its cell.
    row("Down four times", Qt::Key_Down, 4, false, false) << dcs << 7 << 2 << false << "Нет" << false;
    row("Up twice", Qt::Key_Up, 2, false, false) << dcs << 1 << 2 << false << "Нет" << false;
    row("Down after a choice", Qt::Key_Down, 1, true, false) << dcs << 4 << 2 << false << chosen << false;
    row("Page Down", Qt::Key_PageDown, 1, false, false) << dcs << 10 << 2 << false << "Нет" << false;
    row("Home", Qt::Key_Home, 1, false, false) << int(Column::Number) << 3 << 0 << false << "Нет" << true;
    row("End", Qt::Key_End, 1, false, false) << int(Column::Active) << 3 << 0 << false << "Нет" << true;
    row("Alt+Up keeps the choice in the list", Qt::ALT | Qt::Key_Up, 1, true, false)
        << dcs << 3 << 2 << false << "Нет" << false;
    // The list opens for a choice.
    row("Alt+Down opens the list", Qt::ALT | Qt::Key_Down, 1, false, false) << dcs << 3 << 2 << true << "Нет" << false;
    row("F4 opens the list", Qt::Key_F4, 1, false, false) << dcs << 3 << 2 << true << "Нет" << false;
    row("Space opens the list", Qt::Key_Space, 1, false, false) << dcs << 3 << 2 << true << "Нет" << false;
}

void TableKeysTest::keysInOpenList()
{
    QFETCH(QKeyCombination, key);
    QFETCH(int, presses);
    QFETCH(bool, chosen);
    QFETCH(bool, dropDown);
    QFETCH(int, column);
    QFETCH(int, row);
    QFETCH(int, openList);
    QFETCH(bool, droppedDown);
    QFETCH(QString, cell);
    QFETCH(bool, tableFocus);
    EditorsFixture f;
    f.click(Column::DcsRx, 3);
    QComboBox *combo = f.list(2);
    if (dropDown) {
        combo->showPopup();
        combo->view()->setCurrentIndex(combo->view()->model()->index(4, 0)); // "031", highlighted
    } else if (chosen) {
        combo->setCurrentIndex(4); // "031", not picked
    }
    for (int i = 0; i < presses; ++i) {
        QWidget *target = dropDown ? combo->view() : static_cast<QWidget *>(QApplication::focusWidget());
        QTest::keyClick(target, key.key(), key.keyboardModifiers());
    }
    QCOMPARE(f.text(Column::DcsRx, 3), cell);
    for (int r = 1; r <= 10; ++r)
        QVERIFY2(r == 3 || f.text(Column::DcsRx, r) == "Нет", qPrintable(QString::number(r)));
    QCOMPARE(f.grid->currentIndex(), f.index(column, row));
    QVERIFY(f.ui.messages.isEmpty());
    QCOMPARE(f.grid->hasFocus(), tableFocus);
    if (openList == 0) {
        QVERIFY(f.shownLists().isEmpty());
        QVERIFY(!combo->view()->isVisible());
    } else {
        QCOMPARE(f.shownLists(), QList<QComboBox *>{f.list(openList)});
        QVERIFY(f.list(openList)->hasFocus() || droppedDown);
        QCOMPARE(f.list(openList)->view()->isVisible(), droppedDown);
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
