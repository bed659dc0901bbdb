#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace tf {

// GB18030's four-byte sequences, the characters outside the double-byte plane: the code
// point of four bytes (nothing when they name none), and the four bytes of a code point
// (nothing when it has none). The same on every system, whatever its converter knows.
std::optional<char32_t> gb18030FourByteCodePoint(std::string_view four);
std::optional<std::array<char, 4>> gb18030FourBytes(char32_t codePoint);

}  // namespace tf
