#include "core/stats/analysis_rows.h"

#include <cmath>

#include "core/base/number_text.h"
#include "core/project/analysis_layout.h"

namespace tf {

AnalysisUse readAnalysisUse(const Grid& g, int row) {
    using namespace AnalysisColumn;
    AnalysisUse use;
    use.location = g.text(row, kLocation);
    use.code = g.text(row, kItemCode);
    use.workQuantity = parseNumber(g.text(row, kWorkQuantity));
    use.material = g.text(row, kMaterialName);
    use.quantity = parseNumber(g.text(row, kMaterialQuantity));
    use.unit = g.text(row, kMaterialUnit);
    const double id = parseNumber(g.text(row, kMaterialId));
    use.materialId = id >= 1 && id < 2147483647.0 ? static_cast<std::int32_t>(std::trunc(id)) : 0;
    return use;
}

CatalogueMaterial catalogueMaterial(const MaterialCatalogue& catalogue, std::int32_t id) {
    const MaterialEntry* entry = catalogue.byId(id);
    if (entry == nullptr || entry->removed) {
        return {};
    }
    return {catalogue.category(id / 1000), entry};
}

}  // namespace tf
