#include "core/library/repricing.h"

#include <algorithm>

#include "core/base/number_text.h"
#include "core/base/text_util.h"
#include "core/materials/material_layout.h"
#include "core/materials/material_table.h"

namespace tf {

int RepricePlan::changed() const {
    return static_cast<int>(std::ranges::count_if(lines, &RepriceLine::changes));
}

int RepricePlan::missing() const {
    return static_cast<int>(
        std::ranges::count_if(lines, [](const RepriceLine& l) { return !l.newPrice; }));
}

std::vector<const RepriceLine*> RepricePlan::previewOrder() const {
    std::vector<const RepriceLine*> shown;
    for (const auto wanted : {0, 1, 2}) {
        for (const RepriceLine& line : lines) {
            if ((line.changes() ? 0 : line.newPrice ? 2 : 1) == wanted) {
                shown.push_back(&line);
            }
        }
    }
    return shown;
}

std::vector<RepriceLine> projectMaterials(const ProjectDocument& document) {
    using namespace MaterialColumn;
    const Grid& g = document.materials;
    std::vector<RepriceLine> lines;
    std::string category;
    for (int r = 1; r < g.rowCount(); ++r) {
        if (!isBlank(g.text(r, kCategory))) {
            category = std::string(trimSpaces(g.text(r, kCategory)));
        }
        if (isBlank(g.text(r, kName))) {
            continue;
        }
        lines.push_back(
            {r,
             {category, std::string(trimSpaces(g.text(r, kName))),
              std::string(trimSpaces(g.text(r, kSpec))), std::string(trimSpaces(g.text(r, kUnit)))},
             parseNumber(g.text(r, kPrice)),
             std::nullopt});
    }
    return lines;
}

RepricePlan planRepricing(const ProjectDocument& document, PriceLibrary& library,
                          const std::string& day) {
    RepricePlan plan{day, projectMaterials(document)};
    std::vector<LibraryMaterial> materials;
    materials.reserve(plan.lines.size());
    for (const RepriceLine& line : plan.lines) {
        materials.push_back(line.material);
    }
    const auto prices = library.pricesOn(materials, day);
    for (std::size_t i = 0; i < plan.lines.size(); ++i) {
        plan.lines[i].newPrice = prices[i];
    }
    return plan;
}

int applyRepricing(ProjectDocument& document, const RepricePlan& plan) {
    int changed = 0;
    for (const RepriceLine& line : plan.lines) {
        if (line.changes() && line.row < document.materials.rowCount()) {
            document.materials.setText(line.row, MaterialColumn::kPrice,
                                       formatNumber(*line.newPrice));
            ++changed;
        }
    }
    if (changed > 0) {
        rebuildCatalogue(document);
        document.modified = true;
    }
    return changed;
}

std::vector<std::pair<LibraryMaterial, double>> projectPrices(const ProjectDocument& document) {
    std::vector<std::pair<LibraryMaterial, double>> prices;
    for (const RepriceLine& line : projectMaterials(document)) {
        // A material without a price has none to share.
        if (!isBlank(document.materials.text(line.row, MaterialColumn::kPrice))) {
            prices.emplace_back(line.material, line.oldPrice);
        }
    }
    return prices;
}

}  // namespace tf
