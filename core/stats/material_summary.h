#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/grid/grid.h"
#include "core/materials/material_catalogue.h"
#include "core/stats/analysis_rows.h"

namespace tf {

// One material of the priced list: the first row that names it decides category, unit
// and price; later rows of the same name add their quantity.
struct MaterialSummaryRow {
    int categoryNumber = 0;
    std::string category;
    std::string name;
    double workQuantity = 0;  // of the row that listed it
    double quantity = 0;      // summed 材料数量
    std::string unit;
    double price = 0;
};

class MaterialSummaryList {
  public:
    // Adds the row's quantity to the material of that name, listing it first when the row
    // refers to a catalogue material. The listed row, or null when the row's material is
    // blank or neither listed nor in the catalogue.
    const MaterialSummaryRow* add(const AnalysisUse& use, const MaterialCatalogue& catalogue);
    const std::vector<MaterialSummaryRow>& rows() const { return rows_; }

  private:
    std::vector<MaterialSummaryRow> rows_;
    TextMap<std::size_t> byName_;
};

// Every material of the analysis table, in order of first use.
MaterialSummaryList buildMaterialSummary(const Grid& analysis, const MaterialCatalogue& catalogue);

// 统计表 from the list: one numbered row per material (合计 computed), grouped by category in
// the material table's order and merged per category, at least 24 rows.
void copySummaryToGrid(const MaterialSummaryList& list, Grid& summary);

}  // namespace tf
