#include <malloc.h>
#include <sys/mman.h>

#include <algorithm>
#include <cstdint>

#include "core/base/fill_advice.h"

namespace tf {
namespace {

// madvise over the whole `page`-sized pages inside [begin, end).
void adviseWholePages(std::uintptr_t begin, std::uintptr_t end, std::uintptr_t page, int advice) {
    const std::uintptr_t first = (begin + page - 1) & ~(page - 1);
    const std::uintptr_t last = end & ~(page - 1);
    if (last > first) {
        ::madvise(reinterpret_cast<void*>(first), last - first, advice);
    }
}

}  // namespace

void adviseFilling(const void* data, std::size_t bytes) {
    // For a few pages the call costs more than the faults it saves: small tables are made
    // and loaded by the thousand (every work item picked in the entry form loads one).
    constexpr std::size_t kWorthAdvising = std::size_t{256} << 10;
    if (bytes < kWorthAdvising) {
        return;
    }
    const auto begin = reinterpret_cast<std::uintptr_t>(data);
#ifdef MADV_HUGEPAGE
    adviseWholePages(begin, begin + bytes, kHugePageBytes, MADV_HUGEPAGE);
#endif
#ifdef MADV_POPULATE_WRITE
    // In pieces: populating holds the process's memory map for reading, and a thread that
    // maps memory meanwhile (the window's, painting) waits for all of it. A save of a
    // million rows held the window 1.6 s so.
    constexpr std::uintptr_t kPiece = std::uintptr_t{4} << 20;
    const std::uintptr_t first = (begin + 4095) & ~std::uintptr_t{4095};
    for (std::uintptr_t from = first; from < begin + bytes; from += kPiece) {
        adviseWholePages(from, std::min(from + kPiece, begin + bytes), 4096, MADV_POPULATE_WRITE);
    }
#endif
}

void returnFreedMemory() {
    ::malloc_trim(0);
}

}  // namespace tf
