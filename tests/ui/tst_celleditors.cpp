#include "main/celleditors.h"
#include "main/channelcelldelegate.h"
#include "main/channeltablemodel.h"
#include "editorsfixture.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTableView>


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
    void keyPickGivesBack();
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
    void editsKeepDataValidFlag();
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
    QTest::newRow("CTC_Tx 67,0 later position") << 4 << "67,0" << 1 << 34;
    QTest::newRow("DCS_Tx 754") << 6 << "754" << 2 << 84;
    QTest::newRow("Тон_Rx none") << 7 << "Нет" << 3 << 0;
    QTest::newRow("Тон_Tx 10") << 8 << "10" << 3 << 10;
    QTest::newRow("ШП 6") << 9 << "6" << 4 << 5;
    QTest::newRow("P_min 4") << 11 << "4" << 5 << 3;
    QTest::newRow("SW 25") << 13 << "25" << 6 << 1;
    QTest::newRow("Tx_Off OFF") << 15 << "OFF" << 8 << 2;
    QTest::newRow("Время 15") << 16 << "15" << 7 << 15;
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
    QTest::newRow("CTC_Rx of row 1") << 3 << 1;
    QTest::newRow("Время of row 7") << 16 << 7;
    QTest::newRow("SW of row 10") << 13 << 10;
}

void CellEditorsTest::listStandsOverItsCell()
{
    QFETCH(int, column);
    QFETCH(int, row);
    EditorsFixture f;
    f.click(column, row);
    QComboBox *combo = f.editors->openList();
    QVERIFY(combo);
    const QRect cell = f.cellRect(column, row);
    QCOMPARE(combo->mapTo(f.window.get(), QPoint(0, 0)), f.grid->viewport()->mapTo(f.window.get(), cell.topLeft()));
    QCOMPARE(combo->size(), QSize(ChannelTable::columnWidths()[std::size_t(column)], 20));
}

void CellEditorsTest::listFollowsScrolling()
{
    EditorsFixture f(30);
    QScrollBar *bar = f.grid->verticalScrollBar();
    bar->setValue(12);
    QCOMPARE(f.grid->rowAt(0), 12); // table row 13 is the first one seen
    f.click(4, 20);
    QComboBox *combo = f.list(1);
    QVERIFY(combo->isVisible());
    const auto placedOverCell = [&] {
        const QRect cell = f.cellRect(4, 20);
        return combo->geometry().topLeft() == f.grid->viewport()->mapTo(combo->parentWidget(), cell.topLeft());
    };
    QVERIFY(placedOverCell());
    QCOMPARE(combo->size(), QSize(47, 20)); // "CTC_Tx" is 47 wide, rows 20 high

    bar->setValue(14);
    QVERIFY(placedOverCell());
    bar->setValue(0); // row 20 out of view
    QVERIFY(combo->isVisible());
    QCOMPARE(combo->size(), QSize(0, 0));
    bar->setValue(13);
    QVERIFY(placedOverCell());
}

void CellEditorsTest::pickWritesCellAndReturnsFocus()
{
    EditorsFixture f;
    QCOMPARE(f.text(3, 2), QStringLiteral("Нет"));
    f.click(3, 2);
    QComboBox *combo = f.list(1);
    QCOMPARE(combo->currentIndex(), 0);
    f.pick(combo, 5);
    QCOMPARE(f.text(3, 2), QStringLiteral("88,5"));
    QVERIFY(combo->isHidden());
    QVERIFY(f.shownLists().isEmpty());
    QVERIFY(f.grid->hasFocus());
    QCOMPARE(f.text(3, 1), QStringLiteral("Нет"));
    QCOMPARE(f.text(4, 2), QStringLiteral("Нет"));
}

void CellEditorsTest::keyPickGivesBack()
{
    // A step with the arrow keys on the closed list is a pick as well.
    EditorsFixture f;
    f.click(2, 3);
    QVERIFY(f.shownLists().isEmpty());
    QTest::keyClick(f.grid, Qt::Key_Right);
    QComboBox *combo = f.list(1);
    QVERIFY(combo->hasFocus());
    QTest::keyClick(combo, Qt::Key_Down);
    QCOMPARE(f.text(3, 3), QStringLiteral("67,0"));
    QVERIFY(combo->isHidden());
    QVERIFY(f.grid->hasFocus());
    QTest::keyClick(f.grid, Qt::Key_Down);
    QCOMPARE(int(f.editors->selected().row), 4);
    QVERIFY(combo->isVisible());
    QCOMPARE(combo->currentIndex(), 0);
}

void CellEditorsTest::clickingAnotherCellWritesOpenedCell()
{
    EditorsFixture f;
    f.click(3, 2);
    f.list(1)->setCurrentIndex(7); // "100,0", not picked yet
    f.setText(5, 4, "047");
    f.click(5, 4);
    QCOMPARE(f.text(3, 2), QStringLiteral("100,0"));
    QCOMPARE(f.text(5, 4), QStringLiteral("047"));
    QCOMPARE(f.shownLists(), QList<QComboBox *>{f.list(2)});
    QCOMPARE(f.list(2)->currentIndex(), 8);

    f.list(2)->setCurrentIndex(2);
    f.click(1, 6); // a typed cell: no list opens
    QCOMPARE(f.text(5, 4), QStringLiteral("025"));
    QCOMPARE(f.text(1, 6), QStringLiteral("145000"));
    QVERIFY(f.shownLists().isEmpty());
    QVERIFY(f.grid->hasFocus());
}

void CellEditorsTest::leavingToAnotherControlKeepsThatFocus()
{
    EditorsFixture f;
    f.click(15, 3);
    f.list(8)->setCurrentIndex(2);
    auto *memo = f.widget<QPlainTextEdit>("Memo1");
    QTest::mouseClick(memo->viewport(), Qt::LeftButton);
    QCOMPARE(f.text(15, 3), QStringLiteral("OFF"));
    QVERIFY(f.shownLists().isEmpty());
    QVERIFY(memo->hasFocus());
}

void CellEditorsTest::selectionWithListStillOpenGivesItBack()
{
    // The current cell moved by the program, not by a click that took the focus.
    EditorsFixture f;
    f.click(13, 2);
    f.list(6)->setCurrentIndex(0);
    f.grid->setCurrentIndex(f.index(1, 4));
    QCOMPARE(f.text(13, 2), QStringLiteral("12,5"));
    QCOMPARE(f.text(1, 4), QStringLiteral("143000"));
    QVERIFY(f.shownLists().isEmpty());
    QVERIFY(f.grid->hasFocus());
    QCOMPARE(int(f.editors->selected().row), 4);
}

void CellEditorsTest::keepsItemOfLastUse()
{
    EditorsFixture f;
    f.setText(3, 1, "88,5");
    f.click(3, 1);
    QCOMPARE(f.list(1)->currentIndex(), 41);
    f.setText(3, 2, "1000");
    f.click(3, 2);
    QCOMPARE(f.list(1)->currentIndex(), 41);

    f.setText(9, 5, "3");
    f.click(9, 5);
    QCOMPARE(f.list(4)->currentIndex(), 2);
    f.setText(9, 6, "7");
    f.click(9, 6);
    QCOMPARE(f.list(4)->currentIndex(), 2);
    f.click(0, 6);
    QCOMPARE(f.text(9, 6), QStringLiteral("3"));
}

void CellEditorsTest::unknownTextWithoutEarlierItemLeavesCell()
{
    EditorsFixture f;
    f.setText(15, 2, "Выкл");
    f.click(15, 2);
    QComboBox *combo = f.list(8);
    QVERIFY(combo->isVisible());
    QCOMPARE(combo->currentIndex(), -1);
    f.click(0, 2);
    QCOMPARE(f.text(15, 2), QStringLiteral("Выкл"));
    QCOMPARE(f.text(0, 2), QStringLiteral("2"));
    QVERIFY(combo->isHidden());
}

void CellEditorsTest::selectingCurrentCellAgainReopens()
{
    EditorsFixture f;
    f.click(10, 2);
    f.pick(f.list(5), 1);
    f.activate();
    QCOMPARE(f.text(10, 2), QStringLiteral("2"));
    QVERIFY(f.shownLists().isEmpty());
    f.click(10, 2);
    QCOMPARE(f.shownLists(), QList<QComboBox *>{f.list(5)});
    QCOMPARE(f.list(5)->currentIndex(), 1);
}

void CellEditorsTest::typedColumnsOpenNoList_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<bool>("typed");
    QTest::newRow("№ кан.") << 0 << true;
    QTest::newRow("Rx") << 1 << true;
    QTest::newRow("Tx") << 2 << true;
    QTest::newRow("Скан.") << 12 << false;
    QTest::newRow("Id_Тон") << 14 << false;
    QTest::newRow("Акт") << 17 << false;
}

void CellEditorsTest::typedColumnsOpenNoList()
{
    QFETCH(int, column);
    QFETCH(bool, typed);
    EditorsFixture f;
    f.click(3, 5);
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
    QVERIFY(!f.state.table.isChecked(14, 2));
    const int halfWidth = f.cellRect(14, 2).width() / 2;
    f.click(14, 2, QPoint(halfWidth - 3, 0)); // near the right edge, away from the box
    QVERIFY(f.state.table.isChecked(14, 2));
    QVERIFY(f.shownLists().isEmpty());
    f.click(14, 2);
    QVERIFY(!f.state.table.isChecked(14, 2));
    f.click(12, 3);
    QVERIFY(!f.state.table.isChecked(12, 3));
    QVERIFY(f.state.table.isChecked(12, 2));
}

void CellEditorsTest::notAWholeNumber_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    QTest::newRow("ШП none") << 9 << "Нет";
    QTest::newRow("Время empty") << 16 << "";
}

void CellEditorsTest::notAWholeNumber()
{
    QFETCH(int, column);
    QFETCH(QString, text);
    EditorsFixture f;
    f.click(3, 2); // a list is open when the bad cell is clicked
    f.setText(column, 6, text);
    f.click(column, 6);
    QCOMPARE(f.ui.messages, QStringList{QStringLiteral("'%1' is not a valid integer value").arg(text)});
    QVERIFY(f.shownLists().isEmpty());
    QCOMPARE(int(f.editors->selected().row), 6);
    QCOMPARE(int(f.editors->selected().column), column);
    QCOMPARE(f.text(column, 6), text);
    QCOMPARE(f.text(3, 2), QStringLiteral("Нет"));
}

void CellEditorsTest::enterCopiesFrequency_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("rx");
    QTest::addColumn<QString>("tx");
    QTest::newRow("Rx into Tx") << 1 << "145500" << "145500";
    QTest::newRow("Tx into Rx") << 2 << "150012,5" << "150012,5";
    QTest::newRow("CTC_Rx copies nothing") << 3 << "145500" << "150012,5";
    QTest::newRow("№ кан. copies nothing") << 0 << "145500" << "150012,5";
}

void CellEditorsTest::enterCopiesFrequency()
{
    QFETCH(int, column);
    QFETCH(QString, rx);
    QFETCH(QString, tx);
    EditorsFixture f;
    f.setText(1, 3, "145500");
    f.setText(2, 3, "150012,5");
    f.click(column, 3);
    QTest::keyClick(f.grid, Qt::Key_Return);
    QCOMPARE(f.text(1, 3), rx);
    QCOMPARE(f.text(2, 3), tx);
    QCOMPARE(f.text(1, 4), QStringLiteral("143000"));
    QCOMPARE(f.text(2, 4), QStringLiteral("143000"));
}

void CellEditorsTest::enterAfterTypingCopiesTypedText()
{
    EditorsFixture f;
    f.click(1, 5);
    QTest::keyClick(f.grid, Qt::Key_1); // typing starts the in-place edit
    f.typeInto("45500");
    QVERIFY(f.grid->indexWidget(f.index(1, 5)));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
    QCOMPARE(f.text(2, 5), QStringLiteral("145500"));
    QCoreApplication::processEvents();
    // The edit ended by its own Enter.
    QVERIFY(!f.grid->indexWidget(f.index(1, 5)));
    QCOMPARE(f.text(1, 5), QStringLiteral("145500"));
}

void CellEditorsTest::selectedRowIsPainted()
{
    EditorsFixture f;
    f.setText(1, 5, "1111111");
    f.click(1, 5);
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
    for (int column : {0, 1, 3, 12, 13, 17})
        QCOMPARE(colourIn(column, 5), ChannelCellDelegate::RowColor);
    for (int row : {1, 4, 6, 10})
        QCOMPARE(colourIn(2, row), ChannelCellDelegate::CellColor);
    QCOMPARE(colourIn(12, 4), ChannelCellDelegate::CellColor);
    QVERIFY(containsColour(1, 5, ChannelCellDelegate::FocusTextColor));
    QVERIFY(!containsColour(2, 5, ChannelCellDelegate::FocusTextColor));
    QVERIFY(!containsColour(1, 4, ChannelCellDelegate::FocusTextColor));

    // The header keeps its default look.
    const QRect header = f.grid->horizontalHeader()->geometry();
    const QRgb headerColour = image.pixel(header.left() + 20, header.center().y()) | 0xFF000000;
    QVERIFY(headerColour != ChannelCellDelegate::RowColor);
    QVERIFY(headerColour != ChannelCellDelegate::CellColor);

    // Another row selected: the old one goes back to the table's colour.
    f.click(0, 8);
    const QImage after = f.grid->grab().toImage();
    const QRect cell = f.cellRect(2, 5);
    QCOMPARE(after.pixel(f.grid->viewport()->mapTo(f.grid, cell.bottomRight() - QPoint(3, 3))) | 0xFF000000,
             ChannelCellDelegate::CellColor);
}

void CellEditorsTest::editsKeepDataValidFlag()
{
    EditorsFixture f;
    f.state.dataValid = true;
    f.click(3, 1);
    f.pick(f.list(1), 3);
    f.activate();
    f.click(6, 2);
    f.click(1, 2);
    QTest::keyClick(f.grid, Qt::Key_Return);
    f.click(14, 3);
    QCOMPARE(f.text(3, 1), QStringLiteral("77,0"));
    QCOMPARE(f.text(6, 2), QStringLiteral("Нет"));
    QVERIFY(f.state.table.isChecked(14, 3));
    QVERIFY(f.state.dataValid);
}

QTEST_MAIN(CellEditorsTest)
#include "tst_celleditors.moc"
