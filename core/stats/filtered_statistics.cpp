#include "core/stats/filtered_statistics.h"

#include <unordered_map>

#include "core/base/number_text.h"
#include "core/project/analysis_layout.h"
#include "core/stats/analysis_rows.h"
#include "core/stats/material_summary.h"
#include "core/stats/statistics_layout.h"

namespace tf {
namespace {

struct Place {
    std::size_t group;
    std::size_t cost;
    // The location block (its 序号) whose quantity the entry holds last, and that quantity.
    double block = -1;
    double blockQuantity = 0;
};

// The groups of the ticked items, and where each ticked item of the tree goes
// (places[location][item], nothing for unticked ones).
std::vector<LocationCostGroup> tickedGroups(
    const FilterTree& filter, std::vector<std::vector<std::optional<Place>>>& places) {
    std::vector<LocationCostGroup> groups;
    places.resize(filter.locations().size());
    for (std::size_t l = 0; l < filter.locations().size(); ++l) {
        const FilterLocation& location = filter.locations()[l];
        places[l].resize(location.items.size());
        for (std::size_t i = 0; i < location.items.size(); ++i) {
            const FilterItem& item = location.items[i];
            if (!item.ticked) {
                continue;
            }
            if (groups.empty() || groups.back().location != location.name) {
                groups.push_back({location.name, {}});
            }
            places[l][i] = Place{groups.size() - 1, groups.back().costs.size()};
            groups.back().costs.push_back({item.code});
        }
    }
    return groups;
}

void addFees(std::vector<LocationCostGroup>& groups, const ItemTable& items) {
    std::unordered_map<std::string_view, const ItemRow*> byCode;
    for (const ItemRow& row : items) {
        byCode.try_emplace(row.code, &row);
    }
    for (LocationCostGroup& group : groups) {
        for (LocationCost& cost : group.costs) {
            if (const auto it = byCode.find(cost.code); it != byCode.end()) {
                cost.labourPrice = parseNumber(it->second->labourPrice);
                cost.machinery = parseNumber(it->second->machineryFee);
                cost.management = parseNumber(it->second->managementFee);
            }
            cost.total = cost.materialCost + cost.workQuantity * cost.labourPrice + cost.machinery +
                         cost.management;
        }
    }
}

void fillCumulative(const std::vector<LocationCostGroup>& groups, Grid& g) {
    using namespace CumulativeColumn;
    int n = 0;
    for (const LocationCostGroup& group : groups) {
        n += static_cast<int>(group.costs.size());
    }
    layOutStatistics(g, StatisticsLayout::Cumulative, n + 2);
    int row = 1;
    for (const LocationCostGroup& group : groups) {
        const int first = row;
        for (const LocationCost& cost : group.costs) {
            g.setTexts(row, kLocation,
                       {group.location, cost.code, formatNumber(cost.materialCost),
                        formatNumber(cost.workQuantity), formatNumber(cost.labourPrice),
                        std::string_view(),  // 工费小计: the grid computes it
                        formatNumber(cost.machinery), formatNumber(cost.management),
                        formatNumber(cost.total)});
            ++row;
        }
        g.merge({first, kLocation, row - 1, kLocation});
    }
    addSubtotalRow(g, n + 1, kLocation, kCode,
                   {kMaterialCost, kLabourCost, kMachinery, kManagement, kTotal}, 1, n);
    g.recalculate();
}

}  // namespace

void buildFilteredStatistics(const Grid& analysis, const MaterialCatalogue& catalogue,
                             const ItemTable& items, const FilterTree& filter, Grid& cumulative,
                             Grid& summary) {
    if (!filter.anyTicked()) {
        layOutStatistics(cumulative, StatisticsLayout::Cumulative, kStatisticsFreshRows);
        layOutStatistics(summary, StatisticsLayout::Summary, kStatisticsFreshRows);
        return;
    }
    std::vector<std::vector<std::optional<Place>>> places;
    std::vector<LocationCostGroup> groups = tickedGroups(filter, places);
    MaterialSummaryList list;
    for (int r = kAnalysisHeadingRows; r < analysis.rowCount(); ++r) {
        const AnalysisUse use = readAnalysisUse(analysis, r);
        const auto node = filter.find(use.location, use.code);
        if (!node || !places[node->location][node->item]) {
            continue;
        }
        Place& place = *places[node->location][node->item];
        LocationCost& cost = groups[place.group].costs[place.cost];
        if (catalogueMaterial(catalogue, use.materialId)) {
            if (const MaterialSummaryRow* listed = list.add(use, catalogue)) {
                cost.materialCost += use.quantity * listed->price;
            }
        }
        // Rows of one block repeat the item's quantity; two blocks of one location add up.
        const double block = parseNumber(analysis.text(r, AnalysisColumn::kNumber));
        if (block != place.block) {
            place.block = block;
            place.blockQuantity = 0;
        }
        cost.workQuantity += use.workQuantity - place.blockQuantity;
        place.blockQuantity = use.workQuantity;
    }
    addFees(groups, items);
    fillCumulative(groups, cumulative);
    copySummaryToGrid(list, summary);
}

}  // namespace tf
