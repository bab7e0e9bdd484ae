#pragma once

#include "main/selectedcell.h"
#include "table/listchoice.h"

#include <QObject>
#include <array>

class ChannelTableModel;
class QComboBox;
class QKeyEvent;
class QPoint;
class QModelIndex;
class QTableView;
class QWidget;
class UiServices;

// The in-place editors of the channel table. The first three columns are
// typed into the cell; every coded column is edited through its drop-down
// list (ComboBox1 to ComboBox8, children of the work area), which opens over
// the selected cell and gives its item back into that cell; the check-box
// columns are clicked. Enter copies a frequency between " Rx, кГц" and
// " Tx, кГц". None of this touches the data-valid flag.
//
// The lists are lasting widgets laid over the cell rather than editors a
// delegate creates: a delegate's editor lives for one edit, while each list
// keeps its current item from its last use (a text it does not hold opens it
// there), serves two columns, opens on the selection of a cell rather than on
// an edit trigger, and gives its item back to the cell it was opened for when
// it loses the focus, before the table moves to the cell clicked next. A
// right press selects the cell for the context menu and opens no list.
//
// A list opens only on a plain selection of one cell: by a click once the
// button is released on the cell pressed, by arrows without Shift, or by the
// program. A drag and Shift or Ctrl with a click or arrows select a range on
// every column and open nothing, so nothing is picked by the way. A list
// gives back only what the user chose in it: one left as it opened leaves its
// cell exactly as it was, even when the cell holds a text the list lacks.
class CellEditors : public QObject
{
    Q_OBJECT
public:
    static constexpr int MaxShownItems = 20;

    CellEditors(QTableView &grid, ChannelTableModel &model, QWidget &workArea, UiServices &ui,
                QObject *parent = nullptr);

    const SelectedCell &selected() const { return m_selected; }
    QComboBox *list(CellList which) const;
    const std::array<QComboBox *, ListChoice::ListCount> &lists() const { return m_lists; }
    // The list open over a cell, if any.
    QComboBox *openList() const { return m_open; }

    // A cell was selected by mouse or keys; row is the table row (1..N).
    void cellSelected(int column, int row);
    // The open list, if any, gives its item back and closes, as when it loses
    // the focus: every menu operation starts so, to see the table as the
    // list left it.
    void closeList();
    // A key went down in the table or in its in-place edit; it goes on to
    // them afterwards.
    void keyPressed(int key);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void onCurrentChanged(const QModelIndex &current);
    void onReleased(const QPoint &position);
    void open(CellList which, int column, int row);
    // ComboBox1Change ... ComboBox8Change (focusTable) and ComboBox1Exit ...
    // ComboBox8Exit: the open list's item goes into the cell it was opened for.
    // `picked`: the user took an item (activated), which goes back even when
    // it is the item the list opened at.
    void giveBack(bool focusTable, bool picked = false);
    // Esc: the list closes, its cell as it was, and the table has the focus.
    void cancel();
    void placeOpenList();
    // The list's own width, or wider when its value needs more room than the cell.
    int listWidth(int cellWidth) const;
    // Tab, Shift+Tab, Left and Right in the open list: its item goes back and
    // the focus to the table (Left and Right: to the neighbouring cell); Up,
    // Down, Page Up, Page Down, Home and End move in the table as they do on
    // any cell, never stepping the list's item; arrows with Shift go on to the
    // table and extend its selection; Esc cancels. False for every other key,
    // which the list handles itself: Alt+Down, F4 and Space open its
    // drop-down, a typed letter chooses an item.
    bool listKey(QKeyEvent &key);
    static bool movesInTable(int key);
    // The same keys in the list's open drop-down: the highlighted item becomes
    // the list's, the drop-down closes and the key acts as on the closed list.
    bool dropDownKey(QKeyEvent &key);
    // An event goes on to the table while a range is being extended.
    void sendExtending(QObject *to, QEvent *event);
    // The text being typed into a cell is the cell's text.
    void commitTyping(const QModelIndex &index);

    QTableView &m_grid;
    QWidget *m_viewport;
    ChannelTableModel &m_model;
    UiServices &m_ui;
    SelectedCell m_selected;
    std::array<QComboBox *, ListChoice::ListCount> m_lists{};
    QComboBox *m_open = nullptr;
    int m_openColumn = 0;
    int m_openRow = 0;
    int m_openedAt = -1;       // the item the list showed when it opened
    bool m_leftDown = false;   // between a left press in the table and its release
    bool m_extending = false;  // Shift or Ctrl: the selection grows, no list opens
    bool m_rightPress = false; // a right press is being handled by the view
};
