#pragma once

#include <vector>

#include "core/base/prompter.h"
#include "core/project/project_document.h"
#include "core/stats/statistics.h"
#include "core/xlsx/sheet_plan.h"

namespace tf {

// "导出全部为Excel…" and `export --all`: the whole project as one workbook, each table once
// under its own name: 分析表, 材料表, 统计表 of all materials, 分统计表 of the node shown (of the
// whole structure when none is), 累计统计表 of the locations ticked (of all of them when the
// filtered view is not shown) and, when it is shown, 筛选结果统计表 of their materials.
// The sheets refer to each other: every price a statistics sheet shows is its cell of 材料表,
// and its quantities and material costs sum the rows of 分析表, through columns added to
// 分析表 (each row's price, material cost, location and work item); so a price changed in the
// workbook moves every total. A figure no formula gives as the program computed it (a name
// that matches other names when case is ignored, say) stays a value.
std::vector<SheetSource> projectWorkbookSheets(const ProjectDocument& document,
                                               const Statistics& shown, Prompter& prompter);

}  // namespace tf
