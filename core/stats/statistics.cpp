#include "core/stats/statistics.h"

#include "core/project/project_document.h"
#include "core/stats/analysis_rows.h"
#include "core/stats/filtered_statistics.h"
#include "core/stats/material_summary.h"
#include "core/stats/statistics_layout.h"

namespace tf {
namespace {

constexpr std::string_view kDoneStatus = "统计完毕";

Structure structureOf(const ProjectDocument& document) {
    auto structure = parseStructure(document.structure);
    return structure ? std::move(*structure) : Structure{};
}

void blankSummary(Statistics& s) {
    layOutStatistics(s.summary, StatisticsLayout::Summary, kStatisticsFreshRows);
    s.statisticRow.reset();
}

void blankCumulative(Statistics& s) {
    layOutStatistics(s.cumulative, StatisticsLayout::Cumulative, kStatisticsFreshRows);
}

void showAllMaterials(const ProjectDocument& document, Statistics& s, Prompter& prompter) {
    BusyCursor busy(prompter);
    prompter.setStatus("统计所有材料");
    copySummaryToGrid(buildMaterialSummary(document.analysis, document.catalogue), s.summary);
    s.statisticRow.reset();
    prompter.setStatus(kDoneStatus);
}

void showNode(Statistics& s, std::size_t node, Prompter& prompter) {
    BusyCursor busy(prompter);
    prompter.setStatus("统计分项材料");
    s.selectedNode = node < s.divisionTree.tree.size() ? std::optional(node) : std::nullopt;
    s.divisionHeading = showItemStatistics(s.divisionTree.tree, s.divisionTree.items, node,
                                           s.groups, s.itemSummary);
    prompter.setStatus(kDoneStatus);
}

void buildGroupsAndTree(const ProjectDocument& document, Statistics& s) {
    s.groups = buildItemGroups(document.analysis, document.catalogue);
    s.divisionTree = pruneDivisionTree(structureOf(document), s.groups);
    s.selectedNode.reset();
}

// The tick tree again, with the ticks of the items that are still there.
void buildTickTree(const ProjectDocument& document, Statistics& s) {
    const FilterTree before = std::move(s.filter);
    s.filter = buildFilterTree(document.analysis);
    if (!before.anyTicked()) {
        return;
    }
    const auto& locations = s.filter.locations();
    for (std::size_t l = 0; l < locations.size(); ++l) {
        for (std::size_t i = 0; i < locations[l].items.size(); ++i) {
            if (before.isTicked(locations[l].name, locations[l].items[i].code)) {
                s.filter.setItemTick(l, i, true);
            }
        }
    }
}

// Shows the node that was selected before the tree was built again, or the first node.
void reselectNode(Statistics& s, std::optional<std::size_t> sourceBefore, Prompter& prompter) {
    const auto& source = s.divisionTree.source;
    for (std::size_t i = 0; sourceBefore && i < source.size(); ++i) {
        if (source[i] == *sourceBefore) {
            showNode(s, i, prompter);
            return;
        }
    }
    showNode(s, 0, prompter);
}

std::optional<std::size_t> selectedSource(const Statistics& s) {
    if (!s.selectedNode || *s.selectedNode >= s.divisionTree.source.size()) {
        return std::nullopt;
    }
    return s.divisionTree.source[*s.selectedNode];
}

void recordSource(const ProjectDocument& document, Statistics& s) {
    s.source = StatisticsSource{document.analysis.contentRevision(),
                                document.materials.contentRevision(), document.structure};
}

}  // namespace

void resetStatistics(Statistics& s) {
    s = Statistics{};
    blankSummary(s);
    layOutStatistics(s.itemSummary, StatisticsLayout::Division, kStatisticsFreshRows);
    blankCumulative(s);
}

void rebuildStatistics(const ProjectDocument& document, Statistics& s, Prompter& prompter) {
    BusyCursor busy(prompter);
    recordSource(document, s);
    showAllMaterials(document, s, prompter);
    buildGroupsAndTree(document, s);
    s.filter = buildFilterTree(document.analysis);
    switch (s.view) {
        case StatisticsView::AllMaterials:
            layOutStatistics(s.itemSummary, StatisticsLayout::Division, kStatisticsFreshRows);
            blankCumulative(s);
            s.title = kAllMaterialsTitle;  // the view shows them now, as if chosen
            break;
        case StatisticsView::Division:
            blankSummary(s);
            blankCumulative(s);
            showNode(s, 0, prompter);
            break;
        case StatisticsView::Filtered:
            blankSummary(s);
            blankCumulative(s);
            break;
    }
}

bool statisticsStale(const ProjectDocument& document, const Statistics& s) {
    return s.source && (s.source->analysis != document.analysis.contentRevision() ||
                        s.source->materials != document.materials.contentRevision() ||
                        s.source->structure != document.structure);
}

bool ensureStatisticsCurrent(const ProjectDocument& document, Statistics& s, Prompter& prompter) {
    if (!s.built()) {
        rebuildStatistics(document, s, prompter);
        return true;
    }
    if (!statisticsStale(document, s)) {
        return false;
    }
    updateStatistics(document, s, prompter);
    return true;
}

void updateStatistics(const ProjectDocument& document, Statistics& s, Prompter& prompter) {
    if (!s.built()) {
        return;
    }
    BusyCursor busy(prompter);
    recordSource(document, s);
    if (s.view == StatisticsView::AllMaterials) {
        showAllMaterials(document, s, prompter);
    }
    buildTickTree(document, s);
    if (s.view == StatisticsView::Filtered) {
        applyStatisticsFilter(document, s, prompter);
    }
    const auto source = selectedSource(s);
    buildGroupsAndTree(document, s);
    if (s.view == StatisticsView::Division) {
        reselectNode(s, source, prompter);
    }
}

void chooseStatisticsView(const ProjectDocument& document, Statistics& s, StatisticsView view,
                          Prompter& prompter) {
    s.view = view;
    switch (view) {
        case StatisticsView::AllMaterials:
            s.title = kAllMaterialsTitle;
            showAllMaterials(document, s, prompter);
            break;
        case StatisticsView::Division:
            s.title = kDivisionTitle;
            if (!s.selectedNode && !s.divisionTree.tree.empty()) {
                showNode(s, 0, prompter);
            }
            break;
        case StatisticsView::Filtered:
            s.title = kFilteredTitle;
            applyStatisticsFilter(document, s, prompter);
            break;
    }
}

void selectDivisionNode(Statistics& s, std::size_t node, Prompter& prompter) {
    showNode(s, node, prompter);
}

void applyStatisticsFilter(const ProjectDocument& document, Statistics& s, Prompter& prompter) {
    BusyCursor busy(prompter);
    prompter.setStatus("筛选统计");
    buildFilteredStatistics(document.analysis, document.catalogue, structureOf(document).items,
                            s.filter, s.cumulative, s.summary);
    s.statisticRow.reset();
    prompter.setStatus(kDoneStatus);
}

void tickFilterLocation(const ProjectDocument& document, Statistics& s, std::size_t location,
                        Tick tick, Prompter& prompter) {
    s.filter.setLocationTick(location, tick);
    applyStatisticsFilter(document, s, prompter);
}

void tickFilterItem(const ProjectDocument& document, Statistics& s, std::size_t location,
                    std::size_t item, bool ticked, Prompter& prompter) {
    s.filter.setItemTick(location, item, ticked);
    applyStatisticsFilter(document, s, prompter);
}

void tickEveryFilterLocation(const ProjectDocument& document, Statistics& s, bool ticked,
                             Prompter& prompter) {
    BusyCursor busy(prompter);
    s.filter.setEveryTick(ticked);
    applyStatisticsFilter(document, s, prompter);
}

void rebuildDivisionTree(const ProjectDocument& document, Statistics& s, Prompter& prompter) {
    BusyCursor busy(prompter);
    const auto source = selectedSource(s);
    buildGroupsAndTree(document, s);
    if (s.view == StatisticsView::Division) {
        reselectNode(s, source, prompter);
    }
}

void rebuildFilterTree(const ProjectDocument& document, Statistics& s, Prompter& prompter) {
    BusyCursor busy(prompter);
    buildTickTree(document, s);
    if (s.view == StatisticsView::Filtered) {
        applyStatisticsFilter(document, s, prompter);
    }
}

}  // namespace tf
