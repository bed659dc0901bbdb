#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tf::detail {

// One conversion through the platform's converter (iconv here, the code-page API on
// Windows). Empty result when the input is not valid in the source encoding.
std::optional<std::u32string> platformGb18030ToUtf32(std::string_view gb18030);
std::optional<std::string> platformUtf32ToGb18030(char32_t codePoint);

}  // namespace tf::detail
