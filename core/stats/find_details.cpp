#include "core/stats/find_details.h"

#include <string>

#include "core/base/text_util.h"
#include "core/project/analysis_layout.h"
#include "core/stats/analysis_rows.h"
#include "core/stats/statistics_layout.h"
#include "core/structure/codes.h"

namespace tf {
namespace {

struct Criteria {
    std::string name;
    std::string unit;
    std::optional<std::string> code;  // division view
    bool onlyTicked = false;          // filtered view
};

std::optional<Criteria> criteriaOf(const Statistics& s) {
    if (s.view == StatisticsView::Division) {
        const auto& tree = s.divisionTree.tree;
        if (!s.selectedNode || *s.selectedNode >= tree.size() ||
            !isWorkItem(tree, *s.selectedNode)) {
            return std::nullopt;
        }
        const int row = s.itemSummary.cursor().row;
        return Criteria{std::string(s.itemSummary.text(row, ItemColumn::kName)),
                        std::string(s.itemSummary.text(row, ItemColumn::kUnit)),
                        itemCodeOfNode(tree, *s.selectedNode), false};
    }
    const int row = s.summary.cursor().row;
    if (row == s.statisticRow) {
        return std::nullopt;
    }
    Criteria c{std::string(s.summary.text(row, SummaryColumn::kName)),
               std::string(s.summary.text(row, SummaryColumn::kUnit)),
               {},
               false};
    if (s.view == StatisticsView::Filtered) {
        c.onlyTicked = true;
    }
    return c;
}

}  // namespace

bool findDetails(const Statistics& s, Grid& analysis) {
    using namespace AnalysisColumn;
    const auto criteria = criteriaOf(s);
    if (!criteria || isBlank(criteria->name)) {
        return false;
    }
    const int last = analysis.rowCount() - 1;
    paintAnalysisBands(analysis, kAnalysisHeadingRows, last);
    for (int r = kAnalysisHeadingRows; r <= last; ++r) {
        if (analysis.text(r, kMaterialName) != criteria->name ||
            analysis.text(r, kMaterialUnit) != criteria->unit) {
            continue;
        }
        if (criteria->code && analysis.text(r, kItemCode) != *criteria->code) {
            continue;
        }
        if (criteria->onlyTicked &&
            !s.filter.isTicked(analysis.text(r, kLocation), analysis.text(r, kItemCode))) {
            continue;
        }
        analysis.setBackground({r, kMaterialName, r, kNote}, kMarkerColour);
    }
    return true;
}

}  // namespace tf
