#include "main/channelcelldelegate.h"
#include "main/channeltablemodel.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

ChannelCellDelegate::ChannelCellDelegate(const SelectedCell &selected, QObject *parent)
    : QStyledItemDelegate(parent), m_selected(selected)
{
}

void ChannelCellDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    paintCell(painter, option, index);
}

void ChannelCellDelegate::paintCell(QPainter *painter, const QStyleOptionViewItem &option,
                                    const QModelIndex &index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const bool inSelectedRow = ChannelTableModel::tableRow(index) == m_selected.row;
    // The view marks the current cell as focused only while it has the input focus.
    const bool focused = opt.state.testFlag(QStyle::State_HasFocus);
    // A check box covers its cell with its own colour, whatever the row.
    const bool box = opt.features.testFlag(QStyleOptionViewItem::HasCheckIndicator);
    const QColor background = QColor::fromRgb(box || inSelectedRow || focused ? RowColor : CellColor);

    painter->save();
    painter->setClipRect(opt.rect);
    painter->fillRect(opt.rect, background);
    if (box) {
        // Only the box: the selection and focus marks of the style would hide the row colour.
        const QWidget *widget = opt.widget;
        QStyle *style = widget ? widget->style() : QApplication::style();
        opt.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);
        opt.backgroundBrush = background;
        opt.text.clear();
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
    } else {
        const QColor text = focused ? QColor::fromRgb(FocusTextColor) : opt.palette.color(QPalette::Text);
        painter->setPen(text);
        painter->setFont(opt.font);
        painter->drawText(opt.rect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, opt.text);
    }
    if (inSelectedRange(opt)) {
        painter->setPen(opt.palette.color(QPalette::Text));
        painter->drawRect(opt.rect.adjusted(0, 0, -1, -1));
    }
    painter->restore();
}

bool ChannelCellDelegate::inSelectedRange(const QStyleOptionViewItem &option)
{
    const auto *view = qobject_cast<const QAbstractItemView *>(option.widget);
    if (!view || !view->selectionModel() || !option.state.testFlag(QStyle::State_Selected))
        return false;
    const QItemSelection selection = view->selectionModel()->selection();
    return selection.size() > 1
           || (selection.size() == 1 && (selection.first().width() > 1 || selection.first().height() > 1));
}

bool ChannelCellDelegate::editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option,
                                      const QModelIndex &index)
{
    if (!index.flags().testFlag(Qt::ItemIsUserCheckable))
        return QStyledItemDelegate::editorEvent(event, model, option, index);
    switch (event->type()) {
    case QEvent::MouseButtonRelease: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() != Qt::LeftButton || !option.rect.contains(mouse->position().toPoint()))
            return false;
        // Shift or Ctrl with a click extends the selection over the box.
        if (mouse->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier))
            return false;
        const bool checked = index.data(Qt::CheckStateRole).value<Qt::CheckState>() == Qt::Checked;
        return model->setData(index, checked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
    }
    case QEvent::MouseButtonPress:
        return false;
    case QEvent::MouseButtonDblClick:
        // The second press of a double click; its release toggles again.
        return true;
    default:
        return QStyledItemDelegate::editorEvent(event, model, option, index);
    }
}
