#pragma once

#include <cstdint>
#include <string_view>

namespace tf {

// CRC-32 (IEEE 802.3, the zlib polynomial). Guards the program's own byte formats so that a
// damaged section is refused instead of half-loaded.
std::uint32_t crc32(std::string_view data, std::uint32_t seed = 0);

}  // namespace tf
