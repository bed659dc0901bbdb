#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tf {

// One file of an update package, its name already checked to be a plain file name.
struct PackageFile {
    std::string name;  // UTF-8
    std::string content;
    friend bool operator==(const PackageFile&, const PackageFile&) = default;
};

// Larger packages are refused before they are read into memory.
inline constexpr std::size_t kLargestUpdatePackage = std::size_t{512} << 20;

// "tay.dat": N (1 byte), N signed 32-bit sizes, N 20-byte GBK names (zero-padded; a name
// without a zero byte uses all 20), then the contents one after another from offset
// 1 + 24 × N. The whole package is checked first: nothing when a size is negative or runs
// past the data, or when a name is not a plain file name. Bytes after the last file are
// not read.
std::optional<std::vector<PackageFile>> parseUpdatePackage(std::string_view bytes);

// A name that can only ever be a file directly in the program directory: not empty, no
// "/", "\\", ":", "..", control characters or reserved device names.
bool plainPackageName(std::string_view name);

// Whether the package's files that the program reads itself read: its data file must load.
bool packageReadable(const std::vector<PackageFile>& files);

// Installs all of the files into the program directory or none: every file is written beside
// its target (and every old one kept beside it) before any is replaced, and a replacement
// that fails puts the files replaced before it back. False when nothing changed.
bool installUpdatePackage(const std::filesystem::path& programDirectory,
                          const std::vector<PackageFile>& files);

// The first line of "UpIni.txt" read as a number; nothing when there is no such line.
std::optional<double> latestDataNumber(std::string_view versionFile);
// Newer by more than 0.0000001 (17.5 is newer than 17).
bool isNewerDataNumber(double latest, long current);

}  // namespace tf
