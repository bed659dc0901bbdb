#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tf {

// Which file a file handle reaches, whatever name it was opened by (device and file number).
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t index = 0;
    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

// What a file holds: its size and the CRC-32 of its bytes.
struct ContentMark {
    std::uint64_t size = 0;
    std::uint32_t crc = 0;
    friend bool operator==(const ContentMark&, const ContentMark&) = default;
};
ContentMark markOf(std::string_view content);

// A rewrite in place that is under way: left beside the safety copy of the file's old content
// for as long as the file may be torn, so that whoever opens the file next can tell its old or
// new content from a torn mix and put the old one back.
struct RewriteJournal {
    FileIdentity file;
    std::string copyName;  // the safety copy's name in the safety folder
    ContentMark before;
    ContentMark after;
    friend bool operator==(const RewriteJournal&, const RewriteJournal&) = default;
};

// "TFJOURN1", the fields, and a CRC-32 of all before it; a journal that does not read whole,
// or names a copy that is no plain name, is nothing.
std::string serializeRewriteJournal(const RewriteJournal& journal);
std::optional<RewriteJournal> parseRewriteJournal(std::string_view bytes);

// A journal's name beside its safety copy.
inline constexpr std::string_view kJournalSuffix = ".journal";

}  // namespace tf
