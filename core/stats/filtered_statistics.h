#pragma once

#include "core/grid/grid.h"
#include "core/materials/material_catalogue.h"
#include "core/stats/filter_tree.h"
#include "core/structure/item_table.h"

namespace tf {

// 累计统计表 with the costs of every ticked work item grouped by location and a "小计：" row,
// and 统计表 with the materials of those rows; both blank when nothing is ticked. Fees come
// from the first item record with the item's code.
void buildFilteredStatistics(const Grid& analysis, const MaterialCatalogue& catalogue,
                             const ItemTable& items, const FilterTree& filter, Grid& cumulative,
                             Grid& summary);

}  // namespace tf
