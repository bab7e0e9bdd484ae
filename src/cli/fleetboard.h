#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The progress of a batch on standard error, one line per port: the port,
// the step and its percent done, or the station's result at its end. On a
// terminal the lines stand in place and are redrawn; otherwise each change
// is a line of its own. Used on the main thread only.
class FleetBoard
{
public:
    FleetBoard(const QStringList &ports, bool terminal);
    FleetBoard(const FleetBoard &) = delete;
    FleetBoard &operator=(const FleetBoard &) = delete;

    // A percent below 0 shows the text alone. Every redraw leaves the
    // cursor below the lines.
    void show(int index, const QString &text, int percent);
    // The same step, further on.
    void showPercent(int index, int percent);
    // A line above the ports' lines, which stay below it.
    void note(const QString &text);

private:
    QString line(int index) const;
    void redraw();

    struct Row
    {
        QString port;
        QString text;
        int percent = -1;
    };
    QList<Row> m_rows;
    bool m_terminal;
    bool m_drawn = false;
    qsizetype m_portWidth = 0;
};
