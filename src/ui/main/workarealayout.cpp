#include "main/workarealayout.h"

#include <QEvent>
#include <QHeaderView>
#include <QTableView>
#include <QWidget>

WorkAreaLayout::WorkAreaLayout(QWidget &client, QWidget &panel, QTableView &grid)
    : QObject(&client), m_client(client), m_panel(panel), m_grid(grid)
{
    setObjectName(QStringLiteral("WorkAreaLayout"));
    m_panelMargin = m_client.size() - m_panel.size();
    m_gridMargin = m_panel.size() - m_grid.size();
    m_gridWidth = m_grid.width();
    for (int c = 0; c < m_grid.horizontalHeader()->count(); ++c)
        m_columnWidths.push_back(m_grid.columnWidth(c));
    m_client.installEventFilter(this);
}

bool WorkAreaLayout::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &m_client && event->type() == QEvent::Resize)
        fit();
    return QObject::eventFilter(watched, event);
}

void WorkAreaLayout::fit()
{
    m_panel.resize((m_client.size() - m_panelMargin).expandedTo(QSize(0, 0)));
    m_grid.resize((m_panel.size() - m_gridMargin).expandedTo(QSize(0, 0)));
    int total = 0;
    for (const int width : m_columnWidths)
        total += width;
    if (total <= 0)
        return;
    // Each column's right edge moves in proportion to where it stood, so no
    // pixel is lost to rounding.
    const int added = std::max(0, m_grid.width() - m_gridWidth);
    int edge = 0;
    int placed = 0;
    for (std::size_t c = 0; c < m_columnWidths.size(); ++c) {
        edge += m_columnWidths[c];
        const int right = edge + int((qint64(added) * edge + total / 2) / total);
        m_grid.setColumnWidth(int(c), right - placed);
        placed = right;
    }
}
