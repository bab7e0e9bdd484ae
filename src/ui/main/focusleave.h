#pragma once

#include <QHash>
#include <QObject>

class QWidget;

// Ctrl+Tab (and Ctrl+Shift+Tab) leave a control whose own Tab does something
// else: the channel table moves between cells with Tab, the settings text
// types a tab. The focus goes to the next (previous) control of the window.
class FocusLeave : public QObject
{
    Q_OBJECT
public:
    explicit FocusLeave(QObject *parent = nullptr) : QObject(parent) {}

    // `leaving`: the control that is left, when `control` edits part of it
    // (a list over a table cell leaves the table).
    void watch(QWidget &control, QWidget *leaving = nullptr);
    // The control after (before) `from` in the window's focus chain that takes
    // Tab focus and is seen; `from` itself when there is none.
    QWidget *neighbour(QWidget &from, bool backwards) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QHash<QObject *, QWidget *> m_leaving;
};
