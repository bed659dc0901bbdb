#pragma once
// Windows only: the program's files are CRT descriptors over handles made by CreateFileW, so
// that the descriptor-based interfaces are the same on every system.
#include <windows.h>

namespace tf::detail {

// The handle under a descriptor (INVALID_HANDLE_VALUE for none).
HANDLE handleOf(int fd);
// A descriptor owning `handle` (closed with it), or -1 (and the handle closed).
int descriptorOf(HANDLE handle);

}  // namespace tf::detail
