#include "editorsfixture.h"
#include "main/tablecommands.h"
#include "main/tablehistory.h"
#include "main/tablesheetactions.h"
#include "table/settingstext.h"

#include <QClipboard>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QToolTip>

using C = ChannelTable::Column;

namespace {
// The table's history and clipboard keys, pressed while the table has the focus.
struct SheetFixture : EditorsFixture
{
    using EditorsFixture::EditorsFixture;
    void selectRange(int left, int top, int right, int bottom) const
    {
        grid->selectionModel()->setCurrentIndex(index(left, top), QItemSelectionModel::NoUpdate);
        grid->selectionModel()->select(QItemSelection(index(left, top), index(right, bottom)),
                                       QItemSelectionModel::ClearAndSelect);
    }
    // With the table hidden (a station type chosen), the keys go where the focus is.
    void keys(QKeyCombination combination) const
    {
        grid->setFocus();
        QWidget *target = grid->isVisible() ? grid : QApplication::focusWidget();
        QTest::keyClick(target ? target : window.get(), combination.key(), combination.keyboardModifiers());
    }
    TableSnapshot snapshot() const { return {state.table, state.settingsLines}; }
    // What the window shows besides the table: caption, module, table and text shown.
    QString looks() const
    {
        return QStringLiteral("%1|%2|%3|%4")
            .arg(window->windowTitle())
            .arg(state.moduleCode)
            .arg(isShown("StringGrid1"))
            .arg(isShown("Memo1"));
    }
    QString memo() const { return widget<QPlainTextEdit>("Memo1")->toPlainText(); }
    // The user types at the end of the settings text, which keeps the focus;
    // a new line first when asked.
    void typeInMemo(const QString &typed, bool newLine = false) const
    {
        auto *memo = widget<QPlainTextEdit>("Memo1");
        memo->setFocus();
        memo->moveCursor(QTextCursor::End);
        if (newLine)
            QTest::keyClick(memo, Qt::Key_Return);
        QTest::keyClicks(memo, typed);
    }
    QUndoStack &history() const { return window->findChild<TableHistory *>()->stack(); }
    // Every column of a row as the views see it: texts and boxes.
    QStringList shown(int row) const
    {
        QStringList out;
        for (int c = 0; c < ChannelTable::ColumnCount; ++c)
            out << index(c, row).data().toString() + u'|' + index(c, row).data(Qt::CheckStateRole).toString();
        return out;
    }
};
} // namespace

class SheetEditingTest : public QObject
{
    Q_OBJECT
private slots:
    void undoAndRedoOfEachStep_data();
    void undoAndRedoOfEachStep();
    void pasteFromTheMiddle();
    void pasteHangingPastTheEnd();
    void copyPasteRoundTrip();
    void openListGivesBackFirst_data();
    void openListGivesBackFirst();
    void settingsTextEditsSurviveUndo_data();
    void settingsTextEditsSurviveUndo();
    void settingsTextKeepsItsOwnUndo();
    void rightPressOpensNoList_data();
    void rightPressOpensNoList();
};

void SheetEditingTest::undoAndRedoOfEachStep_data()
{
    QTest::addColumn<QString>("step");
    for (const char *step : {"typing", "list", "Enter", "box", "paste", "fill", "template", "file load",
                             "settings text", "station type", "module", "insert row", "remove row"})
        QTest::newRow(step) << step;
}

void SheetEditingTest::undoAndRedoOfEachStep()
{
    QFETCH(QString, step);
    SheetFixture f;
    QTemporaryDir dir;
    if (step == "Enter") {
        f.model->setData(f.index(C::Rx, 4), "150000", Qt::EditRole);
    } else if (step == "fill") {
        f.model->setData(f.index(C::Scan, 2), Qt::Unchecked, Qt::CheckStateRole);
        f.model->setData(f.index(C::Sw, 2), "12,5", Qt::EditRole);
    } else if (step == "file load") {
        f.makeTemplate("2", "150000", "1000");
        f.ui.nextSaveName = dir.filePath("two.ini");
        f.trigger("N3");
        f.makeTemplate("10", "140000", "1000");
    }
    const TableSnapshot before = f.snapshot();
    const QString looksBefore = f.looks();
    f.state.dataValid = true;
    if (step == "typing") {
        f.click(C::Number, 3);
        QTest::keyClick(f.grid, Qt::Key_7);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCoreApplication::processEvents(); // the edit ends by a queued call
        QCOMPARE(f.state.table.cell(C::Number, 3), "7");
    } else if (step == "list") {
        f.click(C::CtcRx, 2);
        f.pick(f.list(1), 5);
    } else if (step == "Enter") {
        f.click(C::Rx, 4);
        QTest::keyClick(f.grid, Qt::Key_Return);
    } else if (step == "box") {
        f.click(C::IdTone, 2, QPoint(f.cellRect(C::IdTone, 2).width() / 2 - 3, 0));
    } else if (step == "paste") {
        f.click(C::Rx, 4);
        QGuiApplication::clipboard()->setText("150000\t150000\n151000\t151000\n");
        f.keys(Qt::CTRL | Qt::Key_V);
    } else if (step == "fill") {
        f.selectRange(C::Scan, 2, C::Sw, 5);
        f.keys(Qt::CTRL | Qt::Key_D);
        QVERIFY(!f.state.table.isChecked(C::Scan, 5));
        QCOMPARE(f.state.table.cell(C::Sw, 5), "12,5");
        QVERIFY(f.state.table.isChecked(C::Scan, 6));
    } else if (step == "template") {
        f.makeTemplate("3", "150000", "1000");
    } else if (step == "settings text") {
        f.typeInMemo("MEMO=1", true);
    } else if (step == "station type") {
        f.widget("Edit1")->setFocus(); // as after a template
        f.trigger("N3062");
        QVERIFY(!f.isShown("StringGrid1"));
    } else if (step == "module") {
        f.trigger("N12");
    } else if (step == "insert row") {
        f.click(C::Number, 3);
        f.trigger("TableInsertRow");
        QCOMPARE(f.state.table.channelCount(), 11);
    } else if (step == "remove row") {
        f.click(C::Number, 3);
        f.trigger("TableRemoveRow");
        QCOMPARE(f.state.table.cell(C::Rx, 3), "143000");
    } else {
        f.ui.nextOpenName = dir.filePath("two.ini");
        f.trigger("N4");
    }
    QVERIFY2(f.ui.messages.isEmpty(), qPrintable(f.ui.messages.join('\n')));
    const TableSnapshot after = f.snapshot();
    const QString looksAfter = f.looks();
    QVERIFY(!(after == before) || looksAfter != looksBefore);
    // What was checked is no longer what the window shows.
    QVERIFY(!f.state.dataValid);

    // One step back and forth, by every key; each is a change after a check too.
    for (const bool redoByY : {true, false}) {
        f.state.dataValid = true;
        f.keys(Qt::CTRL | Qt::Key_Z);
        QVERIFY(f.snapshot() == before);
        QCOMPARE(f.looks(), looksBefore);
        QCOMPARE(f.memo(), SettingsText::toPlainText(before.settingsLines));
        QVERIFY(!f.state.dataValid);
        f.state.dataValid = true;
        f.keys(redoByY ? (Qt::CTRL | Qt::Key_Y) : (Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
        QVERIFY(f.snapshot() == after);
        QCOMPARE(f.looks(), looksAfter);
        QCOMPARE(f.memo(), SettingsText::toPlainText(after.settingsLines));
        QVERIFY(!f.state.dataValid);
    }
}

void SheetEditingTest::pasteFromTheMiddle()
{
    SheetFixture f;
    f.click(C::Tx, 4);
    const int highlighted = f.editors->selected().row;
    QGuiApplication::clipboard()->setText("150000\t67,0\t023\r\n151000\t71,9\t025\r\n");
    f.keys(Qt::CTRL | Qt::Key_V);
    QCOMPARE(f.state.table.cell(C::Tx, 4), "150000");
    QCOMPARE(f.state.table.cell(C::CtcTx, 5), "025");
    QCOMPARE(f.state.table.cell(C::Rx, 5), "144000");
    // No list opened over the list columns; the current cell and its row stay.
    QVERIFY(f.shownLists().isEmpty());
    QCOMPARE(f.grid->currentIndex(), f.index(C::Tx, 4));
    QCOMPARE(f.editors->selected().row, highlighted);
    QCOMPARE(f.grid->selectionModel()->selectedIndexes().size(), 6);
    QVERIFY(f.grid->selectionModel()->isSelected(f.index(C::CtcTx, 5)));
    // The pasted range is framed in the text colour; the cells below it are not.
    const QImage image = f.grid->viewport()->grab().toImage();
    const auto leftEdge = [&](int column, int row) {
        const QRect cell = f.cellRect(column, row);
        return QColor(image.pixel(cell.left(), cell.center().y()));
    };
    QCOMPARE(leftEdge(C::CtcTx, 5), QColor(Qt::darkBlue));
    QVERIFY(leftEdge(C::CtcTx, 6) != QColor(Qt::darkBlue));
}

void SheetEditingTest::pasteHangingPastTheEnd()
{
    SheetFixture f(3);
    f.click(C::Time, 2);
    QGuiApplication::clipboard()->setText("1\tнет\tx\n2\tда\ty\n3\t-\tz\n");
    f.keys(Qt::CTRL | Qt::Key_V);
    QCOMPARE(f.state.table.cell(C::Time, 3), "2");
    QVERIFY(!f.state.table.isChecked(C::Active, 2));
    QVERIFY(f.state.table.isChecked(C::Active, 3));
    QCOMPARE(QToolTip::text(), TableSheetActions::cutCellsText(5));
    QCOMPARE(f.model->rowCount(), 3);
}

void SheetEditingTest::copyPasteRoundTrip()
{
    SheetFixture f;
    f.model->setData(f.index(C::CtcTx, 2), "88,5", Qt::EditRole);
    f.model->setData(f.index(C::IdTone, 2), Qt::Checked, Qt::CheckStateRole);
    f.model->setData(f.index(C::Scan, 3), Qt::Unchecked, Qt::CheckStateRole);
    f.selectRange(C::Rx, 2, C::Active, 3);
    f.keys(Qt::CTRL | Qt::Key_C);
    const QString copied = QGuiApplication::clipboard()->text();
    QCOMPARE(copied.count(u'\n'), 2);
    QCOMPARE(copied.count(u'\t'), 2 * 16);
    f.click(C::Rx, 7);
    f.keys(Qt::CTRL | Qt::Key_V);
    QCOMPARE(f.shown(7).mid(1), f.shown(2).mid(1));
    QCOMPARE(f.shown(8).mid(1), f.shown(3).mid(1));
}

void SheetEditingTest::openListGivesBackFirst_data()
{
    // The table's keys are the open list's keys too; each first has the list
    // give its item back and close.
    QTest::addColumn<QKeyCombination>("key"); // none: the context menu's copy
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QString>("clipboard");
    QTest::newRow("Ctrl+C") << (Qt::CTRL | Qt::Key_C) << "OFF"
                            << "OFF\n";
    QTest::newRow("Ctrl+V") << (Qt::CTRL | Qt::Key_V) << "x"
                            << "x\n";
    QTest::newRow("Ctrl+D") << (Qt::CTRL | Qt::Key_D) << "OFF"
                            << "x\n";
    QTest::newRow("Ctrl+Z") << (Qt::CTRL | Qt::Key_Z) << "Норм"
                            << "x\n";
    QTest::newRow("Ctrl+Y") << (Qt::CTRL | Qt::Key_Y) << "OFF"
                            << "x\n";
    QTest::newRow("context menu copy") << QKeyCombination() << "OFF"
                                       << "OFF\n";
}

void SheetEditingTest::openListGivesBackFirst()
{
    QFETCH(QKeyCombination, key);
    QFETCH(QString, cell);
    QFETCH(QString, clipboard);
    SheetFixture f;
    f.setText(C::Rx, 5, "150000");
    f.trigger("TableUndo"); // something to redo
    f.click(C::TxOff, 2);
    QComboBox *combo = f.list(8);
    QVERIFY(combo->hasFocus());
    combo->setCurrentIndex(2); // "OFF", not yet given back
    QGuiApplication::clipboard()->setText("x\n");
    if (key == QKeyCombination())
        f.window->findChild<TableSheetActions *>()->action(TableSheetActions::Copy)->trigger();
    else
        QTest::keyClick(combo, key.key(), key.keyboardModifiers());
    QVERIFY(!combo->isVisible());
    QCOMPARE(f.state.table.cell(C::TxOff, 2), cell);
    QCOMPARE(QGuiApplication::clipboard()->text(), clipboard);
    QVERIFY(f.grid->hasFocus());
}

void SheetEditingTest::settingsTextEditsSurviveUndo_data()
{
    // How the typed lines meet the history: the table's keys take the focus
    // from the text; the context menu's actions and a cell written by the
    // model leave the focus where it is.
    QTest::addColumn<QString>("way");
    for (const char *way : {"keys", "context menu", "cell edit"})
        QTest::newRow(way) << way;
}

void SheetEditingTest::settingsTextEditsSurviveUndo()
{
    QFETCH(QString, way);
    SheetFixture f;
    auto *actions = f.window->findChild<TableSheetActions *>();
    const auto step = [&](bool back) {
        if (way == "keys")
            f.keys(back ? (Qt::CTRL | Qt::Key_Z) : (Qt::CTRL | Qt::Key_Y));
        else
            actions->action(back ? TableSheetActions::Undo : TableSheetActions::Redo)->trigger();
    };
    const TableSnapshot templated = f.snapshot();
    f.typeInMemo("MEMO=1", true);
    const QStringList typed = f.state.settingsLines;
    if (way == "cell edit") {
        f.setText(C::Number, 3, "7");
        step(true);
        QCOMPARE(f.text(C::Number, 3), templated.table.cell(C::Number, 3));
        QCOMPARE(f.state.settingsLines, typed);
    }
    step(true); // the typed lines alone
    QVERIFY(f.snapshot() == templated);
    QCOMPARE(f.memo(), SettingsText::toPlainText(templated.settingsLines));
    step(false);
    QCOMPARE(f.state.settingsLines, typed);
    QCOMPARE(f.memo(), SettingsText::toPlainText(typed));
    // Past the template and back: the redo of the template does not write over them.
    step(true);
    step(true);
    QVERIFY(f.state.settingsLines.isEmpty());
    step(false);
    step(false);
    QCOMPARE(f.state.settingsLines, typed);
    QVERIFY(f.state.table == templated.table);
}

void SheetEditingTest::settingsTextKeepsItsOwnUndo()
{
    SheetFixture f;
    const TableSnapshot templated = f.snapshot();
    f.typeInMemo("5");
    QTest::keyClick(f.widget<QPlainTextEdit>("Memo1"), Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(f.snapshot() == templated);
    QCOMPARE(f.history().index(), 1); // the template is still in force
}

void SheetEditingTest::rightPressOpensNoList_data()
{
    QTest::addColumn<QString>("before");
    for (const char *before : {"other cell", "same cell", "inside selection"})
        QTest::newRow(before) << before;
}

void SheetEditingTest::rightPressOpensNoList()
{
    QFETCH(QString, before);
    SheetFixture f;
    if (before == "other cell") {
        f.click(C::Number, 2);
    } else if (before == "same cell") {
        f.click(C::CtcRx, 4);
        f.pick(f.list(1), 5); // given back and closed; a left press would reopen it
    } else {
        f.selectRange(C::CtcRx, 3, C::Sh, 6);
    }
    const QModelIndexList selection = f.grid->selectionModel()->selectedIndexes();
    const QPoint at = f.cellRect(C::CtcRx, 4).center();
    QTest::mousePress(f.grid->viewport(), Qt::RightButton, {}, at);
    QTest::mouseRelease(f.grid->viewport(), Qt::RightButton, {}, at);
    QVERIFY(f.shownLists().isEmpty());
    // The pressed cell is the one the context menu works on.
    QCOMPARE(f.grid->currentIndex(), f.index(C::CtcRx, 4));
    QCOMPARE(f.editors->selected().row, 4);
    if (before == "inside selection")
        QCOMPARE(f.grid->selectionModel()->selectedIndexes().size(), selection.size());
    // The left button still opens the list.
    f.click(C::CtcRx, 4);
    QCOMPARE(f.shownLists(), QList<QComboBox *>{f.list(1)});
}

QTEST_MAIN(SheetEditingTest)
#include "tst_sheetediting.moc"
