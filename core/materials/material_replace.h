#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/base/prompter.h"
#include "core/project/project_document.h"

namespace tf {

// An analysis row whose material the new price list no longer has.
struct MissingMaterialRow {
    int row = 0;  // as it stood when it was marked
    std::string location;
    std::string material;
    std::string unit;
    friend bool operator==(const MissingMaterialRow&, const MissingMaterialRow&) = default;
};

// The overwriting import (覆盖模式): the file's materials replace the table and the catalogue
// (the first of a category and name wins; ids start again at 1001), then every analysis row is
// linked again by material name and unit. Rows whose material is gone are marked and the user
// is asked whether to delete them (OK deletes them, keeping the locations right; Cancel keeps
// them marked). The table is replaced only once the whole file has been read: a file that
// cannot be read, or holds no usable line, changes nothing. `showAnalysisPage` runs before the
// rows are linked again. Returns the rows that lost their material, or nothing when nothing
// was imported.
std::optional<std::vector<MissingMaterialRow>> importMaterialsReplacing(
    ProjectDocument& document, const std::string& path, Prompter& prompter,
    const std::function<void()>& showAnalysisPage = {});

// "查 找 (&F)": marks the rows whose 材料名称 equals the text (trimmed; exact, case and all)
// or, without `exact`, contains it (both trimmed and lower-cased), after the marks of an
// earlier search are gone. Returns how many rows were marked.
int markMaterialMatches(Grid& materials, std::string_view text, bool exact);

}  // namespace tf
