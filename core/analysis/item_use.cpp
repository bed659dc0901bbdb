#include "core/analysis/item_use.h"

#include "core/project/analysis_layout.h"

namespace tf {

ItemUse countItemUse(const Grid& analysis, const LocationIndex& locations,
                     const std::set<std::string, std::less<>>& codes) {
    ItemUse use;
    if (codes.empty()) {
        return use;
    }
    for (const LocationSpan& span : locations) {
        const int before = use.rows;
        for (int r = span.first; r <= span.last && r < analysis.rowCount(); ++r) {
            use.rows += codes.contains(analysis.text(r, AnalysisColumn::kItemCode)) ? 1 : 0;
        }
        use.locations += use.rows > before ? 1 : 0;
    }
    return use;
}

}  // namespace tf
