#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "cli/project_commands.h"

namespace tf::cli {

// `settings [get SECTION KEY | set SECTION KEY VALUE]` on the given settings file: its path
// first, then the whole file, the value, or nothing after a set. Returns the exit status; 2
// (with nothing written) for words that are none of these.
int settingsCommand(const std::filesystem::path& file, const std::vector<std::string>& words,
                    Streams io);

}  // namespace tf::cli
