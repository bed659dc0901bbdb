#pragma once

#include <set>
#include <string>

#include "core/analysis/location_index.h"
#include "core/grid/grid.h"

namespace tf {

// How much of the analysis table uses some work items.
struct ItemUse {
    int rows = 0;
    int locations = 0;
    friend bool operator==(const ItemUse&, const ItemUse&) = default;
};

// The rows whose 分项代号 is one of `codes`, and the locations holding any of them.
ItemUse countItemUse(const Grid& analysis, const LocationIndex& locations,
                     const std::set<std::string, std::less<>>& codes);

}  // namespace tf
