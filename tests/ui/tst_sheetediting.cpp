#include "editorsfixture.h"
#include "main/tablecommands.h"
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
    void keys(QKeyCombination combination) const
    {
        grid->setFocus();
        QTest::keyClick(grid, combination.key(), combination.keyboardModifiers());
    }
    TableSnapshot snapshot() const { return {state.table, state.settingsLines}; }
    QString memo() const { return widget<QPlainTextEdit>("Memo1")->toPlainText(); }
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
    void openListGivesBackFirst();
};

void SheetEditingTest::undoAndRedoOfEachStep_data()
{
    QTest::addColumn<QString>("step");
    for (const char *step : {"typing", "list", "Enter", "box", "paste", "fill", "template", "file load"})
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
    } else {
        f.ui.nextOpenName = dir.filePath("two.ini");
        f.trigger("N4");
    }
    QVERIFY2(f.ui.messages.isEmpty(), qPrintable(f.ui.messages.join('\n')));
    const TableSnapshot after = f.snapshot();
    QVERIFY(!(after == before));

    // One step back and forth, by every key; the data-valid flag is the history's business nowhere.
    for (const bool valid : {true, false}) {
        f.state.dataValid = valid;
        f.keys(Qt::CTRL | Qt::Key_Z);
        QVERIFY(f.snapshot() == before);
        QCOMPARE(f.memo(), SettingsText::toPlainText(before.settingsLines));
        f.keys(valid ? (Qt::CTRL | Qt::Key_Y) : (Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
        QVERIFY(f.snapshot() == after);
        QCOMPARE(f.memo(), SettingsText::toPlainText(after.settingsLines));
        QCOMPARE(f.state.dataValid, valid);
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

void SheetEditingTest::openListGivesBackFirst()
{
    SheetFixture f;
    f.click(C::TxOff, 2);
    QComboBox *combo = f.list(8);
    QVERIFY(combo->isVisible());
    combo->setCurrentIndex(2); // "OFF", not yet given back
    // The list holds the focus: the table's keys are not its keys.
    QGuiApplication::clipboard()->setText("x\n");
    QTest::keyClick(combo, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(f.state.table.cell(C::TxOff, 2), "Норм");
    QVERIFY(combo->isVisible());
    // The context menu's copy takes the list's value into the cell first.
    f.window->findChild<TableSheetActions *>()->action(TableSheetActions::Copy)->trigger();
    QVERIFY(!combo->isVisible());
    QCOMPARE(f.state.table.cell(C::TxOff, 2), "OFF");
    QCOMPARE(QGuiApplication::clipboard()->text(), "OFF\n");
}

QTEST_MAIN(SheetEditingTest)
#include "tst_sheetediting.moc"
