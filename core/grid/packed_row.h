#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include "core/grid/style_table.h"

namespace tf {

// Rows loaded together share a few large blocks instead of one allocation each: a million
// rows open without a million calls to the allocator. Blocks live as long as the arena.
class RowArena {
  public:
    char* allocate(std::size_t bytes);

  private:
    std::vector<std::unique_ptr<char[]>> blocks_;
    std::size_t used_ = 0;
    std::size_t capacity_ = 0;
};

// The cells of one grid row in a single allocation: a slot count, the style id of every
// slot (one for all when they share it, as banded rows do), the end offset of every slot's
// text (16 bits when the texts are short, as nearly all are), then the texts back to back.
// An all-empty, unstyled row allocates nothing. Slots past the stored count read as empty,
// default style.
class PackedRow {
  public:
    PackedRow() = default;
    PackedRow(const PackedRow& other);
    PackedRow& operator=(const PackedRow& other);
    PackedRow(PackedRow&& other) noexcept : bits_(std::exchange(other.bits_, 0)) {}
    PackedRow& operator=(PackedRow&& other) noexcept {
        if (this != &other) {
            release();
            bits_ = std::exchange(other.bits_, 0);
        }
        return *this;
    }
    ~PackedRow() { release(); }

    int slotCount() const { return static_cast<int>(word() & kCountMask); }
    // Bytes of all texts together.
    std::size_t textBytes() const {
        const int n = slotCount();
        return n == 0 ? 0 : end(n - 1);
    }
    // Valid until this row changes.
    std::string_view text(int column) const {
        const int n = slotCount();
        if (column < 0 || column >= n) {
            return {};
        }
        const std::uint32_t begin = column == 0 ? 0 : end(column - 1);
        return {data() + headerSize() + begin, end(column) - begin};
    }
    StyleId style(int column) const {
        if (column < 0 || column >= slotCount()) {
            return 0;
        }
        const bool shared = (word() & kSharedStyle) != 0;
        return load<StyleId>(4 + (shared ? 0 : static_cast<std::size_t>(column) * sizeof(StyleId)));
    }

    // `text` may point into this row: the new image is complete before the old is freed.
    void setText(int column, std::string_view text);
    // Texts of the columns from `first` on, packed once; they may point into this row.
    void setTexts(int first, std::span<const std::string_view> texts);
    void setStyle(int column, StyleId style);
    void insertSlots(int before, int count);
    void eraseSlots(int first, int count);
    // Keeps the first `count` slots, blank or not.
    void truncate(int count);

    // A copy for a holder of this row's arena (a copy of its grid): bytes in the arena are
    // shared, since nothing changes them in place; others are copied.
    PackedRow sharingArena() const {
        if ((bits_ & 1) == 0) {
            return *this;
        }
        PackedRow shared;
        shared.bits_ = bits_;
        return shared;
    }

    // Builds a row from parallel arrays in one allocation, from `arena` when given (loading);
    // the arena must outlive the row.
    static PackedRow build(int count, const StyleId* styles, const std::string_view* texts,
                           RowArena* arena = nullptr);

  private:
    static PackedRow pack(int count, const StyleId* styles, const std::string_view* texts,
                          bool allocateWhenBlank, RowArena* arena);
    // The bytes; bit 0 of bits_ tells an arena's bytes, which are not freed with the row.
    char* data() const { return reinterpret_cast<char*>(bits_ & ~std::uintptr_t{1}); }
    void release() {
        if ((bits_ & 1) == 0) {
            delete[] data();
        }
        bits_ = 0;
    }
    static constexpr std::uint32_t kSharedStyle = 1u << 31;
    static constexpr std::uint32_t kShortEnds = 1u << 30;
    static constexpr std::uint32_t kCountMask = kShortEnds - 1;

    template <typename T>
    T load(std::size_t offset) const {
        T value;
        std::memcpy(&value, data() + offset, sizeof value);
        return value;
    }
    std::uint32_t word() const { return bits_ != 0 ? load<std::uint32_t>(0) : 0; }
    std::size_t endsOffset() const {
        const bool shared = (word() & kSharedStyle) != 0;
        return 4 + (shared ? 1 : static_cast<std::size_t>(slotCount())) * sizeof(StyleId);
    }
    std::uint32_t end(int column) const {
        const std::size_t at = endsOffset();
        return (word() & kShortEnds) != 0
                   ? load<std::uint16_t>(at + static_cast<std::size_t>(column) * 2)
                   : load<std::uint32_t>(at + static_cast<std::size_t>(column) * 4);
    }
    std::size_t headerSize() const {
        const std::size_t widths = (word() & kShortEnds) != 0 ? 2 : 4;
        return endsOffset() + static_cast<std::size_t>(slotCount()) * widths;
    }
    // The styles and texts of every slot, for rebuilding the row.
    void unpack(std::vector<StyleId>& styles, std::vector<std::string_view>& texts) const;

    std::uintptr_t bits_ = 0;
};

}  // namespace tf
