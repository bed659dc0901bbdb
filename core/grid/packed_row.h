#pragma once

#include <cstdint>
#include <memory>
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

    int slots() const;
    // Valid until this row changes.
    std::string_view text(int column) const;
    StyleId style(int column) const;

    // `text` may point into this row: the new image is complete before the old is freed.
    void setText(int column, std::string_view text);
    void setStyle(int column, StyleId style);
    void insertSlots(int before, int count);
    void eraseSlots(int first, int count);
    void truncate(int slots);

    // Builds a row from parallel arrays in one allocation (used by loading).
    static PackedRow build(int slots, const StyleId* styles, const std::string_view* texts);

  private:
    static PackedRow pack(int slots, const StyleId* styles, const std::string_view* texts,
                          bool allocateWhenBlank);
    std::size_t textBytes() const;
    std::uint32_t end(int column) const;
    std::size_t headerSize(int slots) const;

    std::unique_ptr<char[]> data_;
};

}  // namespace tf
