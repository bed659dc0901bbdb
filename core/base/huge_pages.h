#pragma once

#include <cstddef>

namespace tf {

inline constexpr std::size_t kHugePageBytes = std::size_t{1} << 21;

// Asks the system to back the whole 2 MiB pages inside [data, data + bytes) with huge pages
// when they are first touched. A project of a million rows fills a few hundred MiB at once,
// and where each 4 KiB page costs a fault of its own, the faults take longer than the reading.
// Call it on fresh memory, before it is written; a hint, so nothing happens where the system
// has no such thing.
void adviseHugePages(const void* data, std::size_t bytes);

}  // namespace tf
