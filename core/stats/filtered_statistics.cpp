#include "core/stats/filtered_statistics.h"

#include <algorithm>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/base/number_text.h"
#include "core/project/analysis_layout.h"
#include "core/stats/analysis_rows.h"
#include "core/stats/material_summary.h"
#include "core/stats/statistics_layout.h"

namespace tf {
namespace {

// What the analysis rows add up to for one work item at one location of the tree.
struct ItemCost {
    double materialCost = 0;
    double workQuantity = 0;
    // The location block (its 序号) whose quantity the item holds last, and that quantity.
    double block = -1;
    double blockQuantity = 0;
};

// The items of every location side by side: location l's items start at first[l].
std::vector<std::size_t> firstItems(const FilterTree& filter) {
    std::vector<std::size_t> first(filter.locations().size() + 1, 0);
    for (std::size_t l = 0; l < filter.locations().size(); ++l) {
        first[l + 1] = first[l] + filter.locations()[l].items.size();
    }
    return first;
}

// An item's fees, as numbers and as the texts the table shows: read and written once per
// code rather than once per location.
struct Fees {
    double labourPrice = 0;
    double machinery = 0;
    double management = 0;
    std::string labourPriceText = "0";
    std::string machineryText = "0";
    std::string managementText = "0";
};

class FeesByCode {
  public:
    explicit FeesByCode(const ItemTable& items) {
        for (const ItemRow& row : items) {
            if (rows_.contains(row.code)) {
                continue;  // the first record with the code counts
            }
            Fees fees{parseNumber(row.labourPrice), parseNumber(row.machineryFee),
                      parseNumber(row.managementFee)};
            fees.labourPriceText = formatNumber(fees.labourPrice);
            fees.machineryText = formatNumber(fees.machinery);
            fees.managementText = formatNumber(fees.management);
            rows_.emplace(row.code, std::move(fees));
        }
    }
    const Fees& operator()(std::string_view code) const {
        const auto it = rows_.find(code);
        return it != rows_.end() ? it->second : none_;
    }

  private:
    std::unordered_map<std::string_view, Fees> rows_;
    Fees none_;
};

// One row per ticked item, in the tree's order, the location merged over its items; then
// "小计：". 工费小计 is written as the grid computes it, so only the sums are left to do.
void fillCumulative(const FilterTree& filter, const std::vector<std::size_t>& first,
                    const std::vector<ItemCost>& costs, const FeesByCode& fees, Grid& g) {
    using namespace CumulativeColumn;
    int n = 0;
    for (const FilterLocation& location : filter.locations()) {
        n += static_cast<int>(std::count_if(location.items.begin(), location.items.end(),
                                            [](const FilterItem& i) { return i.ticked; }));
    }
    layOutLongStatistics(g, StatisticsLayout::Cumulative, n + 2);
    int row = 1;
    for (std::size_t l = 0; l < filter.locations().size(); ++l) {
        const FilterLocation& location = filter.locations()[l];
        const int top = row;
        for (std::size_t i = 0; i < location.items.size(); ++i) {
            if (!location.items[i].ticked) {
                continue;
            }
            const ItemCost& cost = costs[first[l] + i];
            const Fees& fee = fees(location.items[i].code);
            const double total = cost.materialCost + cost.workQuantity * fee.labourPrice +
                                 fee.machinery + fee.management;
            const std::string quantity = formatNumber(cost.workQuantity);
            writeStatisticsRow(
                g, row,
                {location.name, location.items[i].code, formatNumber(cost.materialCost), quantity,
                 fee.labourPriceText, productText(quantity, fee.labourPriceText), fee.machineryText,
                 fee.managementText, formatNumber(total)});
            ++row;
        }
        if (row > top) {
            g.merge({top, kLocation, row - 1, kLocation});
        }
    }
    writeStatisticsRow(g, n + 1, {});
    addSubtotalRow(g, n + 1, kLocation, kCode,
                   {kMaterialCost, kLabourCost, kMachinery, kManagement, kTotal}, 1, n);
    g.recalculateSums();
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
    const std::vector<std::size_t> first = firstItems(filter);
    std::vector<ItemCost> costs(first.back());
    MaterialSummaryList list;
    // The rows of a block share its 序号: it is read once per block.
    std::string_view numberText;
    double number = 0;
    for (int r = kAnalysisHeadingRows; r < analysis.rowCount(); ++r) {
        // Most rows belong to unticked locations: their numbers are not read at all.
        const auto node = filter.find(analysis.text(r, AnalysisColumn::kLocation),
                                      analysis.text(r, AnalysisColumn::kItemCode));
        if (!node || !filter.locations()[node->location].items[node->item].ticked) {
            continue;
        }
        const AnalysisUse use = readAnalysisUse(analysis, r);
        ItemCost& cost = costs[first[node->location] + node->item];
        if (catalogueMaterial(catalogue, use.materialId)) {
            if (const MaterialSummaryRow* listed = list.add(use, catalogue)) {
                cost.materialCost += use.quantity * listed->price;
            }
        }
        // Rows of one block repeat the item's quantity; two blocks of one location add up.
        if (const std::string_view text = analysis.text(r, AnalysisColumn::kNumber);
            text != numberText) {
            numberText = text;
            number = parseNumber(text);
        }
        if (number != cost.block) {
            cost.block = number;
            cost.blockQuantity = 0;
        }
        cost.workQuantity += use.workQuantity - cost.blockQuantity;
        cost.blockQuantity = use.workQuantity;
    }
    fillCumulative(filter, first, costs, FeesByCode(items), cumulative);
    copySummaryToGrid(list, summary);
}

}  // namespace tf
