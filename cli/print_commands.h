#pragma once

#include <optional>
#include <string>

#include "cli/project_commands.h"

namespace tf::cli {

// `print FILE.gdb --table 分析表|材料表|统计表 [--title T] OUT.pdf`: the table as the print
// editor opens it (统计表: the all-materials view), printed to PDF with its default title
// unless one is given. Needs a QGuiApplication (offscreen will do).
int printTableCommand(const std::string& project, const std::string& table,
                      const std::optional<std::string>& title, const std::string& out, Streams io);
// `print FILE.pb OUT.pdf`: a print file with its own title, font and size.
int printFileCommand(const std::string& printFile, const std::string& out, Streams io);

}  // namespace tf::cli
