#pragma once

#include <QString>

#include "core/grid/grid.h"

class QPagedPaintDevice;

namespace tf::gui {

struct PrintTitle {
    QString text;  // empty: no title line
    QString fontName = "宋体";
    int fontSize = 20;
};

// Prints the grid page by page: the title on the first page, the fixed heading rows on
// every page, hidden columns left out, the columns scaled to the page width when wider.
// Returns the number of pages printed.
int printGrid(const Grid& grid, QPagedPaintDevice& device, const PrintTitle& title);

}  // namespace tf::gui
