#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tf {

// A line longer than this is no line of a file the program reads: it is skipped.
inline constexpr std::size_t kLongestTextLine = 64 * 1024;

// The lines of a text file the user hands in, one at a time, decoded to UTF-8: GBK, or UTF-8
// when it starts with a byte-order mark or is valid UTF-8 throughout with at least 8
// characters beyond ASCII; CR LF or LF line ends; the last line may lack its
// end. `visit` gets each line's number (from 1); a line longer than kLongestTextLine is not
// decoded but told to `tooLong`, for the caller to refuse.
void forEachTextLine(std::string_view bytes,
                     const std::function<void(int number, std::string_view line)>& visit,
                     const std::function<void(int number)>& tooLong = {});

// All those lines at once, for files that are known to be small.
std::vector<std::string> textLines(std::string_view bytes);

// A cell as one field of a TAB-separated line: TAB, CR and LF inside it become spaces.
std::string tabField(std::string_view cell);

// A line's TAB-separated fields, at most `limit` of them: past that the line is not split
// further, so the last field holds the rest. Ask for one more than a line may have to tell
// an over-full line.
std::vector<std::string_view> tabFields(std::string_view line, std::size_t limit);

}  // namespace tf
