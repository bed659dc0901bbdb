#include "core/stats/material_summary.h"

#include <algorithm>

#include "core/base/number_text.h"
#include "core/base/text_util.h"
#include "core/project/analysis_layout.h"
#include "core/stats/statistics_layout.h"

namespace tf {
namespace {

constexpr Rgb kFilledTotalInk{0, 128, 0};

}  // namespace

const MaterialSummaryRow* MaterialSummaryList::add(const AnalysisUse& use,
                                                   const MaterialCatalogue& catalogue) {
    if (isBlank(use.material) || isBlank(use.unit)) {
        return nullptr;
    }
    if (const auto it = byName_.find(use.material); it != byName_.end()) {
        MaterialSummaryRow& row = rows_[it->second];
        row.quantity += use.quantity;
        return &row;
    }
    const CatalogueMaterial material = catalogueMaterial(catalogue, use.materialId);
    if (!material) {
        return nullptr;
    }
    byName_.emplace(use.material, rows_.size());
    rows_.push_back({use.materialId / 1000, material.category->name, std::string(use.material),
                     use.workQuantity, use.quantity, std::string(use.unit), material.entry->price});
    return &rows_.back();
}

MaterialSummaryList buildMaterialSummary(const Grid& analysis, const MaterialCatalogue& catalogue) {
    MaterialSummaryList list;
    for (int r = kAnalysisHeadingRows; r < analysis.rowCount(); ++r) {
        list.add(readAnalysisUse(analysis, r), catalogue);
    }
    return list;
}

void copySummaryToGrid(const MaterialSummaryList& list, Grid& g) {
    using namespace SummaryColumn;
    // Grouped by category, each category's materials in order of first use.
    std::vector<MaterialSummaryRow> rows = list.rows();
    std::stable_sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) {
        return a.categoryNumber < b.categoryNumber;
    });
    const int n = static_cast<int>(rows.size());
    layOutStatistics(g, StatisticsLayout::Summary, std::max(n + 1, kStatisticsFreshRows));
    for (int i = 1; i <= n; ++i) {
        const MaterialSummaryRow& row = rows[static_cast<std::size_t>(i - 1)];
        g.setText(i, kCategory, row.category);
        g.setText(i, kName, row.name);
        g.setText(i, kQuantity, formatNumber(row.quantity));
        g.setText(i, kUnit, row.unit);
        g.setText(i, kPrice, formatNumber(row.price));
    }
    for (int first = 1; first <= n;) {
        int last = first;
        while (last < n && g.text(last + 1, kCategory) == g.text(first, kCategory)) {
            ++last;
        }
        g.merge({first, kCategory, last, kCategory});
        first = last + 1;
    }
    g.setForeground({1, kTotal, g.rowCount() - 1, kTotal}, kFilledTotalInk);
    g.recalculate();
}

}  // namespace tf
