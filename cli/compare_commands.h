#pragma once

#include <string>
#include <vector>

#include "cli/project_commands.h"

namespace tf::cli {

// `compare OLD.gdb NEW.gdb [--by location|material|cost|structure] [--changes] [--xlsx OUT]`:
// the summary as caption TAB figure lines, or the table asked for (a heading line, then its
// rows; only the changed ones with --changes); --xlsx writes every table as a workbook too.
// Status 2 for arguments it does not understand.
int compareCommand(const std::vector<std::string>& args, Streams io);

// `versions FILE.gdb`: time, label, total cost and file of each saved version, oldest first;
// `versions save FILE.gdb LABEL`; `versions restore FILE.gdb VERSION` (its label, file name
// or number in the list, the state before saved as a version first).
int versionsCommand(const std::vector<std::string>& args, Streams io);

}  // namespace tf::cli
