#pragma once

#include <array>
#include <memory>
#include <string>

#include "core/base/prompter.h"
#include "core/base/work_progress.h"
#include "core/compare/comparison_tables.h"

namespace tf {

// A comparison ready to be shown: its figures and each table as a grid, all of its lines
// and only the changed ones.
struct ComparisonView {
    std::string beforeName;
    std::string afterName;
    ProjectComparison comparison;
    std::array<Grid, 4> all;
    std::array<Grid, 4> changes;
    Grid summary;  // caption and figure of each summary line
};

// Fills the grids of the view from its comparison; false when `progress` asked to stop.
bool layOutComparison(ComparisonView& view, const WorkProgress* progress = nullptr);

// The comparison as a workbook: "汇总", then every table with all its lines or only the
// changed ones; differences and effects are formulas of the cells they compare.
std::vector<SheetSource> comparisonWorkbookSheets(std::shared_ptr<const ComparisonView> view,
                                                  bool onlyChanges = false);

// "工程对比…": the project file `before` against the open project (or against the file
// `afterPath` when `after` is null), read, tallied, compared and laid out behind the
// prompter's progress. Nothing when a file is no project or the user stopped it (told).
std::shared_ptr<ComparisonView> compareProjectFiles(const std::string& before,
                                                    const ProjectDocument* after,
                                                    const std::string& afterPath,
                                                    Prompter& prompter);

}  // namespace tf
