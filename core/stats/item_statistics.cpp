#include <algorithm>

#include "core/base/number_text.h"
#include "core/stats/item_groups.h"
#include "core/stats/statistics_layout.h"
#include "core/structure/codes.h"

namespace tf {
namespace {

struct Fees {
    double labourPrice = 0;
    double machinery = 0;
    double management = 0;
};

Fees feesOf(const ItemTable& items, std::size_t node) {
    if (node >= items.size()) {
        return {};
    }
    const ItemRow& row = items[node];
    return {parseNumber(row.labourPrice), parseNumber(row.machineryFee),
            parseNumber(row.managementFee)};
}

double materialCost(const ItemStatGroup& group) {
    double cost = 0;
    for (const ItemStatElement& e : group.elements) {
        cost += e.quantity * e.price;
    }
    return cost;
}

// 合计 of each row from 1 to last: the sum of the row's cost columns as the grid holds them.
void writeRowTotals(Grid& g, int last, int totalColumn, std::initializer_list<int> costColumns) {
    g.recalculate();
    for (int r = 1; r <= last; ++r) {
        double total = 0;
        for (const int c : costColumns) {
            total += parseNumber(g.text(r, c));
        }
        g.setText(r, totalColumn, formatNumber(total));
    }
    g.recalculate();
}

std::string showWorkItem(const ItemTable& items, std::size_t node, const std::string& code,
                         const ItemStatGroups& groups, Grid& g) {
    using namespace ItemColumn;
    const ItemStatGroup* group = groups.find(code);
    if (group == nullptr || group->elements.empty()) {
        layOutStatistics(g, StatisticsLayout::Item, kStatisticsFreshRows);
        return "分部分项：" + code;
    }
    const int n = static_cast<int>(group->elements.size());
    layOutStatistics(g, StatisticsLayout::Item, n + 2);
    for (int j = 1; j <= n; ++j) {
        const ItemStatElement& e = group->elements[static_cast<std::size_t>(j - 1)];
        g.setText(j, kName, e.name);
        g.setText(j, kQuantity, formatNumber(e.quantity));
        g.setText(j, kUnit, e.unit);
        g.setText(j, kPrice, formatNumber(e.price));
    }
    const Fees fees = feesOf(items, node);
    g.setText(1, kWorkQuantity, formatNumber(group->elements.front().workQuantity));
    g.setText(1, kLabourPrice, formatNumber(fees.labourPrice));
    g.setText(1, kMachinery, formatNumber(fees.machinery));
    g.setText(1, kManagement, formatNumber(fees.management));
    addSubtotalRow(g, n + 1, kName, kPrice,
                   {kMaterialCost, kLabourCost, kMachinery, kManagement, kTotal}, 1, n);
    writeRowTotals(g, n, kTotal, {kMaterialCost, kLabourCost, kMachinery, kManagement});
    return "分部分项：" + code;
}

// The work items among the nodes [first, end) of the tree.
void showDivision(const DivisionTree& tree, const ItemTable& items, std::size_t first,
                  std::size_t end, const ItemStatGroups& groups, Grid& g) {
    using namespace DivisionColumn;
    struct Line {
        std::string code;
        double materialCost;
        double workQuantity;
        Fees fees;
    };
    std::vector<Line> lines;
    for (std::size_t i = first; i < std::min(end, tree.size()); ++i) {
        if (!isWorkItem(tree, i)) {
            continue;
        }
        std::string code = itemCodeOfNode(tree, i);
        const ItemStatGroup* group = groups.find(code);
        if (group != nullptr && !group->elements.empty()) {
            lines.push_back({std::move(code), materialCost(*group),
                             group->elements.front().workQuantity, feesOf(items, i)});
        }
    }
    const int n = static_cast<int>(lines.size());
    layOutStatistics(g, StatisticsLayout::Division, n + 2);
    for (int r = 1; r <= n; ++r) {
        const Line& line = lines[static_cast<std::size_t>(r - 1)];
        g.setText(r, kCode, line.code);
        g.setText(r, kMaterialCost, formatNumber(line.materialCost));
        g.setText(r, kWorkQuantity, formatNumber(line.workQuantity));
        g.setText(r, kLabourPrice, formatNumber(line.fees.labourPrice));
        g.setText(r, kMachinery, formatNumber(line.fees.machinery));
        g.setText(r, kManagement, formatNumber(line.fees.management));
    }
    addSubtotalRow(g, n + 1, kCode, kCode,
                   {kMaterialCost, kLabourCost, kMachinery, kManagement, kTotal}, 1, n);
    writeRowTotals(g, n, kTotal, {kMaterialCost, kLabourCost, kMachinery, kManagement});
}

}  // namespace

std::string showItemStatistics(const DivisionTree& tree, const ItemTable& items, std::size_t node,
                               const ItemStatGroups& groups, Grid& itemSummary) {
    if (node < tree.size() && isWorkItem(tree, node)) {
        return showWorkItem(items, node, itemCodeOfNode(tree, node), groups, itemSummary);
    }
    if (node < tree.size() && tree[node].level <= 2) {
        std::size_t end = node + 1;
        while (end < tree.size() && tree[end].level > tree[node].level) {
            ++end;
        }
        showDivision(tree, items, node + 1, end, groups, itemSummary);
    } else {
        layOutStatistics(itemSummary, StatisticsLayout::Division, kStatisticsFreshRows);
    }
    return "分部分项";
}

void showWholeStructure(const DivisionTree& tree, const ItemTable& items,
                        const ItemStatGroups& groups, Grid& itemSummary) {
    showDivision(tree, items, 0, tree.size(), groups, itemSummary);
}

}  // namespace tf
