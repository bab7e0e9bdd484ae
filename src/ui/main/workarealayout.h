#pragma once

#include <QObject>
#include <QSize>
#include <vector>

class QTableView;
class QWidget;

// The main window's work area as the window grows: its parts keep the
// places they have at the window's first (and smallest) size, and the
// channel table takes every pixel added, more rows in height and wider
// columns, each in proportion to its first width.
class WorkAreaLayout : public QObject
{
    Q_OBJECT
public:
    // `client` is the window's central widget, `panel` the work area filling
    // it and `grid` the table in it; their sizes now are the smallest.
    WorkAreaLayout(QWidget &client, QWidget &panel, QTableView &grid);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fit();

    QWidget &m_client;
    QWidget &m_panel;
    QTableView &m_grid;
    QSize m_panelMargin; // what of the client the panel leaves
    QSize m_gridMargin;  // what of the panel the table leaves
    int m_gridWidth = 0;
    std::vector<int> m_columnWidths;
};
