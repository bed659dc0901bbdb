#pragma once

#include "core/grid/grid.h"
#include "core/stats/statistics.h"

namespace tf {

// "查找明细": marks columns 7–10 of the analysis rows behind the current row of the view
// shown (material name and unit; in the filtered view also a ticked location and item, in
// the division view the selected work item's code), after painting every row's band again.
// False, and nothing painted, when the view's current row names no material.
bool findDetails(const Statistics& statistics, Grid& analysis);

}  // namespace tf
