#pragma once

#include <string>
#include <vector>

#include "cli/project_commands.h"

namespace tf::cli {

// `export FILE.gdb --table T|--all [--node N | --filter [LOCATION ...]] OUT.xlsx`: one table
// (分析表, 材料表, 统计表, 分统计表 or 累计统计表) or all of them as the chosen statistics view
// shows them, written as an Excel workbook. `args` are the words after `export`.
int exportCommand(const std::vector<std::string>& args, Streams io);

}  // namespace tf::cli
