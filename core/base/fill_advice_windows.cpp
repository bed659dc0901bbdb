#include "core/base/fill_advice.h"

#include <malloc.h>

namespace tf {

// Large pages on Windows need a privilege users do not have, and its faults are cheaper:
// no advice is given there.
void adviseFilling(const void*, std::size_t) {}

void returnFreedMemory() {
    ::_heapmin();
}

}  // namespace tf
