#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tf {

// 24-bit colour.
struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    constexpr std::uint32_t packed() const {
        return static_cast<std::uint32_t>(red) << 16 | static_cast<std::uint32_t>(green) << 8 |
               blue;
    }
    static constexpr Rgb fromPacked(std::uint32_t value) {
        return {static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 8),
                static_cast<std::uint8_t>(value)};
    }
    friend constexpr bool operator==(Rgb, Rgb) = default;
};

enum class ColumnKind : std::uint8_t { Text = 0, Number = 1, PickList = 2, CheckBox = 3 };

// Numbered as the print editor numbers them.
enum class Align : std::uint8_t { Left = 1, Center = 2, Right = 3 };

struct CellPos {
    int row = -1;
    int column = -1;
    friend bool operator==(const CellPos&, const CellPos&) = default;
};

// Inclusive rectangle of cells.
struct CellRange {
    int top = -1;
    int left = -1;
    int bottom = -1;
    int right = -1;

    bool contains(int row, int column) const {
        return row >= top && row <= bottom && column >= left && column <= right;
    }
    bool intersects(const CellRange& o) const {
        return top <= o.bottom && o.top <= bottom && left <= o.right && o.left <= right;
    }
    bool singleCell() const { return top == bottom && left == right; }
    CellRange normalized() const {
        return {std::min(top, bottom), std::min(left, right), std::max(top, bottom),
                std::max(left, right)};
    }
    friend bool operator==(const CellRange&, const CellRange&) = default;
};

// What a cell looks like beyond its text. Unset members fall back to the column and the
// grid's defaults.
struct CellStyle {
    std::optional<Rgb> background;
    std::optional<Rgb> foreground;
    std::string fontName;
    int fontSize = 0;
    bool bold = false;
    bool wrap = false;
    std::optional<Align> align;

    friend bool operator==(const CellStyle&, const CellStyle&) = default;
};

// A number column computed as the product of two other columns of the same row.
struct ProductRule {
    int left = -1;
    int right = -1;
    friend bool operator==(const ProductRule&, const ProductRule&) = default;
};

struct Column {
    int width = 80;  // pixels; 0 hides the column and keeps its cells
    ColumnKind kind = ColumnKind::Text;
    int decimals = 0;  // display decimals of a number column
    std::optional<Align> align;
    std::vector<std::string> pickList;
    std::optional<ProductRule> product;

    friend bool operator==(const Column&, const Column&) = default;
};

// A cell holding the sum of one column over a row range.
struct RangeSum {
    int row = 0;
    int column = 0;
    int sourceColumn = 0;
    int firstRow = 0;
    int lastRow = 0;
    friend bool operator==(const RangeSum&, const RangeSum&) = default;
};

}  // namespace tf
