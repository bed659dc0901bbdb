#include "core/project/column_layout.h"

#include <algorithm>
#include <array>

#include "core/base/text_util.h"

namespace tf {
namespace {

constexpr int kBaseWindowWidth = 800;
// 序号 comes first in both tables.
constexpr int kNumberColumn = 0;
constexpr int kDigitWidth = 8;
constexpr std::size_t kDigitsInNarrowest = 3;
// How far up from the last row the last number is looked for.
constexpr int kRowsOfOneNumber = 1000;

template <std::size_t N>
void layout(Grid& grid, int firstColumn, const std::array<int, N>& base, int windowWidth,
            int divisor) {
    const int extra =
        windowWidth > kBaseWindowWidth ? (windowWidth - kBaseWindowWidth) / divisor : 0;
    for (std::size_t i = 0; i < N; ++i) {
        grid.setColumnWidth(firstColumn + static_cast<int>(i), base[i] + extra);
    }
}

}  // namespace

int numberColumnWidth(const Grid& grid, int column, int narrowest) {
    // The last number stands in the first row of its block (a location's rows share one).
    std::size_t digits = 0;
    if (column >= 0 && column < grid.columnCount()) {
        const int stop = std::max(grid.fixedRows(), grid.rowCount() - kRowsOfOneNumber);
        for (int r = grid.rowCount() - 1; r >= stop && digits == 0; --r) {
            digits = trimSpaces(grid.text(r, column)).size();
        }
    }
    return narrowest + kDigitWidth * static_cast<int>(std::max(digits, kDigitsInNarrowest) -
                                                      kDigitsInNarrowest);
}

void layoutAnalysisColumns(Grid& analysis, int windowWidth) {
    constexpr std::array<int, 10> kBase = {100, 100, 100, 80, 100, 60, 120, 60, 60, 150};
    analysis.setColumnWidth(kNumberColumn, numberColumnWidth(analysis, kNumberColumn, 40));
    layout(analysis, 1, kBase, windowWidth, 15);
}

void layoutMaterialColumns(Grid& materials, int windowWidth) {
    constexpr std::array<int, 6> kBase = {110, 200, 150, 60, 62, 142};
    materials.setColumnWidth(kNumberColumn, numberColumnWidth(materials, kNumberColumn, 37));
    layout(materials, 1, kBase, windowWidth, 6);
}

}  // namespace tf
