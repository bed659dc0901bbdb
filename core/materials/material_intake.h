#pragma once

#include <string>
#include <unordered_map>

#include "core/base/prompter.h"
#include "core/grid/grid.h"
#include "core/materials/price_list.h"
#include "core/project/project_document.h"

namespace tf {

// The rules both imports apply to each usable line of a price list as it goes into the
// table: a category and name (trimmed, Latin case aside) already taken, by the table or an
// earlier line, is refused, and so is a material whose category is full.
class MaterialIntake {
  public:
    // The table's own materials count as taken (the appending import).
    void takeTable(const Grid& materials);
    // Why the line cannot go in; empty when it can, and it then counts as taken.
    std::string refusal(const PriceLine& line, const MaterialCatalogue& catalogue);

  private:
    std::unordered_map<std::string, int> taken_;  // key -> its line, 0 for the table's
};

// Appends a row holding the six fields and enters it in the catalogue.
void appendImportedMaterial(ProjectDocument& document, const MaterialFields& fields,
                            Prompter& prompter);

}  // namespace tf
