#include "core/base/crc32.h"

#include <zlib.h>

namespace tf {

std::uint32_t crc32(std::string_view data, std::uint32_t seed) {
    return static_cast<std::uint32_t>(
        ::crc32_z(seed, reinterpret_cast<const Bytef*>(data.data()), data.size()));
}

std::uint32_t crc32Tail(std::uint32_t whole, std::uint32_t head, std::uint64_t tailLength) {
    // crc(head·tail) = crc(head) shifted past the tail, xor crc(tail).
    const auto shifted = ::crc32_combine64(head, 0, static_cast<z_off64_t>(tailLength));
    return whole ^ static_cast<std::uint32_t>(shifted);
}

}  // namespace tf
