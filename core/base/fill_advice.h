#pragma once

#include <cstddef>

namespace tf {

inline constexpr std::size_t kHugePageBytes = std::size_t{1} << 21;

// Tells the system that [data, data + bytes), fresh memory, is about to be filled whole.
// Where every page costs a fault of its own on first touch, a million-row project spends
// longer on faults than on reading; so the pages are made ready in one call, as huge pages
// where whole 2 MiB pages fit. A hint: nothing happens where the system has no such thing.
void adviseFilling(const void* data, std::size_t bytes);

// Hands the memory the program freed back to the system, where the allocator keeps it for
// reuse otherwise: after a window that held a copy of a million rows is gone.
void returnFreedMemory();

}  // namespace tf
