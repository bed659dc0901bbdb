#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/base/prompter.h"
#include "core/materials/import_report.h"
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

// A link of a work item's current process whose material the new price list no longer has.
struct GoneLink {
    std::string code;  // the work item's
    std::string item;
    std::string material;
    std::string unit;
    friend bool operator==(const GoneLink&, const GoneLink&) = default;
};

struct ReplaceOutcome {
    ImportReport report;
    std::vector<MissingMaterialRow> missingRows;
    std::vector<GoneLink> goneLinks;
};

// What becomes of the analysis rows whose material is gone: the user is asked, or (a command
// line, which asks nobody) the caller decided before.
enum class MissingRows { Ask, Delete, Keep };

struct ReplaceOptions {
    std::function<void()> showAnalysisPage;  // runs before the rows are linked again
    std::size_t shown = kSkippedLinesShown;  // skipped lines listed in the message
    MissingRows missingRows = MissingRows::Ask;
};

// The overwriting import (覆盖模式): the file's materials replace the table and the catalogue
// (the first of a category and name wins; ids start again at 1001), the user hears how it
// went (tellImport, `shown` skipped lines listed), then every analysis row and every link of
// the structure's current processes is linked again by material name and unit. Rows whose
// material is gone are marked and the user is asked whether to delete them (OK deletes them,
// keeping the locations right; Cancel keeps them marked), or told what was decided for them;
// ticked links whose material is gone lose their tick and are named in the same message, or in
// one of their own. The table is replaced only once the whole file has been read: a file that
// cannot be read, or holds no usable line, changes nothing (and gives nothing).
std::optional<ReplaceOutcome> importMaterialsReplacing(ProjectDocument& document,
                                                       const std::string& path, Prompter& prompter,
                                                       const ReplaceOptions& options = {});

// "查 找 (&F)": marks the rows whose 材料名称 equals the text (trimmed; exact, case and all)
// or, without `exact`, contains it (both trimmed and lower-cased), after the marks of an
// earlier search are gone. Returns how many rows were marked.
int markMaterialMatches(Grid& materials, std::string_view text, bool exact);

}  // namespace tf
