#pragma once

#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

#include "core/grid/grid_types.h"

namespace tf {

using StyleId = std::uint16_t;

// The distinct cell styles of one grid; cells store a small id instead of a style, so a
// million styled cells cost two bytes each. Id 0 is the default style.
class StyleTable {
  public:
    static constexpr std::size_t kCapacity = 0x10000;

    StyleTable() { clear(); }

    const CellStyle& operator[](StyleId id) const { return styles_[id]; }
    std::size_t size() const { return styles_.size(); }

    // Id of an equal style, added when new; nothing when the table is full.
    std::optional<StyleId> intern(const CellStyle& style);

    // Keeps only the styles whose ids are marked used; returns old id -> new id.
    std::vector<StyleId> compact(const std::vector<bool>& used);

    void clear();

  private:
    struct Hash {
        std::size_t operator()(const CellStyle& s) const;
    };
    std::vector<CellStyle> styles_;
    std::unordered_map<CellStyle, StyleId, Hash> index_;
};

}  // namespace tf
