#include "main/tablesheetactions.h"
#include "main/channeltablemodel.h"
#include "main/tablehistory.h"
#include "main/tableselection.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QTableView>
#include <QToolTip>
#include <QUndoStack>
#include <algorithm>

TableSheetActions::TableSheetActions(QTableView &grid, ChannelTableModel &model, TableHistory &history,
                                     std::function<void()> giveBackList, QObject *parent)
    : QObject(parent), m_grid(grid), m_model(model), m_history(history), m_giveBackList(std::move(giveBackList))
{
    setObjectName(QStringLiteral("TableSheetActions"));
    addAction(Copy, "TableCopy", QStringLiteral("Копировать"), {QKeySequence(Qt::CTRL | Qt::Key_C)},
              &TableSheetActions::copy);
    addAction(Paste, "TablePaste", QStringLiteral("Вставить"), {QKeySequence(Qt::CTRL | Qt::Key_V)},
              &TableSheetActions::paste);
    addAction(FillDown, "TableFillDown", QStringLiteral("Заполнить вниз"), {QKeySequence(Qt::CTRL | Qt::Key_D)},
              &TableSheetActions::fillDown);
    auto *separator = new QAction(this);
    separator->setSeparator(true);
    m_grid.addAction(separator);
    QAction *undo =
        addAction(Undo, "TableUndo", QStringLiteral("Отменить"), {QKeySequence(Qt::CTRL | Qt::Key_Z)}, nullptr);
    QAction *redo =
        addAction(Redo, "TableRedo", QStringLiteral("Повторить"),
                  {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}, nullptr);
    connect(undo, &QAction::triggered, &m_history, &TableHistory::undo);
    connect(redo, &QAction::triggered, &m_history, &TableHistory::redo);
    const QUndoStack &stack = m_history.stack();
    undo->setEnabled(stack.canUndo());
    redo->setEnabled(stack.canRedo());
    connect(&stack, &QUndoStack::canUndoChanged, undo, &QAction::setEnabled);
    connect(&stack, &QUndoStack::canRedoChanged, redo, &QAction::setEnabled);
    auto *rowsLine = new QAction(this);
    rowsLine->setSeparator(true);
    m_grid.addAction(rowsLine);
    addAction(InsertRow, "TableInsertRow", QStringLiteral("Вставить строку"), {}, &TableSheetActions::insertRow);
    addAction(RemoveRow, "TableRemoveRow", QStringLiteral("Удалить строку"), {}, &TableSheetActions::removeRow);
    m_grid.setContextMenuPolicy(Qt::ActionsContextMenu);
}

QAction *TableSheetActions::addAction(Kind kind, const char *name, const QString &text, const QList<QKeySequence> &keys,
                                      void (TableSheetActions::*slot)())
{
    auto *a = new QAction(text, this);
    a->setObjectName(QLatin1String(name));
    a->setShortcuts(keys);
    // Also while the cell's own edit is open; that edit keeps the keys it
    // knows itself (copy, paste and undo of its text).
    a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    // A list open over a cell gives its value back before anything else; the
    // connection made first runs first.
    connect(a, &QAction::triggered, this, [this] { m_giveBackList(); });
    if (slot)
        connect(a, &QAction::triggered, this, slot);
    m_grid.addAction(a);
    m_actions[kind] = a;
    return a;
}

std::optional<TableSheet::Range> TableSheetActions::selectedRange() const
{
    return TableSelection::range(m_grid);
}

void TableSheetActions::select(const TableSheet::Range &range)
{
    const QItemSelection cells(m_model.index(range.top - 1, range.left), m_model.index(range.bottom - 1, range.right));
    m_grid.selectionModel()->select(cells, QItemSelectionModel::ClearAndSelect);
}

void TableSheetActions::copy()
{
    if (const auto range = selectedRange())
        QGuiApplication::clipboard()->setText(TableSheet::format(TableSheet::copy(m_model.table(), *range)));
}

void TableSheetActions::paste()
{
    const QModelIndex current = m_grid.currentIndex();
    const TableSheet::Block block = TableSheet::parse(QGuiApplication::clipboard()->text());
    if (!current.isValid() || block.isEmpty())
        return;
    const int row = ChannelTableModel::tableRow(current);
    const TableSheet::Placement placement = TableSheet::paste(m_model.table(), current.column(), row, block);
    m_model.writeCells(placement.writes, QStringLiteral("Вставка"));

    qsizetype width = 0;
    for (const QStringList &line : block)
        width = std::max(width, line.size());
    const int right = std::min<int>(current.column() + int(width), ChannelTable::ColumnCount) - 1;
    const int bottom = std::min<int>(row + int(block.size()) - 1, m_model.rowCount());
    select({current.column(), row, right, bottom});
    m_grid.setFocus(Qt::OtherFocusReason);
    if (placement.cutCells > 0) {
        const QRect cell = m_grid.visualRect(current);
        QToolTip::showText(m_grid.viewport()->mapToGlobal(cell.bottomLeft()), cutCellsText(placement.cutCells),
                           &m_grid);
    }
}

void TableSheetActions::fillDown()
{
    const auto range = selectedRange();
    if (!range || range->bottom <= range->top)
        return;
    m_model.writeCells(TableSheet::fillDown(m_model.table(), *range), QStringLiteral("Заполнение вниз"));
    m_grid.setFocus(Qt::OtherFocusReason);
}

void TableSheetActions::insertRow()
{
    const QModelIndex current = m_grid.currentIndex();
    if (!current.isValid())
        return;
    const int row = ChannelTableModel::tableRow(current);
    m_history.editRows(QStringLiteral("Вставка строки"), [&] { m_model.insertChannelRow(row); });
    m_grid.setFocus(Qt::OtherFocusReason);
}

void TableSheetActions::removeRow()
{
    const QModelIndex current = m_grid.currentIndex();
    if (!current.isValid() || m_model.rowCount() <= 1)
        return;
    const int row = ChannelTableModel::tableRow(current);
    m_history.editRows(QStringLiteral("Удаление строки"), [&] { m_model.removeChannelRow(row); });
    m_grid.setFocus(Qt::OtherFocusReason);
}

QString TableSheetActions::cutCellsText(int cells)
{
    return QStringLiteral("За краем таблицы не вставлено ячеек: %1").arg(cells);
}
