#include "core/attach/attachment_table.h"

#include <algorithm>

#include "core/base/sealed_bytes.h"

namespace tf {
namespace {

constexpr std::string_view kMagic = "TFATTACH";

}  // namespace

void AttachmentTable::insert(int row, int count) {
    row = std::clamp(row, 0, static_cast<int>(records.size()));
    records.insert(records.begin() + row, static_cast<std::size_t>(std::max(count, 0)),
                   std::string());
}

void AttachmentTable::remove(int row, int count) {
    const int size = static_cast<int>(records.size());
    if (row < 0 || row >= size || count <= 0) {
        return;
    }
    records.erase(records.begin() + row, records.begin() + std::min(size, row + count));
}

void AttachmentTable::align(int rows) {
    records.resize(static_cast<std::size_t>(std::max(rows, 0)));
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
    table.records.reserve(*count);
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
