#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tf::detail {

// One double-byte GB18030 character through the platform's converter (iconv here, the
// code-page API on Windows), for the table the codec fills once. Nothing when the input is
// not valid.
std::optional<std::u32string> platformGb18030ToUtf32(std::string_view gb18030);

}  // namespace tf::detail
