#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/grid/grid.h"

namespace tf {

// Cells of one grid column, rows first…last, added up.
struct GridSpan {
    int column = 0;
    int firstRow = 0;
    int lastRow = 0;
    friend bool operator==(const GridSpan&, const GridSpan&) = default;
};

// One bar of a chart: its label, one value per series (stacked), the cells each value adds
// up (so that a workbook can chart them as formulas), and the rows it stands for (a click
// goes to them; -1 for "其他").
struct ChartBar {
    std::string label;
    std::vector<double> values;
    std::vector<std::vector<GridSpan>> sums;
    int firstRow = -1;
    int lastRow = -1;
    double total() const;
};

struct BarChart {
    std::string title;
    std::vector<std::string> series;
    std::vector<ChartBar> bars;
};

inline constexpr std::string_view kOtherBar = "其他";

// A bar adding up `sums` (one list a series) of the grid, its values read from the cells.
ChartBar sumBar(const Grid& grid, std::string label, std::vector<std::vector<GridSpan>> sums,
                int firstRow, int lastRow);

// The largest `kept` bars in falling order; the rest become one "其他" adding up their cells.
void keepLargest(BarChart& chart, std::size_t kept);

}  // namespace tf
