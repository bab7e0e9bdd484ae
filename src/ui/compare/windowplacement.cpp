#include "compare/windowplacement.h"

#include <algorithm>

namespace WindowPlacement {

namespace {

constexpr int kGap = 8;

// `at` moved the least along the other axis to lie within `available`, as
// far as its size lets it.
QRect within(QRect at, const QRect &available)
{
    at.moveLeft(std::max(available.left(), std::min(at.left(), available.right() + 1 - at.width())));
    at.moveTop(std::max(available.top(), std::min(at.top(), available.bottom() + 1 - at.height())));
    return at;
}

} // namespace

Placement beside(const QRect &anchor, const QSize &window, const QSize &minimum, const QRect &available)
{
    // Beside the anchor as it stands: right, left, below, above.
    const int w = window.width();
    const int h = window.height();
    for (const QPoint &at :
         {QPoint(anchor.right() + 1 + kGap, anchor.top()), QPoint(anchor.left() - kGap - w, anchor.top()),
          QPoint(anchor.left(), anchor.bottom() + 1 + kGap), QPoint(anchor.left(), anchor.top() - kGap - h)}) {
        const bool sideways = at.y() == anchor.top();
        QRect placed(at, window);
        // Slid along the anchor's side, never onto it.
        placed = sideways ? QRect(QPoint(at.x(), within(placed, available).top()), window)
                          : QRect(QPoint(within(placed, available).left(), at.y()), window);
        if (available.contains(placed))
            return {anchor, placed};
    }
    // Side by side once the anchor moves over, the window as narrow as it
    // must be; else one above the other likewise.
    if (available.width() >= anchor.width() + kGap + minimum.width()) {
        const int narrowed = std::min(w, available.width() - anchor.width() - kGap);
        QRect moved = anchor;
        moved.moveLeft(std::min(anchor.left(), available.right() + 1 - (anchor.width() + kGap + narrowed)));
        const QRect placed(moved.right() + 1 + kGap, anchor.top(), narrowed, std::min(h, available.height()));
        return {moved, within(placed, available)};
    }
    if (available.height() >= anchor.height() + kGap + minimum.height()) {
        const int lowered = std::min(h, available.height() - anchor.height() - kGap);
        QRect moved = anchor;
        moved.moveTop(std::min(anchor.top(), available.bottom() + 1 - (anchor.height() + kGap + lowered)));
        const QRect placed(anchor.left(), moved.bottom() + 1 + kGap, std::min(w, available.width()), lowered);
        return {moved, within(placed, available)};
    }
    // No room for both: over the anchor's right side, within the screen.
    return {anchor, within(QRect(QPoint(anchor.right() + 1 + kGap, anchor.top()), window), available)};
}

} // namespace WindowPlacement
