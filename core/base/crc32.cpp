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
constexpr std::uint32_t kPolynomial = 0xEDB88320u;

// a·b modulo the polynomial, both bit-reflected as the CRC keeps them.
std::uint32_t multiplyModP(std::uint32_t a, std::uint32_t b) {
    std::uint32_t product = 0;
    for (std::uint32_t m = 1u << 31; m != 0; m >>= 1) {
        if ((a & m) != 0) {
            product ^= b;
        }
        b = (b & 1) != 0 ? (b >> 1) ^ kPolynomial : b >> 1;
    }
    return product;
}

// x^(8·bytes) modulo the polynomial, by squaring.
std::uint32_t shiftByBytes(std::uint64_t bytes) {
    std::uint32_t result = 1u << 31;  // x^0
    std::uint32_t power = 1u << 30;   // x^1
    for (std::uint64_t bits = bytes * 8; bits != 0; bits >>= 1) {
        if ((bits & 1) != 0) {
            result = multiplyModP(power, result);
        }
        power = multiplyModP(power, power);
    }
    return result;
}

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

std::uint32_t crc32Tail(std::uint32_t whole, std::uint32_t head, std::uint64_t tailLength) {
    // crc(head·tail) = crc(head)·x^(8·|tail|) xor crc(tail), the pre- and post-inversions
    // cancelling out.
    return whole ^ multiplyModP(shiftByBytes(tailLength), head);
}

}  // namespace tf
