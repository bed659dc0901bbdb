#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/project_commands.h"
#include "core/stats/statistics.h"

namespace tf::cli {

// The statistics a command asks for: the all-materials view; with `node`, the 分统计表 of
// structure node N (numbered as `structure` lists them); with `filter`, the named locations
// (all when none is named) ticked with all their items.
struct StatisticsChoice {
    std::optional<std::string> node;
    std::optional<std::vector<std::string>> filter;
};

// Opens the project and builds the statistics chosen; false, told on `io.err`, when the
// project cannot be opened or the node or a location does not exist.
bool loadStatistics(const std::string& project, const StatisticsChoice& choice,
                    ProjectDocument& document, Statistics& statistics, Prompter& prompter,
                    Streams io);

// `stats FILE.gdb [--node N | --filter [LOCATION ...]]`, TAB-separated data rows: the
// all-materials 统计表; the 分统计表 of the node, its "小计：" row included; or 累计统计表, an
// empty line, then 统计表.
int statsCommand(const std::string& project, const StatisticsChoice& choice, Streams io);

}  // namespace tf::cli
