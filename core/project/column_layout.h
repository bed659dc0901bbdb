#pragma once

#include "core/grid/grid.h"

namespace tf {

// Column widths that follow the main window's width: base widths up to 800 pixels, and on
// wider windows an equal share of the extra width for every laid-out column. 序号 is as wide
// as its last number needs.
void layoutAnalysisColumns(Grid& analysis, int windowWidth);
void layoutMaterialColumns(Grid& materials, int windowWidth);

// The width of a column of ascending whole numbers (序号) that shows its last number whole:
// `narrowest` up to three digits, a digit's width more for every further digit.
int numberColumnWidth(const Grid& grid, int column, int narrowest);

}  // namespace tf
