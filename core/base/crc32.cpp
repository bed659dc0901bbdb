#include "core/base/crc32.h"

#include <zlib.h>

#include <algorithm>

namespace tf {

std::uint32_t crc32(std::string_view data, std::uint32_t seed) {
    auto crc = static_cast<uLong>(seed);
    const auto* p = reinterpret_cast<const Bytef*>(data.data());
    std::size_t n = data.size();
    do {  // zlib takes lengths in pieces it can count
        const auto step = static_cast<z_size_t>(std::min<std::size_t>(n, 1u << 30));
        crc = ::crc32_z(crc, p, step);
        p += step;
        n -= step;
    } while (n > 0);
    return static_cast<std::uint32_t>(crc);
}

std::uint32_t crc32Tail(std::uint32_t whole, std::uint32_t head, std::uint64_t tailLength) {
    // crc(head·tail) = crc(head) shifted past the tail, xor crc(tail).
    const auto shifted = ::crc32_combine64(head, 0, static_cast<z_off64_t>(tailLength));
    return whole ^ static_cast<std::uint32_t>(shifted);
}

}  // namespace tf
