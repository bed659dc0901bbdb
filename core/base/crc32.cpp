#include "core/base/crc32.h"

#include <zlib.h>

#include <algorithm>
#include <limits>

namespace tf {

std::uint32_t crc32(std::string_view data, std::uint32_t seed) {
    return static_cast<std::uint32_t>(
        ::crc32_z(seed, reinterpret_cast<const Bytef*>(data.data()), data.size()));
}

namespace {

// crc(head·tail) = crc(head) shifted past the tail, xor crc(tail).
std::uint32_t shiftedPast(std::uint32_t head, std::uint64_t tailLength) {
    // In steps zlib's length type holds (32 bits on Windows): shifting past a + b zero
    // bytes is shifting past a, then past b.
    constexpr auto kStep = static_cast<std::uint64_t>(std::numeric_limits<z_off_t>::max());
    uLong shifted = head;
    do {
        const std::uint64_t step = std::min(tailLength, kStep);
        shifted = ::crc32_combine(shifted, 0, static_cast<z_off_t>(step));
        tailLength -= step;
    } while (tailLength > 0);
    return static_cast<std::uint32_t>(shifted);
}

}  // namespace

std::uint32_t crc32Tail(std::uint32_t whole, std::uint32_t head, std::uint64_t tailLength) {
    return whole ^ shiftedPast(head, tailLength);
}

std::uint32_t crc32Join(std::uint32_t head, std::uint32_t tail, std::uint64_t tailLength) {
    return tail ^ shiftedPast(head, tailLength);
}

}  // namespace tf
