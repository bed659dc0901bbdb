#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tf {

// A moment as local time to the second, "2026-12-09 14:05:33": sortable, unambiguous, and
// the same text again for the same moment, which is how an edited copy is recognised.
std::string localTimeText(std::chrono::system_clock::time_point moment);
// The modification time of a file in that form; nothing when it cannot be read.
std::optional<std::string> fileTimeText(const std::filesystem::path& file);
// Sets a file's modification time from that form; false when the text is not one or the
// time cannot be set.
bool setFileTimeText(const std::filesystem::path& file, std::string_view text);

}  // namespace tf
