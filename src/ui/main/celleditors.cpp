#include "main/celleditors.h"
#include "main/channelcelldelegate.h"
#include "main/channeltablemodel.h"
#include "services/guard.h"
#include "table/channeltable.h"

#include <QAbstractItemDelegate>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyleOptionComboBox>
#include <QTableView>
#include <utility>

CellEditors::CellEditors(QTableView &grid, ChannelTableModel &model, QWidget &workArea, UiServices &ui, QObject *parent)
    : QObject(parent), m_grid(grid), m_viewport(grid.viewport()), m_model(model), m_ui(ui)
{
    setObjectName(QStringLiteral("CellEditors"));
    for (int i = 0; i < ListChoice::ListCount; ++i) {
        auto *combo = new QComboBox(&workArea);
        combo->setObjectName(QStringLiteral("ComboBox%1").arg(i + 1));
        combo->addItems(ListChoice::items(CellList(i + 1)));
        // No item until the first use: a text the list does not hold then gives nothing back.
        combo->setCurrentIndex(-1);
        // The drop-down lies next to the cell, at most 20 items high, instead
        // of the style's column over the current item, and is as wide as its
        // longest item, however narrow the cell.
        combo->setMaxVisibleItems(MaxShownItems);
        combo->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
        combo->view()->setMinimumWidth(combo->view()->sizeHintForColumn(0)
                                       + combo->view()->verticalScrollBar()->sizeHint().width() + 8);
        combo->hide();
        combo->installEventFilter(this);
        connect(combo, &QComboBox::activated, this, [this] { giveBack(true, true); });
        connect(combo, &QComboBox::currentIndexChanged, this, &CellEditors::placeOpenList);
        combo->view()->installEventFilter(this);
        m_lists[static_cast<std::size_t>(i)] = combo;
    }

    m_grid.setItemDelegate(new ChannelCellDelegate(m_selected, &m_grid));
    m_grid.installEventFilter(this);
    m_viewport->installEventFilter(this);
    connect(m_grid.selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &current) { onCurrentChanged(current); });
    connect(m_grid.verticalScrollBar(), &QScrollBar::valueChanged, this, &CellEditors::placeOpenList);
    connect(m_grid.horizontalScrollBar(), &QScrollBar::valueChanged, this, &CellEditors::placeOpenList);
}

QComboBox *CellEditors::list(CellList which) const
{
    if (which == CellList::None)
        return nullptr;
    return m_lists[static_cast<std::size_t>(which) - 1];
}

void CellEditors::onCurrentChanged(const QModelIndex &current)
{
    // A rebuilt table has no current cell; nothing was selected.
    if (!current.isValid())
        return;
    cellSelected(current.column(), ChannelTableModel::tableRow(current));
}

void CellEditors::onReleased(const QPoint &position)
{
    // A click, not a drag: released on the cell pressed, which is the whole
    // selection. A click on the cell that is already current opens its list
    // once more after it gave its value back.
    const QModelIndex current = m_grid.currentIndex();
    if (!current.isValid() || m_grid.indexAt(position) != current)
        return;
    if (m_grid.selectionModel()->selectedIndexes().size() > 1)
        return;
    cellSelected(current.column(), ChannelTableModel::tableRow(current));
}

void CellEditors::cellSelected(int column, int row)
{
    m_selected.row = row;
    m_selected.column = column;
    // A list still open keeps its value for its own cell: one list at a time.
    giveBack(false);
    // Typing: the model lets only the columns 0 to 2 of channel rows be edited.
    // A button still down may become a drag, and a range is being extended:
    // neither opens a list.
    guarded(m_ui, [&] {
        const CellList which = ListChoice::listFor(column);
        if (row >= 1 && which != CellList::None && !m_rightPress && !m_leftDown && !m_extending)
            open(which, column, row);
    });
    // The whole selected row changes colour, not only the two cells the view repaints.
    m_viewport->update();
}

void CellEditors::open(CellList which, int column, int row)
{
    QComboBox *combo = list(which);
    const QString text = m_model.index(row - 1, column).data(Qt::EditRole).toString();
    const std::optional<int> item = ListChoice::choose(which, text);
    m_open = combo;
    m_openColumn = column;
    m_openRow = row;
    placeOpenList();
    if (item)
        combo->setCurrentIndex(*item);
    m_openedAt = combo->currentIndex();
    placeOpenList();
    combo->show();
    combo->raise();
    combo->setFocus(Qt::OtherFocusReason);
}

void CellEditors::giveBack(bool focusTable, bool picked)
{
    QComboBox *combo = std::exchange(m_open, nullptr);
    if (!combo)
        return;
    // Only an item the user chose goes into the cell: a list with no item, or
    // left at the item it opened at, leaves the cell's text as it was.
    const int item = combo->currentIndex();
    if (item >= 0 && (picked || item != m_openedAt) && m_openRow >= 1 && m_openRow <= m_model.rowCount())
        m_model.setData(m_model.index(m_openRow - 1, m_openColumn), combo->currentText(), Qt::EditRole);
    // After a pick the table takes the focus; a list that lost it keeps it where it went.
    if (focusTable || combo->hasFocus())
        m_grid.setFocus(Qt::OtherFocusReason);
    combo->hide();
}

void CellEditors::cancel()
{
    QComboBox *combo = std::exchange(m_open, nullptr);
    if (!combo)
        return;
    if (combo->hasFocus())
        m_grid.setFocus(Qt::OtherFocusReason);
    combo->hide();
}

void CellEditors::closeList()
{
    giveBack(false);
}

bool CellEditors::listKey(QKeyEvent &event)
{
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    const int key = event.key();
    if (movesInTable(key)) {
        // A closed list would step its item on the way through the table;
        // Alt+Down (like F4 and Space) opens it for a choice instead.
        if (modifiers & Qt::AltModifier)
            return key != Qt::Key_Down;
        giveBack(true);
        QCoreApplication::sendEvent(&m_grid, &event);
        return true;
    }
    if (modifiers & (Qt::ControlModifier | Qt::AltModifier))
        return false;
    const bool arrow = key == Qt::Key_Left || key == Qt::Key_Right;
    if (arrow && (modifiers & Qt::ShiftModifier)) {
        // Shift with an arrow extends the table's selection, as on every column.
        giveBack(true);
        sendExtending(&m_grid, &event);
        return true;
    }
    switch (key) {
    case Qt::Key_Escape:
        cancel();
        return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        // Not a step to the next control: the list is the table's editor.
        giveBack(true);
        return true;
    case Qt::Key_Left:
    case Qt::Key_Right: {
        const int column = m_openColumn + (key == Qt::Key_Left ? -1 : 1);
        const int row = m_openRow;
        giveBack(true);
        if (column >= 0 && column < ChannelTable::ColumnCount && row >= 1 && row <= m_model.rowCount())
            m_grid.setCurrentIndex(m_model.index(row - 1, column));
        return true;
    }
    default:
        return false;
    }
}

bool CellEditors::movesInTable(int key)
{
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
        return true;
    default:
        return false;
    }
}

bool CellEditors::dropDownKey(QKeyEvent &event)
{
    const int key = event.key();
    if (!m_open || (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        || (key != Qt::Key_Tab && key != Qt::Key_Backtab && key != Qt::Key_Left && key != Qt::Key_Right))
        return false;
    const int item = m_open->view()->currentIndex().row();
    m_open->hidePopup();
    if (item >= 0)
        m_open->setCurrentIndex(item);
    return listKey(event);
}

void CellEditors::sendExtending(QObject *to, QEvent *event)
{
    const bool was = std::exchange(m_extending, true);
    QCoreApplication::sendEvent(to, event);
    m_extending = was;
}

void CellEditors::placeOpenList()
{
    if (!m_open || m_openRow < 1 || m_openRow > m_model.rowCount())
        return;
    // The cell with the grid lines to its right and below it, as far as it is
    // seen: a cell scrolled out of view leaves the list no room.
    QRect cell = m_grid.visualRect(m_model.index(m_openRow - 1, m_openColumn)).adjusted(0, 0, 1, 1);
    cell &= m_viewport->rect();
    QWidget *area = m_open->parentWidget();
    const QPoint topLeft = m_viewport->mapTo(area, cell.topLeft());
    const QSize size = cell.isEmpty() ? QSize(0, 0) : QSize(listWidth(cell.width()), cell.height());
    m_open->setGeometry(QRect(topLeft, size));
}

int CellEditors::listWidth(int cellWidth) const
{
    // The closed list shows its value whole, as the cell does: where the
    // arrow leaves too little room, the list reaches over the next cell.
    QStyleOptionComboBox option;
    option.initFrom(m_open);
    option.rect = QRect(0, 0, cellWidth, m_open->height());
    option.currentText = m_open->currentText();
    const QRect field =
        m_open->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, m_open);
    const int needed = m_open->fontMetrics().horizontalAdvance(option.currentText) + 4;
    return cellWidth + std::max(0, needed - field.width());
}

void CellEditors::keyPressed(int key)
{
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return;
    const int row = m_selected.row;
    const int column = m_selected.column;
    if (row == 0 || row > m_model.rowCount() || (column != ChannelTable::Rx && column != ChannelTable::Tx))
        return;
    const QModelIndex from = m_model.index(row - 1, column);
    const QModelIndex to = m_model.index(row - 1, column == ChannelTable::Rx ? ChannelTable::Tx : ChannelTable::Rx);
    commitTyping(from);
    m_model.setData(to, from.data(Qt::EditRole), Qt::EditRole);
}

void CellEditors::commitTyping(const QModelIndex &index)
{
    if (QWidget *editor = m_grid.indexWidget(index))
        m_grid.itemDelegateForIndex(index)->setModelData(editor, &m_model, index);
}

bool CellEditors::eventFilter(QObject *watched, QEvent *event)
{
    // Only pointers are compared before the event is known to matter: the
    // table and the lists send events while they are being destroyed.
    const QEvent::Type type = event->type();
    if (watched == &m_grid && type == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        // Also the Enter of the in-place edit, which it passes on to the table;
        // once, not again when the key comes back extending.
        if (!m_extending)
            keyPressed(key->key());
        // Shift or Ctrl with a key moves within a range; Shift+Tab is a plain step back.
        const bool extends = key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier);
        if (extends && key->key() != Qt::Key_Backtab && key->key() != Qt::Key_Tab && !m_extending) {
            sendExtending(&m_grid, event);
            return true;
        }
    } else if (watched == m_viewport && type == QEvent::MouseButtonPress) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        // The view moves the current cell (and the selection, when the press is
        // outside it) on a press of any button; a right press is for the
        // context menu, so the cell becomes current without opening its list.
        // The press goes to the view from here, to know where it ends.
        if (mouse->button() == Qt::RightButton && !m_rightPress) {
            m_rightPress = true;
            QCoreApplication::sendEvent(m_viewport, event);
            m_rightPress = false;
            return true;
        }
        if (mouse->button() == Qt::LeftButton) {
            // A list opens when the button comes up, if the press was a click.
            m_leftDown = true;
            m_extending = mouse->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier);
        }
    } else if (watched == m_viewport && type == QEvent::MouseButtonRelease && m_leftDown) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton) {
            const QPoint position = mouse->position().toPoint();
            // The view ends its click (a box toggles) before a list opens.
            m_leftDown = false;
            QCoreApplication::sendEvent(m_viewport, event);
            if (!std::exchange(m_extending, false))
                onReleased(position);
            return true;
        }
    } else if (m_open && watched == m_open->view() && type == QEvent::KeyPress) {
        if (dropDownKey(*static_cast<QKeyEvent *>(event)))
            return true;
    } else if (watched == m_open && type == QEvent::Wheel && qobject_cast<QComboBox *>(watched)) {
        // The wheel scrolls the table under the pointer, as over any cell; a
        // closed list would step its item instead.
        QCoreApplication::sendEvent(m_grid.verticalScrollBar(), event);
        return true;
    } else if (watched == m_open && type == QEvent::KeyPress && qobject_cast<QComboBox *>(watched)) {
        if (listKey(*static_cast<QKeyEvent *>(event)))
            return true;
    } else if (watched == m_open && type == QEvent::FocusOut && qobject_cast<QComboBox *>(watched)) {
        // Its own drop-down, a menu and a switch to another window do not
        // leave the list. (A list being destroyed is no longer a QComboBox.)
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        const QWidget *next = QApplication::focusWidget();
        const bool intoDropDown = next && next->window() == m_open->view()->window();
        if (!intoDropDown && reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
            giveBack(false);
    }
    return QObject::eventFilter(watched, event);
}
