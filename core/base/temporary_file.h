#pragma once

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <string_view>

namespace tf {

// The program's temporary files: short names of one pattern (".tf" + 6 characters + ".tmp")
// in the folder of the file they are to replace, each locked for as long as it is written,
// so one left behind by a killed process is recognised and swept away.

// Creates, opens and locks a temporary file in the folder; its name goes to `name`. Returns
// the descriptor, or -1 when none can be made there.
int createTemporaryFile(const std::filesystem::path& folder, std::string& name);

// Closes a descriptor made here.
void closeDescriptor(int fd);

// Writes all of `data` at the descriptor's position, going on after interrupted writes.
bool writeFully(int fd, std::string_view data);

// Makes what was written through the descriptor durable on the disk.
bool flushToDisk(int fd);

// Moves the temporary file of that name over `target`, replacing it, written through to the
// disk where the system offers that.
bool moveOver(const std::string& name, const std::filesystem::path& target);

// Moves the temporary file of that name to `target`, which must not exist: false, and nothing
// moved, when something has that name.
bool moveToNew(const std::string& name, const std::filesystem::path& target);

// Closes a temporary file made here and removes it.
void discardTemporaryFile(int fd, const std::string& name);

namespace detail {

// Their names: the prefix, kTemporaryRandomLength letters or digits, the suffix.
inline constexpr std::string_view kTemporaryPrefix = ".tf";
inline constexpr std::string_view kTemporarySuffix = ".tmp";
inline constexpr std::size_t kTemporaryRandomLength = 6;

// Whether a file name, in the system's characters, is of that pattern.
template <class Char>
bool isTemporaryName(std::basic_string_view<Char> name) {
    const auto same = [](std::basic_string_view<Char> part, std::string_view ascii) {
        return std::equal(part.begin(), part.end(), ascii.begin(), ascii.end(),
                          [](Char a, char b) { return a == static_cast<Char>(b); });
    };
    return name.size() ==
               kTemporaryPrefix.size() + kTemporaryRandomLength + kTemporarySuffix.size() &&
           same(name.substr(0, kTemporaryPrefix.size()), kTemporaryPrefix) &&
           same(name.substr(name.size() - kTemporarySuffix.size()), kTemporarySuffix);
}

}  // namespace detail

// Removes the program's temporary files in the folder that no one holds (one being written
// right now is held by its writer), but those named in `keep`.
void sweepStaleTemporaryFiles(const std::filesystem::path& folder,
                              const std::set<std::string>& keep = {});

}  // namespace tf
