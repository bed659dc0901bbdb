#include "core/materials/material_search.h"

#include <algorithm>

#include "core/materials/material_layout.h"
#include "core/project/analysis_layout.h"

namespace tf {
namespace {

bool marked(const Grid& materials, int row) {
    return materials.style(row, MaterialColumn::kCategory).background == kMarkerColour;
}

}  // namespace

std::optional<int> nextMarkedMaterial(const Grid& materials, int from, bool forward) {
    const int rows = materials.rowCount() - 1;  // data rows 1..rows
    if (rows < 1) {
        return std::nullopt;
    }
    from = std::clamp(from, 0, rows + 1);
    for (int step = 1; step <= rows; ++step) {
        const int offset = forward ? from - 1 + step : from - 1 - step;
        const int row = ((offset % rows) + rows) % rows + 1;
        if (marked(materials, row)) {
            return row;
        }
    }
    return std::nullopt;
}

std::string markedPositionText(const Grid& materials, int row) {
    int total = 0;
    int position = 0;
    for (int r = 1; r < materials.rowCount(); ++r) {
        if (marked(materials, r)) {
            ++total;
            if (r == row) {
                position = total;
            }
        }
    }
    if (position == 0) {
        return "共找到 " + std::to_string(total) + " 个";
    }
    return "第 " + std::to_string(position) + " 个，共 " + std::to_string(total) + " 个";
}

}  // namespace tf
