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
// slot, the end offset of every slot's text, then the texts back to back. An all-empty,
// unstyled row allocates nothing. Slots past the stored count read as empty, default style.
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

    int slotCount() const { return bits_ != 0 ? static_cast<int>(load<std::uint32_t>(0)) : 0; }
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
        return {data() + headerSize(n) + begin, end(column) - begin};
    }
    StyleId style(int column) const {
        if (column < 0 || column >= slotCount()) {
            return 0;
        }
        return load<StyleId>(4 + static_cast<std::size_t>(column) * sizeof(StyleId));
    }

    // `text` may point into this row: the new image is complete before the old is freed.
    void setText(int column, std::string_view text);
    // Texts of the columns from `first` on, packed once; they may point into this row.
    void setTexts(int first, std::span<const std::string_view> texts);
    void setStyle(int column, StyleId style);
    void insertSlots(int before, int count);
    void eraseSlots(int first, int count);
    void truncate(int count);

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
    template <typename T>
    T load(std::size_t offset) const {
        T value;
        std::memcpy(&value, data() + offset, sizeof value);
        return value;
    }
    std::uint32_t end(int column) const {
        return load<std::uint32_t>(4 + static_cast<std::size_t>(slotCount()) * sizeof(StyleId) +
                                   static_cast<std::size_t>(column) * 4);
    }
    static std::size_t headerSize(int count) {
        return sizeof(std::uint32_t) + static_cast<std::size_t>(count) * (sizeof(StyleId) + 4);
    }

    std::uintptr_t bits_ = 0;
};

}  // namespace tf
