#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tf {

enum class FileReadFault { Unreadable, TooLarge };

// The whole content of a file the user picked (structure, material and print files), or
// nothing when it cannot be read or is larger than `limit`; `why`, when given, tells which.
std::optional<std::string> readFileBytes(const std::string& path, std::size_t limit,
                                         FileReadFault* why = nullptr);

}  // namespace tf
