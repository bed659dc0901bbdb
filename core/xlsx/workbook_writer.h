#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/base/prompter.h"
#include "core/xlsx/sheet_plan.h"

namespace tf {

// The sheets as the bytes of one .xlsx workbook, written row by row so that memory stays
// small however long the tables are; nothing when the workbook cannot be made.
std::optional<std::string> workbookBytes(std::span<const SheetSource> sheets);

// "导出为Excel…": the workbook written safely at `path` ("导出完毕" in the status bar); the user
// hears why when it cannot be.
bool exportWorkbook(const std::string& path, std::span<const SheetSource> sheets,
                    Prompter& prompter);

// The same after asking where ("导出为Excel工作簿"); the sheets are gathered only once a file
// was chosen. False when cancelled or not written.
bool exportWorkbookAsked(Prompter& prompter,
                         const std::function<std::vector<SheetSource>()>& gatherSheets);

}  // namespace tf
