#pragma once

#include <string>
#include <utility>
#include <vector>

#include "core/grid/grid.h"

namespace tf {

// How a sheet falls onto pages. Lengths are in screen pixels (96 to the inch) of the page's
// printable area. A sheet wider than the page is scaled down to its width, never cut; its
// heading rows (the fixed rows) head every page, the title only the first, and the page
// number stands at the foot of each.
struct PagePlan {
    double scale = 1;                        // sheet pixels to page pixels
    std::vector<std::pair<int, int>> pages;  // first and last row below the headings
};

PagePlan planPages(const Grid& grid, double pageWidth, double pageHeight, double titleHeight,
                   double footerHeight);

// The shown width of the sheet: the widths of its columns (hidden ones are 0).
int sheetWidth(const Grid& grid);

// "第 2 页 共 5 页".
std::string pageFooter(int page, int pages);

}  // namespace tf
