#pragma once

#include <cstdint>
#include <string_view>

namespace tf {

// CRC-32 (IEEE 802.3), zlib's. Guards the program's own byte formats so that a
// damaged section is refused instead of half-loaded.
std::uint32_t crc32(std::string_view data, std::uint32_t seed = 0);

// The CRC-32 of the last `tailLength` bytes of a run of bytes, from the CRC-32 of the whole
// run and that of the bytes before the tail: one pass over a file yields its sections' CRCs.
std::uint32_t crc32Tail(std::uint32_t whole, std::uint32_t head, std::uint64_t tailLength);

// The CRC-32 of a run of bytes from the CRC-32s of its two parts, without reading either again.
std::uint32_t crc32Join(std::uint32_t head, std::uint32_t tail, std::uint64_t tailLength);

}  // namespace tf
