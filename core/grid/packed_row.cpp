#include "core/grid/packed_row.h"
#include "core/base/fill_advice.h"

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

// Blocks grow from small (a short table) to large (a million rows).
constexpr std::size_t kFirstArenaBlock = std::size_t{64} << 10;
constexpr std::size_t kArenaDoublings = 6;  // up to 4 MiB

}  // namespace

char* RowArena::allocate(std::size_t bytes) {
    bytes = (bytes + 1) & ~std::size_t{1};  // rows tell arena bytes by an even address
    if (capacity_ - used_ < bytes) {
        // Each block twice the one before, up to the largest.
        const std::size_t size =
            std::max(kFirstArenaBlock << std::min(blocks_.size(), kArenaDoublings), bytes);
        // Large blocks fill from the first huge-page boundary on, so that all they fill can be
        // huge pages; the bytes before it are never touched.
        const std::size_t slack = size >= kHugePageBytes ? kHugePageBytes : 0;
        blocks_.push_back(std::make_unique_for_overwrite<char[]>(size + slack));
        const auto base = reinterpret_cast<std::uintptr_t>(blocks_.back().get());
        used_ = static_cast<std::size_t>(-base & (slack == 0 ? 0 : slack - 1));
        capacity_ = used_ + size;
        adviseFilling(blocks_.back().get() + used_, size);
    }
    char* p = blocks_.back().get() + used_;
    used_ += bytes;
    return p;
}

PackedRow::PackedRow(const PackedRow& other) {
    if (other.bits_ != 0) {
        const std::size_t size = other.headerSize() + other.textBytes();
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
    bool shared = true;
    for (int i = 0; i < n; ++i) {
        total += texts[i].size();
        blank = blank && texts[i].empty() && styles[i] == 0;
        shared = shared && styles[i] == styles[0];
    }
    if (n == 0 || (blank && !allocateWhenBlank)) {
        return row;
    }
    const bool shortEnds = total <= 0xFFFF;
    const std::size_t styleCount = shared ? 1 : static_cast<std::size_t>(n);
    const std::size_t endWidth = shortEnds ? 2 : 4;
    const std::size_t header =
        4 + styleCount * sizeof(StyleId) + static_cast<std::size_t>(n) * endWidth;
    char* p = arena != nullptr ? arena->allocate(header + total) : new char[header + total];
    row.bits_ = reinterpret_cast<std::uintptr_t>(p) | (arena != nullptr ? 1 : 0);
    store<std::uint32_t>(p, static_cast<std::uint32_t>(n) | (shared ? kSharedStyle : 0) |
                                (shortEnds ? kShortEnds : 0));
    char* styleOut = p + 4;
    for (std::size_t i = 0; i < styleCount; ++i) {
        store<StyleId>(styleOut + i * sizeof(StyleId), styles[i]);
    }
    char* endOut = styleOut + styleCount * sizeof(StyleId);
    char* textOut = p + header;
    std::uint32_t offset = 0;
    for (int i = 0; i < n; ++i) {
        if (!texts[i].empty()) {
            std::memcpy(textOut + offset, texts[i].data(), texts[i].size());
        }
        offset += static_cast<std::uint32_t>(texts[i].size());
        char* const endAt = endOut + static_cast<std::size_t>(i) * endWidth;
        if (shortEnds) {
            store<std::uint16_t>(endAt, static_cast<std::uint16_t>(offset));
        } else {
            store<std::uint32_t>(endAt, offset);
        }
    }
    return row;
}

void PackedRow::unpack(std::vector<StyleId>& styles, std::vector<std::string_view>& texts) const {
    const int n = slotCount();
    styles.resize(static_cast<std::size_t>(n));
    texts.resize(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        styles[static_cast<std::size_t>(i)] = style(i);
        texts[static_cast<std::size_t>(i)] = text(i);
    }
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
    // A row of its own takes the style in place; an arena's row may be shared by copies of
    // its grid and is written anew.
    if (column < slotCount() && (word() & kSharedStyle) == 0 && (bits_ & 1) == 0) {
        store<StyleId>(data() + 4 + static_cast<std::size_t>(column) * sizeof(StyleId), id);
        return;
    }
    if (column < slotCount() && style(column) == id) {
        return;
    }
    if (column >= slotCount() && id == 0) {
        return;
    }
    // A shared style gives way to one per slot, or the row grows to the column.
    std::vector<StyleId> styles;
    std::vector<std::string_view> texts;
    unpack(styles, texts);
    const auto n = std::max(styles.size(), static_cast<std::size_t>(column) + 1);
    styles.resize(n, 0);
    texts.resize(n);
    styles[static_cast<std::size_t>(column)] = id;
    *this = pack(static_cast<int>(n), styles.data(), texts.data(), true, nullptr);
}

void PackedRow::insertSlots(int before, int count) {
    const int n = slotCount();
    if (count <= 0 || before > n) {
        return;
    }
    std::vector<StyleId> styles;
    std::vector<std::string_view> texts;
    unpack(styles, texts);
    styles.insert(styles.begin() + before, static_cast<std::size_t>(count), StyleId{0});
    texts.insert(texts.begin() + before, static_cast<std::size_t>(count), std::string_view());
    *this = pack(n + count, styles.data(), texts.data(), true, nullptr);
}

void PackedRow::eraseSlots(int first, int count) {
    const int n = slotCount();
    if (first >= n || count <= 0) {
        return;
    }
    const int last = std::min(n, first + count);
    std::vector<StyleId> styles;
    std::vector<std::string_view> texts;
    unpack(styles, texts);
    styles.erase(styles.begin() + first, styles.begin() + last);
    texts.erase(texts.begin() + first, texts.begin() + last);
    *this = build(static_cast<int>(styles.size()), styles.data(), texts.data());
}

void PackedRow::truncate(int n) {
    if (n < 0 || n >= slotCount()) {
        return;
    }
    std::vector<StyleId> styles;
    std::vector<std::string_view> texts;
    unpack(styles, texts);
    *this = pack(n, styles.data(), texts.data(), true, nullptr);
}

}  // namespace tf
