#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/compare/project_comparison.h"
#include "core/grid/grid.h"
#include "core/xlsx/sheet_plan.h"

namespace tf {

enum class ComparisonTable : std::uint8_t { Locations, Materials, Costs, Structure };
inline constexpr ComparisonTable kComparisonTables[] = {
    ComparisonTable::Locations, ComparisonTable::Materials, ComparisonTable::Costs,
    ComparisonTable::Structure};

// "location", "material", "cost", "structure" as the command line names them.
std::optional<ComparisonTable> comparisonTableNamed(std::string_view name);
// "按部位", "按材料", "按费用", "结构变化": a tab's caption and a sheet's name.
std::string_view comparisonTableTitle(ComparisonTable table);

std::vector<std::string_view> comparisonHeadings(ComparisonTable table);

// Every line of the table in order, or only those that changed, as the texts of its cells.
void forEachComparisonRow(const ProjectComparison& comparison, ComparisonTable table,
                          bool onlyChanges,
                          const std::function<void(const std::vector<std::string>&, Change)>& row);

// The summary as (caption, figure) lines: totals before and after, the difference and its
// split, each kind of cost, and the counts of what was added, removed and changed.
std::vector<std::pair<std::string, std::string>> comparisonSummary(
    const ProjectComparison& comparison);
// The summary's first lines are money, the rest counts.
inline constexpr std::size_t kMoneyLines = 9;

// The table as a grid: headings in row 0, then the lines, each coloured by its change.
Grid comparisonGrid(const ProjectComparison& comparison, ComparisonTable table, bool onlyChanges);

// The grid of comparisonGrid as a workbook sheet whose differences are formulas of the two
// columns they compare.
SheetSource comparisonSheet(const Grid& grid, ComparisonTable table);

}  // namespace tf
