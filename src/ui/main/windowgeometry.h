#pragma once

#include <QString>

class QWidget;

// Where the main window stood and how large it was, kept between runs in
// the window's own settings file (beside the files used last): a window
// brought back never smaller than its minimum and never off every screen.
namespace WindowGeometry {

void restore(QWidget &window, const QString &storeFile);
void store(const QWidget &window, const QString &storeFile);

} // namespace WindowGeometry
