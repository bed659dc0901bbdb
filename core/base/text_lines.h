#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tf {

// The lines of a text file the user hands in: GBK, or UTF-8 when it starts with a
// byte-order mark; CR LF or LF line ends. The last line may lack its end.
std::vector<std::string> textLines(std::string_view bytes);

// A cell as one field of a TAB-separated line: TAB, CR and LF inside it become spaces.
std::string tabField(std::string_view cell);

// A line's TAB-separated fields.
std::vector<std::string_view> tabFields(std::string_view line);

}  // namespace tf
