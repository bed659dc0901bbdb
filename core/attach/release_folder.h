#pragma once

#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <string_view>

namespace tf {

inline constexpr std::string_view kReleaseFolderName = "MTemp";

// The name an attached file is written under: only ever a plain name inside the release
// folder. Folder separators, drive colons, control characters and the characters no
// desktop allows become "_"; ".", ".." and reserved device names (CON, NUL, COM1, …) get a
// "_" in front; trailing dots and spaces go; an empty name becomes "_"; a name longer than
// 200 bytes is cut at a whole character before its extension.
std::string releasedName(std::string_view name);

// `name`, or "name (2)", "name (3)", … before its extension, whichever `taken` does not hold
// yet; the name returned is taken from then on.
std::string unusedName(const std::string& name, std::set<std::string>& taken);

// Removes what is inside the folder and leaves it empty and real. Entries are removed, never
// followed: a link inside goes, its target stays; a folder that is itself a link is replaced
// by a real folder without touching what it pointed to. False when it cannot be made empty.
bool emptyReleaseFolder(const std::filesystem::path& folder);

// Writes an attached file into the folder (made when missing, kept otherwise) under its
// released name, replacing a file or link of that name; the written path, or nothing.
std::optional<std::filesystem::path> releaseFile(const std::filesystem::path& folder,
                                                 std::string_view name, std::string_view content);

}  // namespace tf
