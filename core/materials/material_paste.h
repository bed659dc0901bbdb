#pragma once

#include <functional>

#include "core/base/prompter.h"
#include "core/grid/cell_block.h"
#include "core/grid/paste_report.h"
#include "core/project/project_document.h"

namespace tf {

// Ctrl+V of a block into 材料表 with its top left cell at `at`: every cell committed as a
// typed edit with the table's rules, row by row from the left (so a row's 类别 comes before
// the cells that need one). 序号 and cells of a row still without 类别 are refused, as is a
// price that is not a number; rows beyond the last are appended. What the rules would say
// cell by cell is gathered into the report; what they ask is asked. The cursor stays at `at`.
PasteReport pasteMaterialBlock(ProjectDocument& document, CellPos at, const CellBlock& block,
                               Prompter& prompter,
                               const std::function<void()>& showAnalysisPage = {});

}  // namespace tf
