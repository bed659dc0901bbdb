#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/project_commands.h"

namespace tf::cli {

// `stats FILE.gdb`: the data rows of the all-materials 统计表, TAB-separated.
int statsCommand(const std::string& project, Streams io);

// `stats FILE.gdb --node N`: the 分统计表 of structure node N (numbered as `structure` lists
// them), every row with data, the "小计：" row included.
int statsNodeCommand(const std::string& project, const std::string& node, Streams io);

// `stats FILE.gdb --filter [LOCATION ...]`: the named locations (all when none is named)
// ticked with all their items; 累计统计表, an empty line, then 统计表.
int statsFilterCommand(const std::string& project, const std::vector<std::string>& locations,
                       Streams io);

}  // namespace tf::cli
