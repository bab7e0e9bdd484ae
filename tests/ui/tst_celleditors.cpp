#include "main/celleditors.h"
#include "main/channelcelldelegate.h"
#include "main/channeltablemodel.h"
#include "editorsfixture.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStyleOptionComboBox>
#include <QTableView>
#include <QWheelEvent>

using C = ChannelTable::Column;

class CellEditorsTest : public QObject
{
    Q_OBJECT
private slots:
    void listsAreHiddenChildrenOfWorkArea();
    void opensAtItemOfText_data();
    void opensAtItemOfText();
    void listStandsOverItsCell_data();
    void listStandsOverItsCell();
    void listFollowsScrolling();
    void pickWritesCellAndReturnsFocus();
    void clickingAnotherCellWritesOpenedCell();
    void leavingToAnotherControlKeepsThatFocus();
    void selectionWithListStillOpenGivesItBack();
    void keepsItemOfLastUse();
    void unknownTextWithoutEarlierItemLeavesCell();
    void selectingCurrentCellAgainReopens();
    void typedColumnsOpenNoList_data();
    void typedColumnsOpenNoList();
    void checkBoxCellIsClicked();
    void notAWholeNumber_data();
    void notAWholeNumber();
    void enterCopiesFrequency_data();
    void enterCopiesFrequency();
    void enterAfterTypingCopiesTypedText();
    void selectedRowIsPainted();
    void onlyChangesClearDataValidFlag();
    void rangesSelectedWithoutChanges_data();
    void rangesSelectedWithoutChanges();
};

void CellEditorsTest::listsAreHiddenChildrenOfWorkArea()
{
    EditorsFixture f;
    for (int n = 1; n <= 8; ++n) {
        QComboBox *combo = f.list(n);
        QCOMPARE(combo->parentWidget(), f.widget("Panel1"));
        QVERIFY(combo->isHidden());
        QCOMPARE(combo->count(), ListChoice::items(CellList(n)).size());
        QVERIFY(!combo->isEditable());
    }
    QCOMPARE(int(f.editors->selected().row), 0);
    QCOMPARE(int(f.editors->selected().column), 0);
}

void CellEditorsTest::opensAtItemOfText_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("list");
    QTest::addColumn<int>("item");
    QTest::newRow("CTC_Tx 67,0 later position") << int(C::CtcTx) << "67,0" << 1 << 34;
    QTest::newRow("DCS_Tx 754") << int(C::DcsTx) << "754" << 2 << 84;
    QTest::newRow("Тон_Rx none") << int(C::ToneRx) << "Нет" << 3 << 0;
    QTest::newRow("Тон_Tx 10") << int(C::ToneTx) << "10" << 3 << 10;
    QTest::newRow("ШП 6") << int(C::Sh) << "6" << 4 << 5;
    QTest::newRow("P_min 4") << int(C::PMin) << "4" << 5 << 3;
    QTest::newRow("SW 25") << int(C::Sw) << "25" << 6 << 1;
    QTest::newRow("Tx_Off OFF") << int(C::TxOff) << "OFF" << 8 << 2;
    QTest::newRow("Время 15") << int(C::Time) << "15" << 7 << 15;
}

void CellEditorsTest::opensAtItemOfText()
{
    QFETCH(int, column);
    QFETCH(QString, text);
    QFETCH(int, list);
    QFETCH(int, item);
    EditorsFixture f;
    f.setText(column, 4, text);
    f.click(column, 4);
    QCOMPARE(int(f.editors->selected().row), 4);
    QCOMPARE(int(f.editors->selected().column), column);
    QCOMPARE(f.shownLists(), QList<QComboBox *>{f.list(list)});
    QCOMPARE(f.list(list)->currentIndex(), item);
    QVERIFY(f.list(list)->hasFocus());
    QVERIFY(f.ui.messages.isEmpty());
    QCOMPARE(f.text(column, 4), text);
}

void CellEditorsTest::listStandsOverItsCell_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("text"); // empty: as the template left it
    QTest::newRow("CTC_Rx of row 1") << int(C::CtcRx) << 1 << "";
    QTest::newRow("Время of row 7") << int(C::Time) << 7 << "";
    QTest::newRow("SW of row 10") << int(C::Sw) << 10 << "";
    QTest::newRow("a long tone shown whole") << int(C::CtcTx) << 3 << "123,0";
    QTest::newRow("Норм shown whole") << int(C::TxOff) << 4 << "Норм";
    QTest::newRow("a long DCS code shown whole") << int(C::DcsRx) << 5 << "754";
}

void CellEditorsTest::listStandsOverItsCell()
{
    QFETCH(int, column);
    QFETCH(int, row);
    QFETCH(QString, text);
    EditorsFixture f;
    if (!text.isEmpty())
        f.setText(column, row, text);
    f.click(column, row);
    QComboBox *combo = f.editors->openList();
    QVERIFY(combo);
    const QRect cell = f.cellRect(column, row);
    QCOMPARE(combo->mapTo(f.window.get(), QPoint(0, 0)), f.grid->viewport()->mapTo(f.window.get(), cell.topLeft()));
    QCOMPARE(combo->height(), 20);
    QVERIFY(combo->width() >= ChannelTable::columnWidths()[std::size_t(column)]);
    // The closed list has room for its whole value, as the cell has.
    QStyleOptionComboBox option;
    option.initFrom(combo);
    const QRect field =
        combo->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo);
    QVERIFY2(field.width() >= combo->fontMetrics().horizontalAdvance(combo->currentText()),
             qPrintable(combo->currentText()));
}

void CellEditorsTest::listFollowsScrolling()
{
    EditorsFixture f(30);
    QScrollBar *bar = f.grid->verticalScrollBar();
    bar->setValue(12);
    QCOMPARE(f.grid->rowAt(0), 12); // table row 13 is the first one seen
    f.click(C::CtcTx, 20);
    QComboBox *combo = f.list(1);
    QVERIFY(combo->isVisible());
    const auto placedOverCell = [&] {
        const QRect cell = f.cellRect(C::CtcTx, 20);
        return combo->geometry().topLeft() == f.grid->viewport()->mapTo(combo->parentWidget(), cell.topLeft());
    };
    QVERIFY(placedOverCell());
    QCOMPARE(combo->height(), 20); // rows are 20 high, "CTC_Tx" 47 wide or more for its value
    QVERIFY(combo->width() >= 47);

    bar->setValue(14);
    QVERIFY(placedOverCell());
    bar->setValue(0); // row 20 out of view
    QVERIFY(combo->isVisible());
    QCOMPARE(combo->size(), QSize(0, 0));
    bar->setValue(13);
    QVERIFY(placedOverCell());

    // A wheel turned over the list scrolls the table, never the list's item.
    const QString text = f.text(C::CtcTx, 20);
    const QPointF at = combo->rect().center();
    QWheelEvent wheel(at, combo->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(combo, &wheel);
    QCOMPARE(f.text(C::CtcTx, 20), text);
    QCOMPARE(combo->currentText(), text);
    QVERIFY(bar->value() > 13);
    QVERIFY(placedOverCell());
}

void CellEditorsTest::pickWritesCellAndReturnsFocus()
{
    EditorsFixture f;
    QCOMPARE(f.text(C::CtcRx, 2), QStringLiteral("Нет"));
    f.click(C::CtcRx, 2);
    QComboBox *combo = f.list(1);
    QCOMPARE(combo->currentIndex(), 0);
    f.pick(combo, 5);
    QCOMPARE(f.text(C::CtcRx, 2), QStringLiteral("88,5"));
    QVERIFY(combo->isHidden());
    QVERIFY(f.shownLists().isEmpty());
    QVERIFY(f.grid->hasFocus());
    QCOMPARE(f.text(C::CtcRx, 1), QStringLiteral("Нет"));
    QCOMPARE(f.text(C::CtcTx, 2), QStringLiteral("Нет"));
}

void CellEditorsTest::clickingAnotherCellWritesOpenedCell()
{
    EditorsFixture f;
    f.click(C::CtcRx, 2);
    f.list(1)->setCurrentIndex(7); // "100,0", not picked yet
    f.setText(C::DcsRx, 4, "047");
    f.click(C::DcsRx, 4);
    QCOMPARE(f.text(C::CtcRx, 2), QStringLiteral("100,0"));
    QCOMPARE(f.text(C::DcsRx, 4), QStringLiteral("047"));
    QCOMPARE(f.shownLists(), QList<QComboBox *>{f.list(2)});
    QCOMPARE(f.list(2)->currentIndex(), 8);

    f.list(2)->setCurrentIndex(2);
    f.click(C::Rx, 6); // a typed cell: no list opens
    QCOMPARE(f.text(C::DcsRx, 4), QStringLiteral("025"));
    QCOMPARE(f.text(C::Rx, 6), QStringLiteral("145000"));
    QVERIFY(f.shownLists().isEmpty());
    QVERIFY(f.grid->hasFocus());
}

void CellEditorsTest::leavingToAnotherControlKeepsThatFocus()
{
    EditorsFixture f;
    f.click(C::TxOff, 3);
    f.list(8)->setCurrentIndex(2);
    auto *memo = f.widget<QPlainTextEdit>("Memo1");
    QTest::mouseClick(memo->viewport(), Qt::LeftButton);
    QCOMPARE(f.text(C::TxOff, 3), QStringLiteral("OFF"));
    QVERIFY(f.shownLists().isEmpty());
    QVERIFY(memo->hasFocus());
}

void CellEditorsTest::selectionWithListStillOpenGivesItBack()
{
    // The current cell moved by the program, not by a click that took the focus.
    EditorsFixture f;
    f.click(C::Sw, 2);
    f.list(6)->setCurrentIndex(0);
    f.grid->setCurrentIndex(f.index(C::Rx, 4));
    QCOMPARE(f.text(C::Sw, 2), QStringLiteral("12,5"));
    QCOMPARE(f.text(C::Rx, 4), QStringLiteral("143000"));
    QVERIFY(f.shownLists().isEmpty());
    QVERIFY(f.grid->hasFocus());
    QCOMPARE(int(f.editors->selected().row), 4);
}

void CellEditorsTest::keepsItemOfLastUse()
{
    EditorsFixture f;
    f.setText(C::CtcRx, 1, "88,5");
    f.click(C::CtcRx, 1);
    QCOMPARE(f.list(1)->currentIndex(), 41);
    f.setText(C::CtcRx, 2, "1000");
    f.click(C::CtcRx, 2);
    QCOMPARE(f.list(1)->currentIndex(), 41);

    f.setText(C::Sh, 5, "3");
    f.click(C::Sh, 5);
    QCOMPARE(f.list(4)->currentIndex(), 2);
    f.setText(C::Sh, 6, "7");
    f.click(C::Sh, 6);
    QCOMPARE(f.list(4)->currentIndex(), 2);
    // Left as it opened, the list leaves its cell as it was.
    f.click(C::Number, 6);
    QCOMPARE(f.text(C::Sh, 6), QStringLiteral("7"));
    f.setText(C::CtcRx, 3, "88.5"); // pasted from another locale
    f.click(C::CtcRx, 3);
    QCOMPARE(f.list(1)->currentIndex(), 41);
    QTest::keyClick(f.list(1), Qt::Key_Tab);
    QCOMPARE(f.text(C::CtcRx, 3), QStringLiteral("88.5"));
}

void CellEditorsTest::unknownTextWithoutEarlierItemLeavesCell()
{
    EditorsFixture f;
    f.setText(C::TxOff, 2, "Выкл");
    f.click(C::TxOff, 2);
    QComboBox *combo = f.list(8);
    QVERIFY(combo->isVisible());
    QCOMPARE(combo->currentIndex(), -1);
    f.click(C::Number, 2);
    QCOMPARE(f.text(C::TxOff, 2), QStringLiteral("Выкл"));
    QCOMPARE(f.text(C::Number, 2), QStringLiteral("2"));
    QVERIFY(combo->isHidden());
}

void CellEditorsTest::selectingCurrentCellAgainReopens()
{
    EditorsFixture f;
    f.click(C::PMax, 2);
    f.pick(f.list(5), 1);
    f.activate();
    QCOMPARE(f.text(C::PMax, 2), QStringLiteral("2"));
    QVERIFY(f.shownLists().isEmpty());
    f.click(C::PMax, 2);
    QCOMPARE(f.shownLists(), QList<QComboBox *>{f.list(5)});
    QCOMPARE(f.list(5)->currentIndex(), 1);
}

void CellEditorsTest::typedColumnsOpenNoList_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<bool>("typed");
    QTest::newRow("№ кан.") << int(C::Number) << true;
    QTest::newRow("Rx") << int(C::Rx) << true;
    QTest::newRow("Tx") << int(C::Tx) << true;
    QTest::newRow("Скан.") << int(C::Scan) << false;
    QTest::newRow("Id_Тон") << int(C::IdTone) << false;
    QTest::newRow("Акт") << int(C::Active) << false;
}

void CellEditorsTest::typedColumnsOpenNoList()
{
    QFETCH(int, column);
    QFETCH(bool, typed);
    EditorsFixture f;
    f.click(C::CtcRx, 5);
    QVERIFY(f.list(1)->isVisible());
    f.click(column, 5);
    QVERIFY(f.shownLists().isEmpty());
    QCOMPARE(int(f.editors->selected().column), column);
    QVERIFY(f.grid->hasFocus());
    const QString before = f.text(column, 5);
    QTest::keyClick(f.grid, Qt::Key_7);
    f.typeInto("7");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCoreApplication::processEvents();
    QCOMPARE(f.text(column, 5), typed ? QStringLiteral("77") : before);
}

void CellEditorsTest::checkBoxCellIsClicked()
{
    EditorsFixture f;
    QVERIFY(!f.state.table.isChecked(C::IdTone, 2));
    const int halfWidth = f.cellRect(C::IdTone, 2).width() / 2;
    f.click(C::IdTone, 2, QPoint(halfWidth - 3, 0)); // near the right edge, away from the box
    QVERIFY(f.state.table.isChecked(C::IdTone, 2));
    QVERIFY(f.shownLists().isEmpty());
    f.click(C::IdTone, 2);
    QVERIFY(!f.state.table.isChecked(C::IdTone, 2));
    f.click(C::Scan, 3);
    QVERIFY(!f.state.table.isChecked(C::Scan, 3));
    QVERIFY(f.state.table.isChecked(C::Scan, 2));
}

void CellEditorsTest::notAWholeNumber_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    QTest::newRow("ШП none") << int(C::Sh) << "Нет";
    QTest::newRow("Время empty") << int(C::Time) << "";
}

void CellEditorsTest::notAWholeNumber()
{
    QFETCH(int, column);
    QFETCH(QString, text);
    EditorsFixture f;
    f.click(C::CtcRx, 2); // a list is open when the bad cell is clicked
    f.setText(column, 6, text);
    f.click(column, 6);
    QCOMPARE(f.ui.messages, QStringList{QStringLiteral("'%1' is not a valid integer value").arg(text)});
    QVERIFY(f.shownLists().isEmpty());
    QCOMPARE(int(f.editors->selected().row), 6);
    QCOMPARE(int(f.editors->selected().column), column);
    QCOMPARE(f.text(column, 6), text);
    QCOMPARE(f.text(C::CtcRx, 2), QStringLiteral("Нет"));
}

void CellEditorsTest::enterCopiesFrequency_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("rx");
    QTest::addColumn<QString>("tx");
    QTest::newRow("Rx into Tx") << int(C::Rx) << "145500"
                                << "145500";
    QTest::newRow("Tx into Rx") << int(C::Tx) << "150012,5"
                                << "150012,5";
    QTest::newRow("CTC_Rx copies nothing") << int(C::CtcRx) << "145500"
                                           << "150012,5";
    QTest::newRow("№ кан. copies nothing") << int(C::Number) << "145500"
                                           << "150012,5";
}

void CellEditorsTest::enterCopiesFrequency()
{
    QFETCH(int, column);
    QFETCH(QString, rx);
    QFETCH(QString, tx);
    EditorsFixture f;
    f.setText(C::Rx, 3, "145500");
    f.setText(C::Tx, 3, "150012,5");
    f.click(column, 3);
    QTest::keyClick(f.grid, Qt::Key_Return);
    QCOMPARE(f.text(C::Rx, 3), rx);
    QCOMPARE(f.text(C::Tx, 3), tx);
    QCOMPARE(f.text(C::Rx, 4), QStringLiteral("143000"));
    QCOMPARE(f.text(C::Tx, 4), QStringLiteral("143000"));
}

void CellEditorsTest::enterAfterTypingCopiesTypedText()
{
    EditorsFixture f;
    f.click(C::Rx, 5);
    QTest::keyClick(f.grid, Qt::Key_1); // typing starts the in-place edit
    f.typeInto("45500");
    QVERIFY(f.grid->indexWidget(f.index(C::Rx, 5)));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
    QCOMPARE(f.text(C::Tx, 5), QStringLiteral("145500"));
    QCoreApplication::processEvents();
    // The edit ended by its own Enter.
    QVERIFY(!f.grid->indexWidget(f.index(C::Rx, 5)));
    QCOMPARE(f.text(C::Rx, 5), QStringLiteral("145500"));
}

void CellEditorsTest::selectedRowIsPainted()
{
    EditorsFixture f;
    f.setText(C::Rx, 5, "1111111");
    f.click(C::Rx, 5);
    QVERIFY(f.grid->hasFocus());
    const QImage image = f.grid->grab().toImage();
    const auto colourIn = [&](int column, int row) {
        // A corner pixel inside the cell, clear of the text and the grid lines.
        const QRect cell = f.cellRect(column, row);
        const QPoint p = f.grid->viewport()->mapTo(f.grid, cell.bottomRight() - QPoint(3, 3));
        return image.pixel(p) | 0xFF000000;
    };
    const auto containsColour = [&](int column, int row, QRgb colour) {
        const QRect cell = f.cellRect(column, row).translated(f.grid->viewport()->mapTo(f.grid, QPoint(0, 0)));
        for (int y = cell.top(); y < cell.bottom(); ++y)
            for (int x = cell.left(); x < cell.right(); ++x)
                if ((image.pixel(x, y) | 0xFF000000) == colour)
                    return true;
        return false;
    };
    for (int column : {C::Number, C::Rx, C::CtcRx, C::Scan, C::Sw, C::Active})
        QCOMPARE(colourIn(column, 5), ChannelCellDelegate::RowColor);
    for (int row : {1, 4, 6, 10})
        QCOMPARE(colourIn(C::Tx, row), ChannelCellDelegate::CellColor);
    QCOMPARE(colourIn(C::Scan, 4), ChannelCellDelegate::RowColor); // a box has its own colour
    QVERIFY(containsColour(C::Rx, 5, ChannelCellDelegate::FocusTextColor));
    QVERIFY(!containsColour(C::Tx, 5, ChannelCellDelegate::FocusTextColor));
    QVERIFY(!containsColour(C::Rx, 4, ChannelCellDelegate::FocusTextColor));

    // The header keeps its default look.
    const QRect header = f.grid->horizontalHeader()->geometry();
    const QRgb headerColour = image.pixel(header.left() + 20, header.center().y()) | 0xFF000000;
    QVERIFY(headerColour != ChannelCellDelegate::RowColor);
    QVERIFY(headerColour != ChannelCellDelegate::CellColor);

    // Another row selected: the old one goes back to the table's colour.
    f.click(C::Number, 8);
    const QImage after = f.grid->grab().toImage();
    const QRect cell = f.cellRect(C::Tx, 5);
    QCOMPARE(after.pixel(f.grid->viewport()->mapTo(f.grid, cell.bottomRight() - QPoint(3, 3))) | 0xFF000000,
             ChannelCellDelegate::CellColor);
}

void CellEditorsTest::onlyChangesClearDataValidFlag()
{
    EditorsFixture f;
    f.state.dataValid = true;
    f.click(C::CtcRx, 1);
    f.click(C::DcsTx, 2);
    QTest::keyClick(f.list(2), Qt::Key_Tab);
    f.click(C::Rx, 2);
    QVERIFY(f.state.dataValid); // lists opened and left as they were
    f.click(C::CtcRx, 1);
    f.pick(f.list(1), 3);
    QCOMPARE(f.text(C::CtcRx, 1), QStringLiteral("77,0"));
    QVERIFY(!f.state.dataValid);
}

void CellEditorsTest::rangesSelectedWithoutChanges_data()
{
    QTest::addColumn<QString>("way");
    QTest::addColumn<int>("cells"); // selected afterwards
    QTest::newRow("drag down a list column") << "drag CTC_Rx 1-4" << 4;
    QTest::newRow("drag across list columns") << "drag CTC_Rx-DCS_Tx 2" << 4;
    QTest::newRow("drag from a box over boxes") << "drag Id_Тон 2-4" << 3;
    QTest::newRow("Shift+click onto a box") << "shift-click Tx 3 Id_Тон 3" << 13;
    QTest::newRow("Shift+click onto a list cell") << "shift-click Rx 2 CTC_Rx 4" << 9;
    QTest::newRow("Shift+Right into a list column, Shift+Down") << "shift-keys Tx 3" << 4;
    QTest::newRow("Shift+Down in an open list") << "shift-keys CTC_Rx 3" << 2;
}

void CellEditorsTest::rangesSelectedWithoutChanges()
{
    QFETCH(QString, way);
    QFETCH(int, cells);
    EditorsFixture f;
    const ChannelTable before = f.state.table;
    f.state.dataValid = true;
    QWidget *viewport = f.grid->viewport();
    const auto drag = [&](int fromColumn, int fromRow, int toColumn, int toRow) {
        const QPoint from = f.cellRect(fromColumn, fromRow).center();
        const QPoint to = f.cellRect(toColumn, toRow).center();
        QTest::mousePress(viewport, Qt::LeftButton, {}, from);
        QTest::mouseMove(viewport, (from + to) / 2);
        QTest::mouseMove(viewport, to);
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, to);
    };
    if (way == "drag CTC_Rx 1-4") {
        drag(C::CtcRx, 1, C::CtcRx, 4);
    } else if (way == "drag CTC_Rx-DCS_Tx 2") {
        drag(C::CtcRx, 2, C::DcsTx, 2);
    } else if (way == "drag Id_Тон 2-4") {
        drag(C::IdTone, 2, C::IdTone, 4);
    } else if (way.startsWith("shift-click")) {
        const bool box = way.endsWith("Id_Тон 3");
        f.click(box ? C::Tx : C::Rx, box ? 3 : 2);
        QTest::mouseClick(viewport, Qt::LeftButton, Qt::ShiftModifier,
                          f.cellRect(box ? C::IdTone : C::CtcRx, box ? 3 : 4).center());
    } else if (way == "shift-keys Tx 3") {
        f.click(C::Tx, 3);
        QTest::keyClick(f.grid, Qt::Key_Right, Qt::ShiftModifier);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down, Qt::ShiftModifier);
    } else {
        f.click(C::CtcRx, 3);
        QVERIFY(f.list(1)->hasFocus());
        QTest::keyClick(f.list(1), Qt::Key_Down, Qt::ShiftModifier);
    }
    QVERIFY(f.state.table == before);
    QVERIFY(f.state.dataValid);
    QVERIFY(f.shownLists().isEmpty());
    QVERIFY(f.ui.messages.isEmpty());
    QCOMPARE(f.grid->selectionModel()->selectedIndexes().size(), cells);
    QVERIFY(f.grid->hasFocus());
}

QTEST_MAIN(CellEditorsTest)
#include "tst_celleditors.moc"
