#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/prompter.h"
#include "core/project/project_document.h"

namespace tf {

// The material text file: one material per line, fields separated by TAB: 类别, 材料名称,
// 最小规格, 单位, 单价 and an optional 说明. GBK with CR LF; LF-only lines and UTF-8 with a
// byte-order mark are read too.
using MaterialFields = std::array<std::string, 6>;

// Each usable line in turn: 5 or 6 fields, with a category and a name that are not blank.
// The file is read line by line, so its size alone never costs more than the file.
void forEachMaterialLine(std::string_view bytes,
                         const std::function<void(const MaterialFields&)>& visit);

// Each usable material of a file the user chose to import: an .xlsx workbook (by its name or
// its content) whose first sheet holds the six columns in that order, a first row starting
// with "类别" taken for headings (or with "序号", "类别": 材料表 as exported, the columns one to
// the right); otherwise a material text file. A row is usable as a line
// is, with a category and a name; columns past 说明 (a supplier's own) are not read. False, before
// any material is visited, when the file cannot be read or is a workbook that cannot be.
bool forEachMaterialInFile(const std::string& path,
                           const std::function<void(const MaterialFields&)>& visit);

// Appends the file's materials that the table does not hold yet (same category and name,
// trimmed, without regard to Latin case) and enters them in the catalogue. The user hears
// "文件导入完毕！", or "文件导入失败！" when the file cannot be read.
bool importMaterialsAppending(ProjectDocument& document, const std::string& path,
                              Prompter& prompter);

// One line per data row that holds anything, the six fields in file order, so the file
// imports again unchanged.
std::string materialText(const Grid& materials);
bool exportMaterials(const Grid& materials, const std::string& path, Prompter& prompter);

}  // namespace tf
