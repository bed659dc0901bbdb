#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "core/print/print_sheet.h"
#include "core/project/project_document.h"
#include "core/stats/statistics.h"
#include "core/xlsx/sheet_plan.h"

namespace tf {

// The tables of a project that leave as sheets of a workbook.
enum class ExportTable { Analysis, Materials, Summary, ItemSummary, Cumulative };

// "分析表", "材料表", "统计表", "分统计表", "累计统计表": the sheet's name.
std::string_view exportTableName(ExportTable table);
std::optional<ExportTable> exportTableNamed(std::string_view name);

// The table as a sheet, with the row totals of the statistics grids (合计 as the sum of the
// row's costs), without the fresh rows after its last one, 统计表 with a 合计 row under its
// costs.
SheetSource tableSheet(const ProjectDocument& document, const Statistics& statistics,
                       ExportTable table);

// The print editor's sheet, named after its title ("打印表" without one).
SheetSource printSheetSource(const PrintSheet& sheet);

}  // namespace tf
