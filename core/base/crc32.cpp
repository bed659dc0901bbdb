#include "core/base/crc32.h"

#include <array>

namespace tf {
namespace {

// Slicing-by-8 tables: eight bytes per step keeps large tables cheap to guard.
using Tables = std::array<std::array<std::uint32_t, 256>, 8>;

constexpr Tables makeTables() {
    Tables t{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t c = i;
        for (int k = 0; k < 8; ++k) {
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        }
        t[0][i] = c;
    }
    for (std::uint32_t i = 0; i < 256; ++i) {
        for (std::size_t s = 1; s < 8; ++s) {
            t[s][i] = (t[s - 1][i] >> 8) ^ t[0][t[s - 1][i] & 0xFF];
        }
    }
    return t;
}

constexpr Tables kTables = makeTables();

}  // namespace

std::uint32_t crc32(std::string_view data, std::uint32_t seed) {
    std::uint32_t c = ~seed;
    const auto* p = reinterpret_cast<const unsigned char*>(data.data());
    std::size_t n = data.size();
    while (n >= 8) {
        c ^= static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
             static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
        c = kTables[7][c & 0xFF] ^ kTables[6][(c >> 8) & 0xFF] ^ kTables[5][(c >> 16) & 0xFF] ^
            kTables[4][c >> 24] ^ kTables[3][p[4]] ^ kTables[2][p[5]] ^ kTables[1][p[6]] ^
            kTables[0][p[7]];
        p += 8;
        n -= 8;
    }
    while (n-- > 0) {
        c = kTables[0][(c ^ *p++) & 0xFF] ^ (c >> 8);
    }
    return ~c;
}

}  // namespace tf
