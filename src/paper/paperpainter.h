#pragma once

#include "paperdocument.h"

class QPagedPaintDevice;

// Lays a paper document out on the pages of a device and paints it: text
// wraps at word boundaries (inside a word only when the word alone is too
// wide), a table row never splits, a table's repeated rows open each page it
// goes on to, and every page gets its foot. Works on a QPdfWriter and on a
// QPrinter alike; the device's own page layout counts, so that a page size
// chosen in a print dialog is honoured.
namespace PaperPainter {

// Paints every page; returns the number of pages. Needs a QGuiApplication.
int paint(const PaperDocument &doc, QPagedPaintDevice &device);

// The text at the foot of page `page` of `pages`.
QString pageNumber(int page, int pages);

} // namespace PaperPainter
