#pragma once

#include "core/grid/grid.h"

namespace tf {

// Column widths that follow the main window's width: base widths up to 800 pixels, and on
// wider windows an equal share of the extra width for every laid-out column.
void layoutAnalysisColumns(Grid& analysis, int windowWidth);
void layoutMaterialColumns(Grid& materials, int windowWidth);

}  // namespace tf
