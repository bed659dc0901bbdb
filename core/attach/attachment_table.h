#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tf {

// The attachment table: one record per analysis-table row, each one binary field (the
// files attached to the location whose first row it is). Kept aligned with the rows: every
// row inserted or removed in 分析表 inserts or removes its record.
struct AttachmentTable {
    std::vector<std::string> records;

    void insert(int row, int count);
    void remove(int row, int count);
    // Pads or cuts to `rows` records (a table from an older file, or a fresh layout).
    void align(int rows);
    friend bool operator==(const AttachmentTable&, const AttachmentTable&) = default;
};

// "TFATTACH", u32 record count, each record sized, CRC-32. An empty section is an empty
// table. The project file gives the section's length as a signed 32-bit number.
inline constexpr std::size_t kLargestAttachmentSection = 0x7FFFFFFF;
std::size_t attachmentSectionSize(const AttachmentTable& table);
// The largest block record `record` can take (nothing: a record still to be added) with
// the section still fitting, less 1 MiB for the empty records of rows added later.
std::size_t attachmentRoom(const AttachmentTable& table, std::optional<int> record);
std::string serializeAttachments(const AttachmentTable& table);
std::optional<AttachmentTable> parseAttachments(std::string_view bytes);

}  // namespace tf
