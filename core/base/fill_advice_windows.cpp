#include "core/base/fill_advice.h"

namespace tf {

// Large pages on Windows need a privilege users do not have, and its faults are cheaper:
// no advice is given there.
void adviseFilling(const void*, std::size_t) {}

}  // namespace tf
