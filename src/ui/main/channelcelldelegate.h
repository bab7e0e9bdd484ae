#pragma once

#include "main/selectedcell.h"

#include <QStyledItemDelegate>

// Paints the cells of the channel table: the selected row highlighted, the
// text of the focused cell purple, every other cell in the table's own pink,
// a check box on the box colour (RGB 80,127,255) in every row;
// the header keeps its default look. A check-box cell is toggled by a click
// anywhere in it, as the box covers its cell; Shift or Ctrl with the click
// only extends the selection. The cells of a selected range
// (for copy and fill down) are framed; one selected cell is just the current one.
class ChannelCellDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    static constexpr QRgb RowColor = 0xFF507FFF;       // RGB 80,127,255
    static constexpr QRgb FocusTextColor = 0xFF800080; // RGB 128,0,128
    static constexpr QRgb CellColor = 0xFFFFCCCC;      // RGB 255,204,204

    ChannelCellDelegate(const SelectedCell &selected, QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    bool editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option,
                     const QModelIndex &index) override;

    // The painting of one channel cell (the header is not a cell of the view).
    void paintCell(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const;

private:
    static bool inSelectedRange(const QStyleOptionViewItem &option);

    const SelectedCell &m_selected;
};
