#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace tf {

// A BMP file image of 32-bit pixels (0xAARRGGBB, rows from the top): the 14-byte file
// header "BM", the 40-byte information header (bottom-up rows, no compression), the rows.
// Empty for an empty picture or when the pixels do not match the size.
std::string bmpFile(int width, int height, std::span<const std::uint32_t> pixels);

}  // namespace tf
