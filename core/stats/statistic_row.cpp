#include "core/stats/statistic_row.h"

#include <algorithm>
#include <string>

#include "core/stats/statistics_layout.h"

namespace tf {
namespace {

constexpr Rgb kLabelBackground{142, 199, 255};
constexpr Rgb kSumBackground{251, 222, 204};
constexpr Rgb kSummedBackground{253, 242, 210};
constexpr Rgb kLabelInk{0, 0, 255};
constexpr Rgb kSumInk{255, 0, 0};

void accumulate(Grid& g, int first, int last, std::optional<int>& statisticRow) {
    using namespace SummaryColumn;
    first = std::max(first, 1);
    last = std::min(last, g.rowCount() - 1);
    if (first > last) {
        return;
    }
    paintSummaryBands(g, kName);
    const int s = last + 1;
    g.insertRows(s, 1, kStatisticRowHeading);
    statisticRow = s;
    g.merge({s, kName, s, kPrice});
    g.setText(s, kName, std::to_string(first) + "～" + std::to_string(last) + "行  类加： ");
    g.setAlign({s, kName, s, kPrice}, Align::Right);
    g.setRangeSum({s, kTotal, kTotal, first, last});
    g.recalculate();
    g.setBackground({s, kNumber, s, kNumber}, kLabelBackground);
    g.setBackground({s, kName, s, kPrice}, kLabelBackground);
    g.setBackground({s, kTotal, s, kTotal}, kSumBackground);
    g.setBackground({first, kTotal, last, kTotal}, kSummedBackground);
    g.setForeground({s, kName, s, kPrice}, kLabelInk);
    g.setForeground({s, kTotal, s, kTotal}, kSumInk);
    g.setBold({s, kCategory, s, kTotal}, true);
}

}  // namespace

void deleteStatisticRow(Grid& g, std::optional<int>& statisticRow) {
    if (!statisticRow) {
        return;
    }
    const int s = *statisticRow;
    statisticRow.reset();
    if (s < 1 || s >= g.rowCount()) {
        return;
    }
    g.clearRangeSum(s, SummaryColumn::kTotal);
    g.deleteRows(s);
    paintSummaryBands(g, SummaryColumn::kName);
    g.setBackground({1, SummaryColumn::kNumber, g.rowCount() - 1, SummaryColumn::kNumber},
                    kNumberColumnBackground);
}

void sumAllRows(Grid& g, std::optional<int>& statisticRow) {
    deleteStatisticRow(g, statisticRow);
    accumulate(g, 1, g.rowCount() - 1, statisticRow);
}

void sumSelectedRows(Grid& g, std::optional<int>& statisticRow) {
    const CellRange selection = g.selection().normalized();
    const CellPos cursor = g.cursor();
    int first = selection.top >= 0 ? selection.top : cursor.row;
    int last = selection.top >= 0 ? selection.bottom : cursor.row;
    if (first > last) {
        std::swap(first, last);
    }
    if (statisticRow) {
        const int s = *statisticRow;
        if (s == first) {
            --first;
            --last;
        }
        if (s == last) {
            --last;
        }
        if (first < s && s < last) {
            --last;
        }
        if (s < first) {
            --first;
            --last;
        }
        deleteStatisticRow(g, statisticRow);
    }
    accumulate(g, first, last, statisticRow);
}

}  // namespace tf
