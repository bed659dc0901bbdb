#pragma once
// Windows only: the program's files are CRT descriptors over handles made by CreateFileW, so
// that the descriptor-based interfaces are the same on every system.
#include <windows.h>

#include <filesystem>
#include <string>

namespace tf::detail {

// The handle under a descriptor (INVALID_HANDLE_VALUE for none).
HANDLE handleOf(int fd);
// A descriptor owning `handle` (closed with it), or -1 (and the handle closed).
int descriptorOf(HANDLE handle);
// A name as the system takes it, from the UTF-8 the program keeps names in.
std::filesystem::path systemPath(const std::string& utf8);
std::string utf8Name(const std::filesystem::path& path);

}  // namespace tf::detail
