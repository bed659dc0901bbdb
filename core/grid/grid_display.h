#pragma once

#include <string>

#include "core/grid/grid.h"

namespace tf {

// What a cell shows: number columns round plain numbers to their display decimals; every
// other text shows as it is. The cell keeps its full text.
std::string displayText(const Grid& grid, int row, int column);

// The cell's alignment, else its column's, else left for texts and right for numbers.
Align effectiveAlign(const Grid& grid, int row, int column);

// Check-box cells hold "1" when ticked.
bool isTicked(std::string_view text);
inline constexpr std::string_view kTicked = "1";
inline constexpr std::string_view kUnticked = "0";

}  // namespace tf
