#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tf {

// What one step of editing changed in an attachment table: records replaced, inserted or
// removed, with the content they had.
struct AttachmentJournal {
    enum class Kind : std::uint8_t { Set, Inserted, Removed };
    struct Record {
        Kind kind = Kind::Set;
        int row = 0;
        int count = 0;
        std::vector<std::string> old;
    };
    std::vector<Record> records;
    bool empty() const { return records.empty(); }
    std::size_t bytes() const;
};

// The attachment table: one record per analysis-table row, each one binary field (the
// files attached to the location whose first row it is). Kept aligned with the rows: every
// row inserted or removed in 分析表 inserts or removes its record. Records are read directly
// and changed through the members, which write into the journal attached, if any.
struct AttachmentTable {
    std::vector<std::string> records;
    AttachmentJournal* journal = nullptr;  // not copied, not compared

    AttachmentTable() = default;
    AttachmentTable(const AttachmentTable& other) : records(other.records) {}
    // Assigning replaces the table (a project opened or reset), as assigning a grid does: it
    // is recorded nowhere, and the history starts anew after it. The journal stays attached.
    AttachmentTable& operator=(const AttachmentTable& other) {
        records = other.records;
        return *this;
    }
    AttachmentTable(AttachmentTable&& other) noexcept : records(std::move(other.records)) {}
    AttachmentTable& operator=(AttachmentTable&& other) noexcept {
        records = std::move(other.records);
        return *this;
    }
    ~AttachmentTable() = default;

    void set(int row, std::string block);
    void insert(int row, int count);
    void remove(int row, int count);
    // Pads or cuts to `rows` records (a table from an older file, or a fresh layout).
    void align(int rows);
    // Takes back what `step` recorded (emptying it), recording the redo into `inverse`.
    void undo(AttachmentJournal& step, AttachmentJournal& inverse);
    friend bool operator==(const AttachmentTable& a, const AttachmentTable& b) {
        return a.records == b.records;
    }
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
