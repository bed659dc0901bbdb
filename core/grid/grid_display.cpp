#include "core/grid/grid_display.h"

#include "core/base/number_text.h"

namespace tf {

std::string displayText(const Grid& grid, int row, int column) {
    const std::string_view text = grid.text(row, column);
    const Column& c = grid.column(column);
    if (c.kind == ColumnKind::Number && row >= grid.fixedRows() && isPlainNumber(text)) {
        return formatFixed(parseNumber(text), c.decimals);
    }
    return std::string(text);
}

Align effectiveAlign(const Grid& grid, int row, int column) {
    if (const auto align = grid.style(row, column).align) {
        return *align;
    }
    const Column& c = grid.column(column);
    if (c.align) {
        return *c.align;
    }
    return c.kind == ColumnKind::Number && row >= grid.fixedRows() ? Align::Right : Align::Left;
}

bool isTicked(std::string_view text) {
    return text == kTicked;
}

}  // namespace tf
