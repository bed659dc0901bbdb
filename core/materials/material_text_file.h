#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/prompter.h"
#include "core/materials/import_report.h"
#include "core/materials/price_list.h"
#include "core/project/project_document.h"

namespace tf {

// Appends the file's materials that the table does not hold yet (same category and name,
// trimmed, without regard to Latin case) and whose category has room, and enters them in the
// catalogue. The user hears how it went (tellImport, `shown` skipped lines listed), or
// "文件导入失败！" with the reason when the file cannot be read (nothing then).
std::optional<ImportReport> importMaterialsAppending(ProjectDocument& document,
                                                     const std::string& path, Prompter& prompter,
                                                     std::size_t shown = kSkippedLinesShown);

// One line per data row that holds anything, the six fields in file order, so the file
// imports again unchanged.
std::string materialText(const Grid& materials);
bool exportMaterials(const Grid& materials, const std::string& path, Prompter& prompter);

}  // namespace tf
