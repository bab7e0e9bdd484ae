#pragma once

#include <QRect>

// Where a window opens beside another (the comparison window beside the main
// window), so that it does not hide what the other shows. All rectangles are
// frames in screen coordinates.
namespace WindowPlacement {

struct Placement
{
    QRect anchor; // where the other window stands, moved where needed
    QRect window;
};

// `window` is the size the window would like, `minimum` the least it needs;
// `available` the screen's room.
Placement beside(const QRect &anchor, const QSize &window, const QSize &minimum, const QRect &available);

} // namespace WindowPlacement
