#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "core/base/prompter.h"
#include "core/grid/grid.h"
#include "core/stats/statistics.h"

namespace tf {

// The rows of a statistics grid that hold more than their 序号, all columns TAB-separated,
// each line ended by `lineEnd`; the heading row first when asked for.
std::string statisticsRows(const Grid& grid, bool withHeading, std::string_view lineEnd);
// The same rows handed over one at a time, without their line ends: a view of a million rows
// written out needs no text of them all.
void forEachStatisticsRow(const Grid& grid, bool withHeading,
                          const std::function<void(std::string_view row)>& take);

// The view shown as a text file (UTF-8 here): 统计表 or 分统计表, or in the filtered view
// 累计统计表, an empty line and 统计表. CR LF line ends.
std::string statisticsText(const Statistics& statistics);

// "导出数据": the view shown written as GBK text; "保存失败，请重新再试！" when it cannot be.
bool exportStatistics(const Statistics& statistics, const std::string& path, Prompter& prompter);

}  // namespace tf
