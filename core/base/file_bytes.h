#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tf {

// The whole content of a file the user picked (structure, material and print files), or
// nothing when it cannot be read or is larger than `limit`.
std::optional<std::string> readFileBytes(const std::string& path, std::size_t limit);

}  // namespace tf
