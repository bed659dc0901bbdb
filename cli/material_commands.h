#pragma once

#include <string>

#include "cli/project_commands.h"

namespace tf::cli {

// `materials FILE.gdb`: the data rows with a category or a name, TAB-separated: 序号, 类别,
// 材料名称, 最小规格, 单位, 单价, 说明, materialId.
int materialsListCommand(const std::string& project, Streams io);
// `materials import FILE.gdb IN.txt`: the appending import, saved.
int materialsImportCommand(const std::string& project, const std::string& in, Streams io);
// `materials import --replace FILE.gdb IN.txt [--delete-missing]`: the overwriting import,
// saved. The analysis rows whose material is gone are listed on standard error and kept
// marked, or deleted with `deleteMissing`.
int materialsReplaceCommand(const std::string& project, const std::string& in, bool deleteMissing,
                            Streams io);
// `materials export FILE.gdb OUT.txt`.
int materialsExportCommand(const std::string& project, const std::string& out, Streams io);

}  // namespace tf::cli
