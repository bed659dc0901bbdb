#pragma once
// What each system's ExclusiveFile provides to the parts they share.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string_view>

#include "core/base/rewrite_journal.h"

namespace tf::detail {

// The size of the file under a descriptor.
std::optional<std::uint64_t> heldFileSize(int handle);
// Fills `out` from `offset` on, short only at the end of the file.
std::optional<std::size_t> readHeldFile(int handle, std::uint64_t offset, std::span<char> out);
// The content as a whole: written from the start, cut to its length, flushed.
bool overwriteHeldFile(int handle, std::string_view content);
// The name a held file keeps: its absolute form where the system takes that, else as given.
std::filesystem::path heldName(const std::filesystem::path& path);
// Which file a descriptor reaches; nothing when the system does not say.
std::optional<FileIdentity> heldFileIdentity(int handle);
// Where safety copies of files rewritten in place go.
const std::filesystem::path& safetyCopyFolder();

}  // namespace tf::detail
