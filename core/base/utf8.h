#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tf::utf8 {

inline constexpr char32_t kReplacement = 0xFFFD;
inline constexpr char32_t kMalformed = 0xFFFFFFFF;

// Decodes the code point starting at text[pos] and advances pos. Malformed input yields
// kMalformed and advances by one byte. Precondition: pos < text.size().
char32_t next(std::string_view text, std::size_t& pos);

void append(std::string& out, char32_t codePoint);

// The text with every malformed sequence replaced by U+FFFD: what reaches memory as UTF-8
// from outside is always valid UTF-8.
std::string sanitize(std::string_view text);

}  // namespace tf::utf8
