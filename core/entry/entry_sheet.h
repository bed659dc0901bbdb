#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/base/prompter.h"
#include "core/project/project_document.h"

namespace tf {

// Batch data entry from a sheet: one entry row per TAB-separated line: 部位名称, 图纸索引,
// 结构尺寸, 分项代号, 分项尺寸, 工程数量, 类别, 材料名称, 单位用量, 说明. Consecutive lines with
// the same first three fields form one location.
struct SheetProblem {
    int line = 0;  // from 1
    std::string reason;
    friend bool operator==(const SheetProblem&, const SheetProblem&) = default;
};

// Checks every line first; only a sheet without problems is written, each location
// confirmed exactly as the data-entry dialog confirms it. Returns the problems.
std::vector<SheetProblem> importEntrySheet(ProjectDocument& document, std::string_view bytes,
                                           Prompter& prompter);

}  // namespace tf
