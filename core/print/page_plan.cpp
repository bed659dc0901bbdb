#include "core/print/page_plan.h"

#include <algorithm>
#include <cmath>

namespace tf {

int sheetWidth(const Grid& grid) {
    int width = 0;
    for (int c = 0; c < grid.columnCount(); ++c) {
        width += std::max(0, grid.column(c).width);
    }
    return width;
}

PagePlan planPages(const Grid& grid, double pageWidth, double pageHeight, double titleHeight,
                   double footerHeight) {
    PagePlan plan;
    const int width = sheetWidth(grid);
    if (width > pageWidth && width > 0) {
        plan.scale = pageWidth / width;
    }
    const double row = std::max(1, grid.rowHeight()) * plan.scale;
    const double headings = grid.fixedRows() * row;
    const auto rowsFitting = [&](double title) {
        const double room = pageHeight - title - footerHeight - headings;
        return std::max(1, static_cast<int>(std::floor(room / row + 1e-9)));
    };
    int next = grid.fixedRows();
    do {
        const int fit = rowsFitting(plan.pages.empty() ? titleHeight : 0);
        const int last = std::min(grid.rowCount() - 1, next + fit - 1);
        plan.pages.emplace_back(next, last);
        next = last + 1;
    } while (next < grid.rowCount());
    return plan;
}

std::string pageFooter(int page, int pages) {
    return "第 " + std::to_string(page) + " 页 共 " + std::to_string(pages) + " 页";
}

}  // namespace tf
