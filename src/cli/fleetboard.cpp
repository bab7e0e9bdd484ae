#include "fleetboard.h"

#include "console.h"

#include <algorithm>

namespace {
// Longer lines would wrap on a narrow terminal, and the redraw, which counts
// lines, would then climb too few.
constexpr qsizetype kTerminalLine = 79;
constexpr int kStepWidth = 9;
} // namespace

FleetBoard::FleetBoard(const QStringList &ports, bool terminal) : m_terminal(terminal)
{
    for (const QString &port : ports) {
        m_rows.append(Row{port, QString(), -1});
        m_portWidth = std::max(m_portWidth, port.size());
    }
}

QString FleetBoard::line(int index) const
{
    const Row &row = m_rows.at(index);
    QString text = row.port.leftJustified(m_portWidth) + QStringLiteral("  ");
    if (row.percent < 0)
        text += row.text;
    else
        text += row.text.leftJustified(kStepWidth) + QStringLiteral("%1%").arg(row.percent, 3);
    return text;
}

void FleetBoard::show(int index, const QString &text, int percent)
{
    if (index < 0 || index >= m_rows.size())
        return;
    Row &row = m_rows[index];
    if (row.text == text && row.percent == percent)
        return;
    row.text = text;
    row.percent = percent;
    if (m_terminal)
        redraw();
    else
        Console::err(line(index));
}

void FleetBoard::showPercent(int index, int percent)
{
    if (index >= 0 && index < m_rows.size())
        show(index, m_rows.at(index).text, percent);
}

void FleetBoard::note(const QString &text)
{
    if (!m_terminal) {
        Console::err(text);
        return;
    }
    // Written over the first port's line; the ports' lines follow anew.
    QString line = m_drawn ? QStringLiteral("\x1b[%1A").arg(m_rows.size()) : QString();
    Console::errRaw(line + QStringLiteral("\r\x1b[2K") + text + u'\n');
    m_drawn = false;
    redraw();
}

void FleetBoard::redraw()
{
    QString text;
    if (m_drawn)
        text += QStringLiteral("\x1b[%1A").arg(m_rows.size());
    for (int i = 0; i < m_rows.size(); ++i)
        text += QStringLiteral("\r\x1b[2K") + line(i).left(kTerminalLine) + u'\n';
    Console::errRaw(text);
    m_drawn = true;
}
