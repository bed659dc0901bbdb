#include "core/base/huge_pages.h"

namespace tf {

// Large pages on Windows need a privilege users do not have: the hint is not given there.
void adviseHugePages(const void*, std::size_t) {}

}  // namespace tf
