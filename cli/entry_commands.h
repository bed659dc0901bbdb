#pragma once

#include <string>

#include "cli/project_commands.h"

namespace tf::cli {

// `analysis FILE.gdb`: the analysis data rows, columns 0–10 and 12–13, TAB-separated.
int analysisCommand(const std::string& project, Streams io);
// `entry import FILE.gdb SHEET.txt`: batch data entry, saved; nothing written on a problem.
int entryImportCommand(const std::string& project, const std::string& sheet, Streams io);
// `sample OUT.gdb [--locations N]`: a deterministic, realistic sample project.
int sampleCommand(const std::string& out, int locations, bool force, Streams io);

}  // namespace tf::cli
