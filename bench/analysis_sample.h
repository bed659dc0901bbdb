#pragma once

#include "core/grid/grid.h"

namespace tf::bench {

// An analysis table of `dataRows` typical rows in location blocks of ten, styled and merged
// as entered locations are.
Grid analysisSample(int dataRows);

}  // namespace tf::bench
