#include "main/focusleave.h"

#include <QKeyEvent>
#include <QWidget>

void FocusLeave::watch(QWidget &control, QWidget *leaving)
{
    control.installEventFilter(this);
    m_leaving.insert(&control, leaving ? leaving : &control);
}

QWidget *FocusLeave::neighbour(QWidget &from, bool backwards) const
{
    QWidget *next = &from;
    while (true) {
        next = backwards ? next->previousInFocusChain() : next->nextInFocusChain();
        if (!next || next == &from)
            return &from;
        // The control's own parts (a scroll bar, the table's in-place edit, a
        // list over a cell) are not the next control.
        const bool own = from.isAncestorOf(next) || m_leaving.value(next) == &from;
        if (!own && next->isVisible() && next->isEnabled() && (next->focusPolicy() & Qt::TabFocus)
            && next->window() == from.window())
            return next;
    }
}

bool FocusLeave::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    const bool tab = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
    QWidget *control = m_leaving.value(watched);
    if (!tab || !(key->modifiers() & Qt::ControlModifier) || !control)
        return QObject::eventFilter(watched, event);
    const bool backwards = key->key() == Qt::Key_Backtab || (key->modifiers() & Qt::ShiftModifier);
    neighbour(*control, backwards)->setFocus(backwards ? Qt::BacktabFocusReason : Qt::TabFocusReason);
    return true;
}
