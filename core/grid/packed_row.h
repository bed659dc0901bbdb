#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <string_view>

#include "core/grid/style_table.h"

namespace tf {

// The cells of one grid row in a single allocation: a slot count, the style id of every
// slot, the end offset of every slot's text, then the texts back to back. An all-empty,
// unstyled row allocates nothing. Slots past the stored count read as empty, default style.
class PackedRow {
  public:
    PackedRow() = default;
    PackedRow(const PackedRow& other);
    PackedRow& operator=(const PackedRow& other);
    PackedRow(PackedRow&&) noexcept = default;
    PackedRow& operator=(PackedRow&&) noexcept = default;

    int slotCount() const { return data_ ? static_cast<int>(load<std::uint32_t>(0)) : 0; }
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
        return {data_.get() + headerSize(n) + begin, end(column) - begin};
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

    // Builds a row from parallel arrays in one allocation (used by loading).
    static PackedRow build(int count, const StyleId* styles, const std::string_view* texts);

  private:
    static PackedRow pack(int count, const StyleId* styles, const std::string_view* texts,
                          bool allocateWhenBlank);
    template <typename T>
    T load(std::size_t offset) const {
        T value;
        std::memcpy(&value, data_.get() + offset, sizeof value);
        return value;
    }
    std::uint32_t end(int column) const {
        return load<std::uint32_t>(4 + static_cast<std::size_t>(slotCount()) * sizeof(StyleId) +
                                   static_cast<std::size_t>(column) * 4);
    }
    static std::size_t headerSize(int count) {
        return sizeof(std::uint32_t) + static_cast<std::size_t>(count) * (sizeof(StyleId) + 4);
    }

    std::unique_ptr<char[]> data_;
};

}  // namespace tf
