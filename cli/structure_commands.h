#pragma once

#include <string>
#include <vector>

#include "cli/project_commands.h"

namespace tf::cli {

// `eval [EXPR ...]`: each argument, or each line of standard input when there is none.
int evalCommand(const std::vector<std::string>& expressions, std::istream& in, Streams io);

// `structure FILE.gdb|FILE.gd|--default`: level, node number (from 1), code and name.
int structureListCommand(const std::string& source, Streams io);
int structureExportCommand(const std::string& project, const std::string& out, Streams io);
int structureImportCommand(const std::string& project, const std::string& in, Streams io);

}  // namespace tf::cli
