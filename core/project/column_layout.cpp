#include "core/project/column_layout.h"

#include <array>

namespace tf {
namespace {

constexpr int kBaseWindowWidth = 800;

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

void layoutAnalysisColumns(Grid& analysis, int windowWidth) {
    constexpr std::array<int, 10> kBase = {100, 100, 100, 80, 100, 60, 120, 60, 60, 150};
    layout(analysis, 1, kBase, windowWidth, 15);
}

void layoutMaterialColumns(Grid& materials, int windowWidth) {
    constexpr std::array<int, 6> kBase = {110, 200, 150, 60, 62, 142};
    layout(materials, 1, kBase, windowWidth, 6);
}

}  // namespace tf
