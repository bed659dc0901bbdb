#pragma once

#include <optional>

#include "core/grid/grid.h"

namespace tf {

inline constexpr std::string_view kStatisticRowHeading = "合计";

// "合计所有行": one statistic row below the last row summing 合计 of every row above it.
void sumAllRows(Grid& summary, std::optional<int>& statisticRow);

// "连续类加": a statistic row below the selected rows (or the cursor row) summing their 合计;
// an earlier statistic row goes first and the range follows the rows it leaves.
void sumSelectedRows(Grid& summary, std::optional<int>& statisticRow);

// "删除统计行": the statistic row removed and the bands painted again.
void deleteStatisticRow(Grid& summary, std::optional<int>& statisticRow);

}  // namespace tf
