#include "core/attach/attachment_table.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "core/base/fill_advice.h"
#include "core/base/sealed_bytes.h"

namespace tf {
namespace {

constexpr std::string_view kMagic = "TFATTACH";

}  // namespace

std::size_t AttachmentJournal::bytes() const {
    std::size_t total = records.capacity() * sizeof(Record);
    for (const Record& r : records) {
        for (const std::string& block : r.old) {
            total += sizeof(std::string) + block.size();
        }
    }
    return total;
}

void AttachmentTable::set(int row, std::string block) {
    if (row < 0 || static_cast<std::size_t>(row) >= records.size()) {
        return;
    }
    auto& record = records[static_cast<std::size_t>(row)];
    if (journal != nullptr) {
        journal->records.push_back({AttachmentJournal::Kind::Set, row, 1, {std::move(record)}});
    }
    record = std::move(block);
}

void AttachmentTable::insert(int row, int count) {
    row = std::clamp(row, 0, static_cast<int>(records.size()));
    if (count <= 0) {
        return;
    }
    if (journal != nullptr) {
        journal->records.push_back({AttachmentJournal::Kind::Inserted, row, count, {}});
    }
    records.insert(records.begin() + row, static_cast<std::size_t>(count), std::string());
}

void AttachmentTable::remove(int row, int count) {
    const int size = static_cast<int>(records.size());
    if (row < 0 || row >= size || count <= 0) {
        return;
    }
    const auto first = records.begin() + row;
    const auto last = records.begin() + std::min(size, row + count);
    if (journal != nullptr) {
        journal->records.push_back(
            {AttachmentJournal::Kind::Removed,
             row,
             static_cast<int>(last - first),
             {std::make_move_iterator(first), std::make_move_iterator(last)}});
    }
    records.erase(first, last);
}

void AttachmentTable::align(int rows) {
    const int size = static_cast<int>(records.size());
    if (rows > size) {
        insert(size, rows - size);
    } else {
        remove(std::max(rows, 0), size - std::max(rows, 0));
    }
}

void AttachmentTable::undo(AttachmentJournal& step, AttachmentJournal& inverse) {
    AttachmentJournal* outer = std::exchange(journal, &inverse);
    for (auto it = step.records.rbegin(); it != step.records.rend(); ++it) {
        switch (it->kind) {
            case AttachmentJournal::Kind::Set:
                set(it->row, std::move(it->old.front()));
                break;
            case AttachmentJournal::Kind::Inserted:
                remove(it->row, it->count);
                break;
            case AttachmentJournal::Kind::Removed:
                insert(it->row, it->count);
                std::move(it->old.begin(), it->old.end(), records.begin() + it->row);
                break;
        }
    }
    step = AttachmentJournal();
    journal = outer;
}

std::size_t attachmentSectionSize(const AttachmentTable& table) {
    std::size_t size = kMagic.size() + 4 + 4;
    for (const auto& record : table.records) {
        size += 4 + record.size();
    }
    return size;
}

std::size_t attachmentRoom(const AttachmentTable& table, std::optional<int> record) {
    constexpr std::size_t kSpare = std::size_t{1} << 20;
    std::size_t used = attachmentSectionSize(table) + kSpare;
    if (record && *record >= 0 && static_cast<std::size_t>(*record) < table.records.size()) {
        used -= table.records[static_cast<std::size_t>(*record)].size();
    } else {
        used += 4;
    }
    return used >= kLargestAttachmentSection ? 0 : kLargestAttachmentSection - used;
}

std::string serializeAttachments(const AttachmentTable& table) {
    ByteWriter w = beginSealed(kMagic);
    w.u32(static_cast<std::uint32_t>(table.records.size()));
    for (const auto& record : table.records) {
        w.sized(record);
    }
    return endSealed(w);
}

std::optional<AttachmentTable> parseAttachments(std::string_view bytes) {
    if (bytes.empty()) {
        return AttachmentTable{};
    }
    const auto body = openSealed(bytes, kMagic);
    if (!body) {
        return std::nullopt;
    }
    ByteReader r(*body);
    const auto count = r.u32();
    if (!count || *count > r.remaining() / 4) {
        return std::nullopt;
    }
    AttachmentTable table;
    // Room for entries to come (a sixteenth more) before the first one moves every record.
    table.records.reserve(*count + *count / 16);
    adviseFilling(table.records.data(), *count * sizeof(std::string));
    for (std::uint32_t i = 0; i < *count; ++i) {
        const auto record = r.sized();
        if (!record) {
            return std::nullopt;
        }
        table.records.emplace_back(*record);
    }
    if (!r.atEnd()) {
        return std::nullopt;
    }
    return table;
}

}  // namespace tf
