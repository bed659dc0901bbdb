#include "core/grid/packed_row.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

namespace tf {
namespace {

template <typename T>
void store(char* p, T value) {
    std::memcpy(p, &value, sizeof value);
}

constexpr std::size_t kArenaBlock = std::size_t{1} << 20;

}  // namespace

char* RowArena::allocate(std::size_t bytes) {
    bytes = (bytes + 1) & ~std::size_t{1};  // rows tell arena bytes by an even address
    if (capacity_ - used_ < bytes) {
        capacity_ = std::max(kArenaBlock, bytes);
        blocks_.push_back(std::make_unique_for_overwrite<char[]>(capacity_));
        used_ = 0;
    }
    char* p = blocks_.back().get() + used_;
    used_ += bytes;
    return p;
}

PackedRow::PackedRow(const PackedRow& other) {
    if (other.bits_ != 0) {
        const std::size_t size = other.headerSize(other.slotCount()) + other.textBytes();
        char* copy = new char[size];
        std::memcpy(copy, other.data(), size);
        bits_ = reinterpret_cast<std::uintptr_t>(copy);
    }
}

PackedRow& PackedRow::operator=(const PackedRow& other) {
    if (this != &other) {
        *this = PackedRow(other);
    }
    return *this;
}

PackedRow PackedRow::build(int n, const StyleId* styles, const std::string_view* texts,
                           RowArena* arena) {
    return pack(n, styles, texts, false, arena);
}

PackedRow PackedRow::pack(int n, const StyleId* styles, const std::string_view* texts,
                          bool allocateWhenBlank, RowArena* arena) {
    PackedRow row;
    std::size_t total = 0;
    bool blank = true;
    for (int i = 0; i < n; ++i) {
        total += texts[i].size();
        blank = blank && texts[i].empty() && styles[i] == 0;
    }
    if (n == 0 || (blank && !allocateWhenBlank)) {
        return row;
    }
    const std::size_t header = row.headerSize(n);
    char* p = arena != nullptr ? arena->allocate(header + total) : new char[header + total];
    row.bits_ = reinterpret_cast<std::uintptr_t>(p) | (arena != nullptr ? 1 : 0);
    store<std::uint32_t>(p, static_cast<std::uint32_t>(n));
    char* styleOut = p + 4;
    char* endOut = styleOut + static_cast<std::size_t>(n) * sizeof(StyleId);
    char* textOut = p + header;
    std::uint32_t offset = 0;
    for (int i = 0; i < n; ++i) {
        store<StyleId>(styleOut + static_cast<std::size_t>(i) * sizeof(StyleId), styles[i]);
        if (!texts[i].empty()) {
            std::memcpy(textOut + offset, texts[i].data(), texts[i].size());
        }
        offset += static_cast<std::uint32_t>(texts[i].size());
        store<std::uint32_t>(endOut + static_cast<std::size_t>(i) * 4, offset);
    }
    return row;
}

void PackedRow::setText(int column, std::string_view value) {
    if (column < 0 || (value.empty() && column >= slotCount())) {
        return;
    }
    setTexts(column, {&value, 1});
}

void PackedRow::setTexts(int first, std::span<const std::string_view> values) {
    if (first < 0 || values.empty()) {
        return;
    }
    const int count = static_cast<int>(values.size());
    const int n = std::max(slotCount(), first + count);
    // Rows are narrow: the working arrays stay on the stack unless the row is wide.
    constexpr int kOnStack = 32;
    std::array<StyleId, kOnStack> styleBuffer;
    std::array<std::string_view, kOnStack> textBuffer;
    std::vector<StyleId> wideStyles;
    std::vector<std::string_view> wideTexts;
    StyleId* styles = styleBuffer.data();
    std::string_view* texts = textBuffer.data();
    if (n > kOnStack) {
        wideStyles.resize(static_cast<std::size_t>(n));
        wideTexts.resize(static_cast<std::size_t>(n));
        styles = wideStyles.data();
        texts = wideTexts.data();
    }
    for (int i = 0; i < n; ++i) {
        styles[i] = style(i);
        texts[i] =
            i >= first && i < first + count ? values[static_cast<std::size_t>(i - first)] : text(i);
    }
    *this = build(n, styles, texts);
}

void PackedRow::setStyle(int column, StyleId id) {
    if (column < 0) {
        return;
    }
    if (column < slotCount()) {
        store<StyleId>(data() + 4 + static_cast<std::size_t>(column) * sizeof(StyleId), id);
        return;
    }
    if (id == 0) {
        return;
    }
    insertSlots(slotCount(), column + 1 - slotCount());
    setStyle(column, id);
}

void PackedRow::insertSlots(int before, int count) {
    const int n = slotCount();
    if (count <= 0 || before > n) {
        return;
    }
    const int total = n + count;
    std::vector<StyleId> styles(static_cast<std::size_t>(total), 0);
    std::vector<std::string_view> texts(static_cast<std::size_t>(total));
    for (int i = 0; i < n; ++i) {
        const int to = i < before ? i : i + count;
        styles[static_cast<std::size_t>(to)] = style(i);
        texts[static_cast<std::size_t>(to)] = text(i);
    }
    // Keep an allocation even when everything is blank, so setStyle can write its slot.
    *this = pack(total, styles.data(), texts.data(), true, nullptr);
}

void PackedRow::eraseSlots(int first, int count) {
    const int n = slotCount();
    if (first >= n || count <= 0) {
        return;
    }
    const int last = std::min(n, first + count);
    const int total = n - (last - first);
    std::vector<StyleId> styles;
    std::vector<std::string_view> texts;
    for (int i = 0; i < n; ++i) {
        if (i < first || i >= last) {
            styles.push_back(style(i));
            texts.push_back(text(i));
        }
    }
    *this = build(total, styles.data(), texts.data());
}

void PackedRow::truncate(int n) {
    if (n < slotCount()) {
        eraseSlots(n, slotCount() - n);
    }
}

}  // namespace tf
