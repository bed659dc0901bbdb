#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/base/prompter.h"
#include "core/grid/grid.h"
#include "core/stats/filter_tree.h"
#include "core/stats/item_groups.h"
#include "core/structure/structure_snapshot.h"

namespace tf {

struct ProjectDocument;

enum class StatisticsView { AllMaterials, Division, Filtered };

inline constexpr std::string_view kAllMaterialsTitle = "所有材料统计表";
inline constexpr std::string_view kDivisionTitle = "分部分项统计表";
inline constexpr std::string_view kFilteredTitle = "筛选结果统计表";
inline constexpr std::string_view kNoViewTitle = "所有材料统计";
inline constexpr std::string_view kDivisionHeading = "分部分项";

// What a set of statistics was built from: the counts of the two tables' contents and the
// structure as they stood.
struct StatisticsSource {
    std::uint64_t analysis = 0;
    std::uint64_t materials = 0;
    StructureSnapshot structure;
};

// The statistics tab of one project: its three grids, the division and tick trees, the
// view shown and the statistic row of 统计表. Derived from the project and never saved.
struct Statistics {
    Grid summary;      // 统计表
    Grid itemSummary;  // 分统计表
    Grid cumulative;   // 累计统计表
    ItemStatGroups groups;
    DivisionTreeModel divisionTree;           // 树型框1
    std::optional<std::size_t> selectedNode;  // in divisionTree
    FilterTree filter;                        // 树型框2
    StatisticsView view = StatisticsView::AllMaterials;
    std::string title{kNoViewTitle};                // 标签2
    std::string divisionHeading{kDivisionHeading};  // 标签4
    std::optional<int> statisticRow;                // of 统计表
    // Statistics not built yet are built whole when first shown rather than kept up entry by
    // entry: a large project opens sooner. Nothing while they are not built.
    std::optional<StatisticsSource> source;
    bool built() const { return source.has_value(); }
};

// Blank grids and trees, as a new project starts.
void resetStatistics(Statistics& statistics);

// All three views from the analysis table again; the view shown keeps its place.
void rebuildStatistics(const ProjectDocument& document, Statistics& statistics, Prompter& prompter);

// Whether the tables or the structure changed since the statistics were built (false while
// they are not built).
bool statisticsStale(const ProjectDocument& document, const Statistics& statistics);

// The statistics are about to be shown (on screen, on paper, in a workbook): built when they
// are not yet, brought up to date when the project changed since. True when it did either.
bool ensureStatisticsCurrent(const ProjectDocument& document, Statistics& statistics,
                             Prompter& prompter);

// After the project changed (an entry, a price, a structure, an undo): the material list, the
// tick tree (ticks kept where their location and item remain) and the item groups again, and
// the view shown follows with its ticks and its division node. Nothing while the statistics
// are not built.
void updateStatistics(const ProjectDocument& document, Statistics& statistics, Prompter& prompter);

void chooseStatisticsView(const ProjectDocument& document, Statistics& statistics,
                          StatisticsView view, Prompter& prompter);

// The user selected a node of the division tree.
void selectDivisionNode(Statistics& statistics, std::size_t node, Prompter& prompter);

// The user changed a box of the tick tree.
void tickFilterLocation(const ProjectDocument& document, Statistics& statistics,
                        std::size_t location, Tick tick, Prompter& prompter);
void tickFilterItem(const ProjectDocument& document, Statistics& statistics, std::size_t location,
                    std::size_t item, bool ticked, Prompter& prompter);
// 全选 / 全不选 of the tick tree: every location at once, and the filter run once.
void tickEveryFilterLocation(const ProjectDocument& document, Statistics& statistics, bool ticked,
                             Prompter& prompter);

// Runs the filtered statistics for the ticks as they stand.
void applyStatisticsFilter(const ProjectDocument& document, Statistics& statistics,
                           Prompter& prompter);

// The two picture buttons of the tab: the division tree or the tick tree built again.
void rebuildDivisionTree(const ProjectDocument& document, Statistics& statistics,
                         Prompter& prompter);
void rebuildFilterTree(const ProjectDocument& document, Statistics& statistics, Prompter& prompter);

}  // namespace tf
