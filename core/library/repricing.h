#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/library/price_library.h"
#include "core/project/project_document.h"

namespace tf {

// A material of the project's 材料表 and what the library says it costs on the day.
struct RepriceLine {
    int row = 0;
    LibraryMaterial material;
    double oldPrice = 0;
    std::optional<double> newPrice;  // nothing: the library lacks it
    bool changes() const { return newPrice && *newPrice != oldPrice; }
};

struct RepricePlan {
    std::string day;
    std::vector<RepriceLine> lines;
    int changed() const;
    int missing() const;
    // The lines as a preview lists them: what changes, then what the library lacks, then the
    // rest, each in table order.
    std::vector<const RepriceLine*> previewOrder() const;
};

// The materials of the table (rows with a name), each with its category: a row whose
// category is blank belongs to the one above it, as the table shows them merged.
std::vector<RepriceLine> projectMaterials(const ProjectDocument& document);

// What repricing the project as of `day` would do. Throws LibraryError.
RepricePlan planRepricing(const ProjectDocument& document, PriceLibrary& library,
                          const std::string& day);

// The new prices into 材料表 and the catalogue; the project is modified when any changed.
// The number of prices changed.
int applyRepricing(ProjectDocument& document, const RepricePlan& plan);

// "保存到价格库": the table's priced materials, as the library takes them.
std::vector<std::pair<LibraryMaterial, double>> projectPrices(const ProjectDocument& document);

}  // namespace tf
