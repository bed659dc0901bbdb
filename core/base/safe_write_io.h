#pragma once
// What each system's safe write provides to the part they share.
#include <filesystem>

namespace tf::detail {

// True when another holder has the file locked (POSIX) or open with sharing denied (Windows).
bool heldByAnother(const std::filesystem::path& path);
// Gives a new temporary file the permissions `target` has, or a new file would get.
void giveModeOf(const std::filesystem::path& target, int temp);

}  // namespace tf::detail
