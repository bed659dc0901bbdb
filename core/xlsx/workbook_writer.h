#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/base/prompter.h"
#include "core/base/work_progress.h"
#include "core/xlsx/sheet_plan.h"

namespace tf {

// The sheets as the bytes of one .xlsx workbook, written row by row so that memory stays
// small however long the tables are; nothing when the workbook cannot be made or `progress`
// asked it to stop (its rows counted as they are written).
std::optional<std::string> workbookBytes(std::span<const SheetSource> sheets,
                                         WorkProgress* progress = nullptr);

// "导出为Excel…": the workbook made behind the prompter's progress (a window's off its thread,
// with 取消), then written safely at `path` ("导出完毕" in the status bar); the user hears why
// when it cannot be. Stopped, nothing is written ("导出已取消").
bool exportWorkbook(const std::string& path, std::span<const SheetSource> sheets,
                    Prompter& prompter);

// Gathers the sheets of a workbook. It runs off the window's thread, behind the progress
// window, so it reads what it is given and tells nothing: the prompter it gets is silent.
using SheetGatherer = std::function<std::vector<SheetSource>(Prompter& silent)>;

// The same with the sheets gathered behind the progress too.
bool exportWorkbook(const std::string& path, const SheetGatherer& gatherSheets, Prompter& prompter);

// The same after asking where ("导出为Excel工作簿"); the sheets are gathered only once a file
// was chosen. False when cancelled or not written.
bool exportWorkbookAsked(Prompter& prompter, const SheetGatherer& gatherSheets);

}  // namespace tf
