#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tf::detail {

// GB18030 through the platform's converter (iconv here, the code-page API on Windows), for
// the tables the codec fills once. Nothing when the input is not valid.
std::optional<std::u32string> platformGb18030ToUtf32(std::string_view gb18030);

}  // namespace tf::detail
