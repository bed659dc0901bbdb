#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tf {

// The program keeps names as UTF-8 text. A std::string turned into a path directly is read
// in the ANSI code page on Windows, so every name crosses to and from the system here.
std::filesystem::path pathFromUtf8(std::string_view utf8);
std::string utf8FromPath(const std::filesystem::path& path);

}  // namespace tf
